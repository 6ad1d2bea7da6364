// The static value of the classic search: what a stone and enclosed space are worth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "knowledge/analysis.h"
#include "position_setup.h"

namespace {

class Evaluation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { load_eyes(); }
};

TEST_F(Evaluation, first_stone_is_worth_its_influence_not_the_whole_open_board) {
  set_position({".........", ".........", ".........", ".........", "....X....", ".........", ".........",
                ".........", "........."});
  analyze(gban, ban_analysis);
  // Every empty point borders Black alone, yet nothing is enclosed; the
  // stone itself is no point under territory rules.
  EXPECT_GT(ban_analysis.evaluation, 50);
  EXPECT_LT(ban_analysis.evaluation, 1000);
  // White's first answer, even on the edge, balances it again rather than
  // leaving Black the board.
  put_stone(gban, make_z(9, 5), WHITE);
  analyze(gban, ban_analysis);
  EXPECT_LT(std::abs(ban_analysis.evaluation), 1000);
}

TEST_F(Evaluation, space_enclosed_by_one_colour_counts_in_full_once_the_board_fills) {
  // Two living walls (22 % stones): Black owns two columns, White four, one column is dame.
  set_position({"..X.O....", "..X.O....", "..X.O....", "..X.O....", "..X.O....", "..X.O....", "..X.O....",
                "..X.O....", "..X.O...."});
  analyze(gban, ban_analysis);
  EXPECT_EQ(ban_analysis.evaluation, (18 - 36) * 100);
}

TEST_F(Evaluation, stones_count_as_the_score_counts_them) {
  const std::vector<const char*> walls = {"..X.O....", "..X.O....", "..X.O....", "..X.O....", "..X.O....",
                                          "..X.O....", "..X.O....", "..X.O....", "..X.O...."};
  set_rows(walls);
  analyze(gban, ban_analysis);
  const int before = ban_analysis.evaluation;
  // Territory rules: a stone played in one's own territory loses its point.
  put_stone(gban, at("B5"), BLACK);
  analyze(gban, ban_analysis);
  EXPECT_EQ(ban_analysis.evaluation, before - 100);
  take_back(gban, at("B5"), BLACK);
  // A dead stone is a prisoner and a point of territory, as when captured.
  put_stone(gban, at("A5"), WHITE);
  analyze(gban, ban_analysis);
  EXPECT_EQ(final_at("A5"), FINAL_DEAD);
  EXPECT_EQ(ban_analysis.evaluation, before + 100);
  take_back(gban, at("A5"), WHITE);
  gban.captured[BLACK]++;
  analyze(gban, ban_analysis);
  EXPECT_EQ(ban_analysis.evaluation, before + 100);
  gban.captured[BLACK]--;
  // Area rules: every stone on the board is a point.
  fChineseRule = 1;
  analyze(gban, ban_analysis);
  const int area = ban_analysis.evaluation;
  put_stone(gban, at("B5"), BLACK);
  analyze(gban, ban_analysis);
  EXPECT_EQ(ban_analysis.evaluation, area);
  fChineseRule = 0;
}

TEST_F(Evaluation, a_weak_stone_does_not_close_an_open_side) {
  // White's lone stone F9 (next to Black's E8 wall, safety near 0) would
  // seal the whole open east and south as White's for one move.
  std::vector<const char*> rows = {".OX......", "XOXX.XOO.", "XOOXXXXO.", "XOOXX.XO.", "OOOX..XO.",
                                   "XOXXXXXO.", ".OOOOOO..", ".........", "........."};
  set_rows(rows);
  analyze(gban, ban_analysis);
  const int without = ban_analysis.evaluation;
  put_stone(gban, at("F9"), WHITE);
  analyze(gban, ban_analysis);
  EXPECT_LT(std::abs(ban_analysis.evaluation - without), 1000);
  // The final status still counts the sides sealed by it.
  EXPECT_EQ(final_at("J1"), FINAL_WHITE_TERRITORY);
}

// The position under one of the eight board symmetries, colours exchanged
// when `swap`.
std::vector<std::string> transformed(const std::vector<std::string>& rows, int sym, bool swap) {
  const int n = int(rows.size());
  std::vector<std::string> out(n, std::string(n, '.'));
  for (int y = 0; y < n; y++) {
    for (int x = 0; x < n; x++) {
      int tx = sym & 1 ? n - 1 - x : x, ty = sym & 2 ? n - 1 - y : y;
      if (sym & 4) std::swap(tx, ty);
      char c = rows[y][x];
      if (swap && c != '.') c = c == 'X' ? 'O' : 'X';
      out[ty][tx] = c;
    }
  }
  return out;
}

TEST_F(Evaluation, judgement_does_not_depend_on_the_scan_order) {
  // On the left side each colour's stones stand in space the other claims:
  // a claimed region holding stones is a pocket in every region of the other
  // colour it reaches, not only in the one the scan meets first.
  const std::vector<std::string> rows = {".XO......", ".XOXXXO..", ".XOOXOO..", "..XOOXXX.", ".XXOOX..O",
                                         "OOOXXOOO.", "..OXXXO.O", ".XXOXXXX.", "...OOX..."};
  set_rows(rows);
  analyze(gban, ban_analysis);
  const int value = ban_analysis.evaluation;
  int status[9][9];
  for (int y = 0; y < 9; y++) {
    for (int x = 0; x < 9; x++) status[y][x] = ban_analysis.final_status[make_z(x + 1, y + 1)];
  }
  for (int sym = 0; sym < 8; sym++) {
    for (bool swap : {false, true}) {
      set_rows(transformed(rows, sym, swap));
      analyze(gban, ban_analysis);
      EXPECT_EQ(ban_analysis.evaluation, swap ? -value : value) << "symmetry " << sym << " swap " << swap;
      for (int y = 0; y < 9; y++) {
        for (int x = 0; x < 9; x++) {
          int tx = sym & 1 ? 8 - x : x, ty = sym & 2 ? 8 - y : y;
          if (sym & 4) std::swap(tx, ty);
          int st = ban_analysis.final_status[make_z(tx + 1, ty + 1)];
          if (swap && st >= FINAL_WHITE_TERRITORY && st <= FINAL_BLACK_TERRITORY) st = 7 - st;
          ASSERT_EQ(st, status[y][x]) << "symmetry " << sym << " swap " << swap << " at " << x + 1 << "," << y + 1;
        }
      }
    }
  }
}

TEST_F(Evaluation, a_large_claimed_area_with_many_stones_in_it_is_still_open) {
  // White claims the lower right with six Black stones in it. At the end of
  // the game they are dead, but while it goes on they may connect out or
  // live: the area counts by influence, not as White's for sure.
  set_position({".XXX.....", ".X.XX....", ".OXOO.X..", ".OXXO.XOO", "XX.XOOOX.", "OXXOX.XX.", ".OOOX....",
                ".O.XO....", ".O......."});
  judge();
  EXPECT_EQ(final_at("D2"), FINAL_DEAD);
  EXPECT_EQ(final_at("J1"), FINAL_WHITE_TERRITORY);
  EXPECT_GT(ban_analysis.evaluation, -1200);
}

}  // namespace
