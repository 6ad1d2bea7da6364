#include <gtest/gtest.h>

#include <cstring>

#include "editor/clipboard_text.h"
#include "records/sjis.h"
#include "records/ugf.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

GameRecord small_game() {
  GameRecord rec;
  rec.reset();
  rec.main.set_size(9);
  rec.main.append_move(at(3, 3), 1);
  rec.main.append_move(at(7, 7), 2);
  rec.main.goto_move(2);
  return rec;
}

TEST(PositionDiagram, SmallPositionByteForByte) {
  GameRecord rec = small_game();
  const char* expected =
      "黒2手 Ｇ-７ まで  ハマ 黒0子  白0子\r\n"
      "  ＡＢＣＤＥＦＧＨＪ\r\n"
      "１┌┬┬┬┬┬┬┬┐\r\n"
      "２├┼┼┼┼┼┼┼┤\r\n"
      "３├┼●┼┼┼┼┼┤\r\n"
      "４├┼┼┼┼┼┼┼┤\r\n"
      "５├┼┼┼┼┼┼┼┤\r\n"
      "６├┼┼┼┼┼┼┼┤\r\n"
      "７├┼┼┼┼┼☆┼┤\r\n"
      "８├┼┼┼┼┼┼┼┤\r\n"
      "９└┴┴┴┴┴┴┴┘\r\n";
  EXPECT_EQ(position_diagram(rec.main), utf8_to_cp932(expected));
}

TEST(PositionDiagram, PassSideAndPrisonersAndTheLargestBoardFit) {
  GameRecord rec;
  rec.reset();
  rec.main.set_size(19);
  // White's stone at the corner is taken: one prisoner for black.
  for (int z : {at(19, 18), at(19, 19), at(18, 19), 0}) rec.main.append_move(z, 1 + rec.main.move_count % 2);
  rec.main.goto_move(3);
  std::string text = cp932_to_utf8(position_diagram(rec.main));
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "白3手 Ｓ-19 まで  ハマ 黒1子  白0子");
  EXPECT_NE(text.find("19└┴┴┴┴┴┴┴┴┴┴┴┴┴┴┴┴★┘\r\n"), std::string::npos);
  EXPECT_LT(position_diagram(rec.main).size(), size_t(DIAGRAM_TEXT_MAX));
  rec.main.goto_move(4);
  text = cp932_to_utf8(position_diagram(rec.main));
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "黒4手 PASS まで  ハマ 黒1子  白0子");
}

TEST(Paste, KindIsDecidedInOrder) {
  EXPECT_EQ(paste_kind("\r\n\r\n  (;GM[1]SZ[9])"), PASTE_SGF);
  EXPECT_EQ(paste_kind("(\r\n\t;GM[1])"), PASTE_SGF);
  EXPECT_EQ(paste_kind("[Header]\r\nVer=UGF\r\n"), PASTE_UGF);
  EXPECT_EQ(paste_kind("(note) Ver=UGF [Header]"), PASTE_UGF);
  EXPECT_EQ(paste_kind("●○┼"), PASTE_DIAGRAM);
}

TEST(Paste, SgfAfterBlankLinesIsReadWithItsJapaneseText) {
  GameRecord rec;
  QString text = QStringLiteral("\n\n(;GM[1]FF[4]CA[Shift_JIS]SZ[9]PB[黒田];B[cc];W[gg]C[好手])");
  ASSERT_EQ(read_pasted_record(text, rec, true), PASTE_SGF);
  EXPECT_EQ(rec.main.b_size, 9);
  EXPECT_EQ(rec.main.move_count, 2);
  EXPECT_EQ(rec.main.tesuu, 2);
  EXPECT_EQ(cp932_to_utf8(rec.main.info.black[0]), "黒田");
  ASSERT_EQ(rec.figures.size(), 1u);
  EXPECT_EQ(cp932_to_utf8(rec.figures[0].text), "好手");
}

TEST(Paste, UgfTextIsReadAsTheFileWouldBe) {
  GameRecord rec = small_game();
  rec.main.info.white[0] = utf8_to_cp932("白石");
  SgfBuf buf;
  write_ugf(rec, buf);
  GameRecord back;
  ASSERT_EQ(read_pasted_record(QString::fromStdString(cp932_to_utf8(buf.text)), back, false), PASTE_UGF);
  EXPECT_EQ(back.main.move_count, 2);
  EXPECT_EQ(back.main.moves[1].z, at(7, 7));
  EXPECT_EQ(back.main.info.white[0], rec.main.info.white[0]);
}

TEST(Paste, NineLineDiagramBecomesTheInitialPosition) {
  QString text = QStringLiteral(
      "黒の番\n"
      "┏┯┯┯┯┯┯┯┓\n"
      "┠●┼┼┼┼┼○┨\n"
      "┠┼◆┼┼┼◇┼┨\n"
      "┠┼┼★┼☆┼┼┨\n"
      "┠┼┼┼◯┼┼┼┨\n"
      "┠┼┼┼┼┼┼┼┨\n"
      "┠┼┼┼┼┼┼┼┨\n"
      "┠┼┼┼┼┼┼┼┨\n"
      "┗┷┷┷┷┷┷┷┛\n"
      "これは図の後の文\n");
  GameRecord rec;
  ASSERT_EQ(read_pasted_record(text, rec, false), PASTE_DIAGRAM);
  const Figure& f = rec.main;
  EXPECT_EQ(f.b_size, 9);
  EXPECT_EQ(f.move_count, 0);
  for (int z : {at(2, 2), at(3, 3), at(4, 4)}) EXPECT_EQ(f.initial_board[z], 1) << z;
  for (int z : {at(8, 2), at(7, 3), at(6, 4), at(5, 5)}) EXPECT_EQ(f.initial_board[z], 2) << z;
  int stones = 0;
  for (int y = 1; y <= 9; y++)
    for (int x = 1; x <= 9; x++) stones += f.board[at(x, y)] != 0;
  EXPECT_EQ(stones, 7);
}

TEST(Paste, TextWithoutABoardLeavesTheRecordAlone) {
  GameRecord rec = small_game();
  EXPECT_EQ(read_pasted_record(QStringLiteral("ただの文章です\n┼┼┼\n"), rec, false), PASTE_NONE);
  EXPECT_EQ(rec.main.move_count, 2);
}

TEST(Clipboard, CopiedDiagramPastesBackAsThePosition) {
  GameRecord rec;
  rec.reset();
  rec.main.set_size(13);
  for (int z : {at(4, 4), at(10, 10), at(1, 13), at(13, 1)}) rec.main.append_move(z, 1 + rec.main.move_count % 2);
  rec.main.goto_move(4);
  GameRecord back;
  ASSERT_EQ(read_pasted_record(position_clipboard_text(rec.main), back, false), PASTE_DIAGRAM);
  EXPECT_EQ(back.main.b_size, 13);
  EXPECT_EQ(0, std::memcmp(back.main.board, rec.main.board, sizeof rec.main.board));
}

TEST(Clipboard, CopiedSgfPastesBackAsTheSameRecord) {
  GameRecord rec = small_game();
  rec.main.info.black[0] = utf8_to_cp932("本因坊");
  rec.main.info.komi = 0.5;
  // annotation_at may grow the figure list, so no reference is held across the two calls
  rec.annotation_at(1).text = utf8_to_cp932("一手目の解説");
  rec.annotation_at(1).labels[at(5, 5)] = LABEL_TRIANGLE;
  rec.annotation_at(2).append_move(at(5, 5), 1);
  rec.annotation_at(2).text = utf8_to_cp932("変化");
  GameRecord back;
  ASSERT_EQ(read_pasted_record(sgf_clipboard_text(rec), back, true), PASTE_SGF);
  EXPECT_EQ(back.main.move_count, 2);
  EXPECT_EQ(0, std::memcmp(back.main.moves, rec.main.moves, sizeof rec.main.moves));
  EXPECT_EQ(back.main.info.black[0], rec.main.info.black[0]);
  EXPECT_EQ(back.main.info.komi, 0.5);
  ASSERT_EQ(back.figures.size(), 2u);
  EXPECT_EQ(back.figures[0].text, utf8_to_cp932("一手目の解説"));
  EXPECT_EQ(back.figures[0].labels[at(5, 5)], LABEL_TRIANGLE);
  EXPECT_EQ(back.figures[1].text, utf8_to_cp932("変化"));
  EXPECT_EQ(back.figures[1].move_count, 1);
  EXPECT_EQ(back.figures[1].moves[0].z, at(5, 5));
}

}  // namespace
