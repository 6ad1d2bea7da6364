#include "knowledge/shape_rules.h"

#include <gtest/gtest.h>

#include "core/log.h"
#include "support/engine_setup.h"

namespace {

void play(int x, int y, int color) { ASSERT_EQ(set_kifu_time(make_z(x, y), color, 0), KIFU_OK); }

double factor_at(int x, int y, int color) {
  log_clear();
  return shape_factor(make_z(x, y), color);
}

TEST(ShapeRules, NothingWithoutAnOpponentStoneAsTheLastMove) {
  engine_setup(19);
  EXPECT_DOUBLE_EQ(factor_at(10, 10, BLACK), 1.0);
  play(10, 10, BLACK), play(10, 11, WHITE), play(11, 10, BLACK);
  EXPECT_DOUBLE_EQ(factor_at(9, 11, BLACK), 1.0);  // the last move is Black's own
  play(0 + 3, 3, WHITE);
  set_kifu_time(0, BLACK, 0);
  EXPECT_DOUBLE_EQ(factor_at(9, 11, WHITE), 1.0);  // a pass is no stone
}

TEST(ShapeRules, PenaltiesForTheEmptyTriangleAndFillingAKeima) {
  engine_setup(19);
  // Black (10,10),(11,10); (10,11) makes an empty triangle with (11,11) empty.
  play(10, 10, BLACK), play(16, 16, WHITE), play(11, 10, BLACK), play(4, 16, WHITE);
  EXPECT_DOUBLE_EQ(factor_at(10, 11, BLACK), 0.5);
  EXPECT_EQ(last_shape_rule(), 23);
  EXPECT_NE(log_text().find("空き三角の愚型。減点で0.5倍"), std::string::npos);
  // Black (5,10) and (6,11) diagonal: (5,11) and (6,10) ... the filling move at a right angle.
  engine_setup(19);
  play(5, 10, BLACK), play(16, 16, WHITE), play(6, 9, BLACK), play(16, 4, WHITE);
  EXPECT_DOUBLE_EQ(factor_at(6, 10, BLACK), 0.5);
  EXPECT_TRUE(last_shape_rule() == 23 || last_shape_rule() == 24);
}

TEST(ShapeRules, SavingTheStringPutInAtariDoublesAndStopsThePenalties) {
  engine_setup(19);
  // White's last move (11,10) ataris Black (10,10); extending to (10,11) saves it.
  play(10, 10, BLACK), play(9, 10, WHITE), play(3, 3, BLACK), play(10, 9, WHITE), play(3, 16, BLACK), play(11, 10, WHITE);
  double f = factor_at(10, 11, BLACK);
  EXPECT_NE(log_text().find("直前の当(0a0a)を守る。ボーナスで2倍！"), std::string::npos);
  EXPECT_GE(f, 2.0);
  EXPECT_LT(last_shape_rule(), 23);
  // Extending into an empty triangle still counts as the rescue, without the penalty.
  engine_setup(19);
  play(10, 10, BLACK), play(9, 10, WHITE), play(11, 11, BLACK), play(10, 9, WHITE), play(3, 16, BLACK), play(11, 10, WHITE);
  f = factor_at(10, 11, BLACK);
  EXPECT_NE(log_text().find("直前の当(0a0a)を守る"), std::string::npos);
  EXPECT_GE(f, 2.0);
}

TEST(ShapeRules, TakingAStringGetsTheKillBonusBySize) {
  engine_setup(19);
  // White (10,10) in atari, one stone: at least 1.5.
  play(10, 9, BLACK), play(10, 10, WHITE), play(9, 10, BLACK), play(16, 16, WHITE), play(11, 10, BLACK), play(3, 3, WHITE);
  play(16, 3, BLACK), play(3, 16, WHITE);
  EXPECT_GE(factor_at(10, 11, BLACK), 1.5);
  EXPECT_NE(log_text().find("取れない連を取る手。ボーナス！"), std::string::npos);
  // Three stones in atari: at least 2.
  engine_setup(19);
  play(9, 10, BLACK), play(10, 10, WHITE), play(13, 10, BLACK), play(11, 10, WHITE), play(10, 9, BLACK), play(12, 10, WHITE);
  play(11, 9, BLACK), play(3, 3, WHITE), play(12, 9, BLACK), play(3, 16, WHITE), play(10, 11, BLACK), play(16, 3, WHITE);
  play(11, 11, BLACK), play(16, 16, WHITE);
  EXPECT_GE(factor_at(12, 11, BLACK), 2.0);
}

TEST(ShapeRules, WedgeIsAnsweredFromTheSide) {
  engine_setup(19);
  // Black (9,10) and (11,10); White wedges at (10,10).
  play(9, 10, BLACK), play(16, 16, WHITE), play(11, 10, BLACK), play(10, 10, WHITE);
  EXPECT_DOUBLE_EQ(factor_at(10, 11, BLACK), 2.0);
  EXPECT_EQ(last_shape_rule(), 2);
  EXPECT_NE(log_text().find("割り込みを受ける。ボーナスで2倍！0a0a,0b0a"), std::string::npos);
}

}  // namespace
