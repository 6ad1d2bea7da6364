#include <gtest/gtest.h>

#include <string>

#include "core/log.h"
#include "records/record_io.h"
#include "records/sjis.h"
#include "records/text_format.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

std::string written(const GameRecord& r) {
  SgfBuf buf;
  write_text(r, buf);
  return buf.text;
}

TEST(TextWrite, LayoutMovesPassAndLineBreaks) {
  GameRecord r;
  r.reset();
  r.main.info.date[0] = "2013/04/11";
  r.main.info.black[0] = "B";
  r.main.info.winner[0] = "W";
  r.main.info.winner[1] = "C";
  r.main.append_move(at(4, 4), 1);
  r.main.append_move(0, 2);
  std::string text = written(r);
  std::string expected = "#COMMENT\r\n" + utf8_to_cp932("#--- 棋譜ファイル（PELLAMと互換性あり）---\r\n#対局日 2013-04-11\r\n") +
                         "PLAYER_BLACK B\r\nPLAYER_WHITE \r\nRESULT W+R\r\nINT 19 0\r\nMOV\r\n D04 A00 -\r\n";
  EXPECT_EQ(text, expected);

  for (int i = 2; i < 20; i++) r.main.append_move(at(1 + i % 19, 10), 1 + i % 2);
  text = written(r);
  size_t mov = text.find("MOV\r\n") + 5;
  std::string moves = text.substr(mov);
  EXPECT_EQ(moves.find("\r\n"), 19u * 4);
  EXPECT_EQ(moves.substr(19 * 4 + 2), " A10 -\r\n");
  EXPECT_EQ(text_column_letter(9), 'J');
}

TEST(TextRead, HandicapHeaderNamesAndColumns) {
  GameRecord r;
  ASSERT_EQ(read_record(FORMAT_TEXT, "PLAYER_BLACK  Honinbo \r\nINT 9 2\r\nMOV\r\n J05 A00 C03 -\r\n", r, true), LOAD_OK);
  EXPECT_EQ(r.main.b_size, 9);
  EXPECT_EQ(r.main.initial_board[at(3, 7)], 1);
  EXPECT_EQ(r.main.initial_board[at(7, 3)], 1);
  EXPECT_EQ(r.main.info.black[0], "Honinbo");
  ASSERT_EQ(r.main.move_count, 3);
  EXPECT_EQ(r.main.moves[0].color, 2);
  EXPECT_EQ(r.main.moves[0].z, at(9, 5));
  EXPECT_EQ(r.main.moves[1].z, 0);
  EXPECT_EQ(r.main.moves[2].color, 2);

  read_record(FORMAT_TEXT, utf8_to_cp932("黒：本因坊\r\nWHITE:Meijin\r\nMOV\r\n J10 D04\r\n"), r, true);
  EXPECT_EQ(r.main.info.black[0], utf8_to_cp932("本因坊"));
  EXPECT_EQ(r.main.info.white[0], "Meijin");
  EXPECT_EQ(r.main.moves[0].z, at(9, 10));

  log_clear();
  read_record(FORMAT_TEXT, "INT 9 0\r\n D04\r\n", r, true);
  EXPECT_EQ(r.main.move_count, 0);
  EXPECT_NE(log_text().find("MOV が見つからない"), std::string::npos);
  // A move off the board ends the list; a file ending inside a move is harmless.
  read_record(FORMAT_TEXT, "INT 9 0\r\nMOV\r\n D04 T19 C03", r, true);
  EXPECT_EQ(r.main.move_count, 1);
  read_record(FORMAT_TEXT, "MOV\r\n D04 C0", r, true);
  EXPECT_EQ(r.main.move_count, 1);
}

TEST(TextRoundTrip, MovesAndPlayersSurvive) {
  GameRecord a;
  read_record(FORMAT_TEXT, "PLAYER_BLACK b\r\nPLAYER_WHITE w\r\nINT 13 4\r\nMOV\r\n G07 C03 A00 M13 -\r\n", a, true);
  GameRecord b;
  read_record(FORMAT_TEXT, written(a), b, true);
  ASSERT_EQ(b.main.move_count, 4);
  for (int i = 0; i < 4; i++) EXPECT_EQ(b.main.moves[i].z, a.main.moves[i].z);
  EXPECT_EQ(b.main.info.nHand, 4);
  EXPECT_EQ(b.main.info.white[0], "w");
}

std::string ngf(const std::string& handicap, const std::string& komi, const std::string& result,
                const std::string& moves) {
  return "title\r\n9\r\nwhite\r\nblack\r\nx\r\n" + handicap + "\r\nx\r\n" + komi + "\r\n2001-01-01\r\nx\r\n" + result +
         "\r\nx\r\n" + moves;
}

TEST(NgfRead, HeaderKomiResultAndMoves) {
  GameRecord r;
  read_record(FORMAT_NGF, ngf("0", "6", utf8_to_cp932("白3目勝ち"), "PMABBCCxx\r\nPMACWGGxx\r\n"), r, true);
  EXPECT_EQ(r.main.b_size, 9);
  EXPECT_DOUBLE_EQ(r.main.info.komi, 6.5);
  EXPECT_EQ(r.main.info.black[0], "black");
  EXPECT_EQ(r.main.info.title[1], "title");
  EXPECT_EQ(r.main.info.winner[0], "W+");
  EXPECT_EQ(r.main.info.winner[1], "3.0");
  ASSERT_EQ(r.main.move_count, 2);
  EXPECT_EQ(r.main.moves[0].z, at(2, 2));
  EXPECT_EQ(r.main.moves[1].color, 2);

  read_record(FORMAT_NGF, ngf("3", "0", utf8_to_cp932("黒中押し勝ち"), "PMABBCC\r\n"), r, true);
  EXPECT_EQ(r.main.info.winner[0], "B+R");
  EXPECT_EQ(r.main.info.winner[1], "C");
  EXPECT_EQ(r.main.initial_board[at(3, 3)], 1);  // the alternative three-stone placement
  EXPECT_DOUBLE_EQ(r.main.info.komi, 0);
  EXPECT_EQ(r.main.move_count, 0);  // the short line ended the moves

  read_record(FORMAT_NGF, ngf("0", "0", "", "PMABBZZxx\r\nPMABBCCxx\r\n"), r, true);
  EXPECT_EQ(r.main.move_count, 0);
  read_record(FORMAT_NGF, "only\r\n9\r\n", r, true);
  EXPECT_EQ(r.main.b_size, 9);
}

}  // namespace
