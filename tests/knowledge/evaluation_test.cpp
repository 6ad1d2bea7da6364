// The static value of the classic search: what a stone and enclosed space are worth.
#include <gtest/gtest.h>

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
  // Every empty point borders Black alone, yet nothing is enclosed.
  EXPECT_GT(ban_analysis.evaluation, 100);
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

}  // namespace
