#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/log.h"
#include "records/record_io.h"
#include "records/sgf.h"
#include "records/sjis.h"
#include "records/ugf.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

GameRecord read(const std::string& text, int* result = nullptr) {
  GameRecord r;
  r.reset();
  int ok = read_ugf(text, r);
  if (result) *result = ok;
  complete_load(r, true);
  return r;
}

std::string written(const GameRecord& r) {
  SgfBuf buf;
  write_ugf(r, buf);
  EXPECT_FALSE(buf.overflow);
  return buf.text;
}

TEST(UgfWrite, DataLinesForMovesAndPasses) {
  GameRecord r;
  r.reset();
  r.main.append_move(at(16, 4), 1);
  r.main.append_move(0, 2);
  std::string text = written(r);
  EXPECT_NE(text.find("[Data]\r\nPD,B1,1,0\r\nYA,W1,2,0\r\n[Figure]\r\n"), std::string::npos);
  EXPECT_NE(text.find("Hdcp=0,6.5\r\n"), std::string::npos);
}

TEST(UgfRead, HeaderKeys) {
  GameRecord r = read(
      "[Header]\r\nSize=9\r\nRule=CHN\r\nHdcp=2,0.5\r\nWinner=W,6.50\r\nComment=one,two\r\n"
      "PlayerB=b,3d,x\r\nTitle=t1,t2,t3\r\nDate=2011/04/13,a,b,c\r\n[Data]\r\n");
  EXPECT_EQ(r.main.b_size, 9);
  EXPECT_EQ(r.main.info.rule, "Chinese");
  EXPECT_EQ(r.main.info.nHand, 2);
  EXPECT_DOUBLE_EQ(r.main.info.komi, 0.5);
  EXPECT_EQ(r.main.info.winner[1], "6.5");
  EXPECT_EQ(r.main.info.comment, "one");
  EXPECT_EQ(r.main.info.black[1], "3d");
  EXPECT_EQ(r.main.info.title[2], "t3");
  EXPECT_EQ(r.main.info.date[3], "c");
  EXPECT_EQ(read("Size=25\r\n").main.b_size, 19);
  EXPECT_EQ(read("Winner=B,C\r\n").main.result_text(), "黒 中押し勝ち");
}

// As record servers write them: review sections after [Data], an e-mail
// field after the rank, a negative komi; with CR LF and with LF line ends.
std::string server_ugf(const char* eol) {
  std::string lines[] = {"[Header]", "Ver=UGF3,200", "Size=19", "Hdcp=0,-6.5", "PlayerB=kuro,5d,kuro@example.jp,x",
                         "PlayerW=shiro,4d,shiro@example.jp", "Winner=W,C", "[Data]", "PD,B1,1,0", "DP,W1,2,0",
                         "QQ,B1,3,0", "YA,W1,4,0", "[ReviewNode]", "NODE,1,0,0,0", "NODE,2,1,0,0", "[ReviewComment]",
                         "DD,B1,1,0 is not a move", "Comment=review text", "[Figure]", ".Fig,1,1,1,19,19,解説譜,1,0",
                         "CC,W1,1,0", ".Text", "ref", ".EndText", ".EndFig", "[ReviewData]", "NODE,3,0,0,0"};
  std::string text;
  for (const std::string& l : lines) text += l + eol;
  return text;
}

TEST(UgfRead, UnknownSectionsAfterDataKeepTheWholeMainLine) {
  for (const char* eol : {"\r\n", "\n"}) {
    int ok = 0;
    GameRecord r = read(server_ugf(eol), &ok);
    EXPECT_EQ(ok, 1);
    ASSERT_EQ(r.main.move_count, 4);
    EXPECT_EQ(r.main.moves[2].z, at(17, 17));
    EXPECT_EQ(r.main.moves[3].z, 0);
    EXPECT_DOUBLE_EQ(r.main.info.komi, -6.5);
    EXPECT_EQ(r.main.info.black[1], "5d");
    EXPECT_EQ(r.main.info.black[2], "kuro@example.jp");
    EXPECT_EQ(r.main.info.white[0], "shiro");
    // Keys inside a review section are the review's, not the game's.
    EXPECT_TRUE(r.main.info.comment.empty());
    ASSERT_EQ(r.figures.size(), 1u);
    EXPECT_EQ(r.figures[0].move_count, 1);
    EXPECT_EQ(r.figures[0].text, "ref\n");
  }
  // A [Header] after the data is the header again: its keys are read.
  GameRecord again = read("[Data]\nPD,B1,1,0\n[Remote]\nPlace=Tokyo\n[Data]\nDP,W1,2,0\n");
  EXPECT_EQ(again.main.move_count, 2);
  EXPECT_EQ(again.main.info.place, "Tokyo");
}

TEST(UgfRead, IgsRowsAndDataErrors) {
  GameRecord r = read("Size=19\r\nCoordinateType=IGS\r\n[Data]\r\nAA,B1,1,0\r\n");
  ASSERT_EQ(r.main.move_count, 1);
  EXPECT_EQ(r.main.moves[0].z, at(1, 19));
  int result = 1;
  log_clear();
  r = read("Size=9\r\n[Data]\r\nCC,B1,1,0\r\nZZ,W1,2,0\r\nDD,B1,3,0\r\n", &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(r.main.move_count, 1);
  EXPECT_NE(log_text().find("(x,y)=26,26"), std::string::npos);
  r = read("[Data]\r\nCC,X1,1,0\r\n", &result);
  EXPECT_EQ(result, 0);
  // Short and marker lines are skipped; setup stones go to the initial position.
  r = read("[Data]\r\nCC\r\nDD,W1,0,0\r\nEE,MK,0,0\r\nCC,B1,1,0\r\n", &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(r.main.initial_board[at(4, 4)], 2);
  EXPECT_EQ(r.main.move_count, 1);
}

TEST(UgfRead, PhotoLinesThenSectionChange) {
  std::string hex;
  for (int i = 0; i < 200; i++) hex += "A5";
  GameRecord r = read("PhotoB=pb\r\n[Files]\r\npb=" + hex + "\r\n[Data]\r\nCC,B1,1,0\r\n");
  EXPECT_EQ(r.main.info.photos[PHOTO_BLACK], std::string(200, '\xA5'));
  EXPECT_EQ(r.main.move_count, 1);
}

TEST(UgfRead, FiguresWithTextLabelsAndNumbers) {
  std::string label = utf8_to_cp932("あ");
  GameRecord r = read("Size=9\r\n[Data]\r\nCC,B1,1,0\r\nGG,W1,2,0\r\n[Figure]\r\n.Fig,1,1,1,9,9,x,1,0\r\n"
                      "EE,W1,12,0\r\nFF,B1,13,0\r\nAA,B1," + label + ",0\r\n.Text\r\nline one\r\n.#,2,2, B\r\n.#,3,3," +
                      label + "\r\n.#,30,3,X\r\nline two\r\n.EndText\r\n.EndFig\r\n.Fig,0\r\n.Text\r\nzero\r\n.EndText\r\n.EndFig\r\n");
  ASSERT_EQ(r.figures.size(), 2u);
  const Figure& f = r.figures[0];
  EXPECT_EQ(f.anchor_move, 1);
  EXPECT_EQ(f.first_number, 12);
  EXPECT_EQ(f.move_count, 2);
  EXPECT_EQ(f.initial_board[at(3, 3)], 1);
  EXPECT_EQ(f.initial_board[at(7, 7)], 0);
  EXPECT_EQ(f.text, "line one\nline two\n");
  EXPECT_EQ(f.labels[at(2, 2)], 'B');
  EXPECT_EQ(f.labels[at(3, 3)], 0x82A0);
  EXPECT_EQ(f.labels[at(1, 1)], 0x82A0);
  EXPECT_EQ(r.figures[1].text, "zero\n");
}

TEST(UgfWrite, FigureTextGetsFinalLineEnd) {
  GameRecord r;
  r.reset();
  Figure& f = r.annotation_at(0);
  f.text = "a\nb";
  f.labels[at(2, 3)] = 'Q';
  std::string text = written(r);
  EXPECT_NE(text.find(".Text\r\na\r\nb\r\n.#,2,3, Q\r\n.EndText\r\n.EndFig\r\n"), std::string::npos);
}

// A comment line the reader would take for a control line is escaped with a
// blank and reads back as the same text: no text ends early, no text line
// becomes a label, a move or a figure.
TEST(UgfRoundTrip, TextLinesThatLookLikeControlLinesReadBackAsText) {
  const char* const kLines[] = {".EndText", ".EndFig", ".Fig,0,1,1,19,19,x,1,0", ".Text", ".#,3,4, A",
                                " .EndText", "  .#,1,1,B", "AA,B1,1,0", "...", ". EndText", "[Data]", "after"};
  std::string text, expected;
  for (const char* line : kLines) text += std::string(line) + "\r\n", expected += std::string(line) + "\n";
  GameRecord r;
  r.reset();
  r.main.set_size(9);
  r.main.append_move(at(3, 3), 1);
  r.main.info.comment = "x\r\n[Data]\r\nEE,B1,2,0";  // a header value is one line
  r.annotation_at(1).text = text;
  r.annotation_at(0).text = "old\rmac\r.EndText\rBB,W1,1,0";
  complete_load(r, true);

  std::string first = written(r);
  int result = 0;
  GameRecord back = read(first, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(back.main.move_count, 1);
  EXPECT_EQ(back.main.info.comment, "x  [Data]  EE");
  ASSERT_EQ(back.figures.size(), 2u);
  EXPECT_EQ(back.figures[0].text, expected);
  EXPECT_EQ(back.figures[1].text, "old\nmac\n.EndText\nBB,W1,1,0\n");
  for (const Figure& f : back.figures) {
    EXPECT_EQ(f.move_count, 0);
    EXPECT_EQ(std::count_if(f.labels, f.labels + FIGURE_POINTS, [](int32_t l) { return l != 0; }), 0);
  }
  EXPECT_EQ(written(read(written(back))), written(back));

  // The same comment through SGF -> UGF -> SGF.
  SgfBuf sgf;
  write_sgf(r, sgf);
  GameRecord from_sgf;
  from_sgf.reset();
  ASSERT_TRUE(read_sgf(sgf.text, from_sgf));
  complete_load(from_sgf, true);
  GameRecord again = read(written(from_sgf));
  SgfBuf sgf_again;
  write_sgf(again, sgf_again);
  EXPECT_EQ(again.main.move_count, 1);
  EXPECT_NE(sgf_again.text.find(".#,3,4, A\r\n"), std::string::npos);
  EXPECT_NE(sgf_again.text.find(";B[cc]"), std::string::npos);
}

GameRecord sample() {
  GameRecord r;
  r.reset();
  Figure& m = r.main;
  m.set_size(13);
  m.place_handicap(4);
  GameInfo& g = m.info;
  g.black[0] = utf8_to_cp932("黒番");
  g.black[1] = "5d";
  g.white[0] = "white";
  g.title[0] = "Cup";
  g.title[2] = "Game 1";
  g.place = "Osaka";
  g.date[0] = "2013-04-11";
  g.winner[0] = "W";
  g.winner[1] = "6.5";
  g.komi = 0.5;
  g.copyright = "c";
  g.writer = "recorder";
  m.append_move(at(7, 7), 2);
  m.append_move(at(3, 10), 1);
  m.append_move(0, 2);
  m.append_move(at(11, 11), 1);
  m.goto_move(m.move_count);
  Figure& note = r.annotation_at(2);
  note.text = utf8_to_cp932("解説\r\n二行目");
  note.labels[at(5, 5)] = LABEL_TRIANGLE;
  note.labels[at(6, 5)] = 'a';
  Figure& var = r.annotation_at(1);
  var.append_move(at(2, 2), 1);
  var.append_move(at(12, 12), 2);
  var.text = "variation";
  complete_load(r, false);
  return r;
}

// Moves, setup, labels, comments, reference figures and game information
// survive a second UGF write and UGF -> SGF -> UGF.
TEST(UgfRoundTrip, TextIsStableAndThroughSgfKeepsTheRecord) {
  GameRecord a = sample();
  std::string first = written(a);
  EXPECT_EQ(written(read(first)), first);
  SgfBuf sgf;
  write_sgf(a, sgf);
  GameRecord b;
  b.reset();
  ASSERT_TRUE(read_sgf(sgf.text, b));
  complete_load(b, false);
  EXPECT_EQ(written(b), first);
}

}  // namespace
