#include "knowledge/alphabeta_register.h"

#include <gtest/gtest.h>

#include "core/internal_stop.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/bad_shape.h"
#include "knowledge/eye_database.h"
#include "search_setup.h"
#include "support/engine_setup.h"

namespace {

class ClassicThink : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    make_bad_shape_table();
    load_eye_database();
  }
  void SetUp() override { register_classic_search(); }
  void TearDown() override { think_fix_level(-1); }
};

TEST_F(ClassicThink, LevelZeroTakesTheBestSingleMove) {
  engine_setup(9);
  set_static_evaluation(material);
  play(5, 4, BLACK), play(5, 5, WHITE), play(4, 5, BLACK), play(2, 2, WHITE), play(6, 5, BLACK), play(2, 8, WHITE);
  EXPECT_EQ(one_move_think(BLACK), make_z(5, 6));  // the capture: two stones' swing
  EXPECT_EQ(gban.fukasa, 0);
}

TEST_F(ClassicThink, NineByNineThinkPlaysALegalMoveWithinItsBudget) {
  engine_setup(9);
  const int moves[][2] = {{5, 5}, {4, 3}, {3, 4}, {6, 3}, {6, 6}, {7, 5}};
  int color = BLACK;
  for (auto& m : moves) play(m[0], m[1], color), color = opponent(color);
  Hash96 before = gban.hash;
  ThinkResult r = think(BLACK);
  ASSERT_GE(r.move, 0);
  EXPECT_LT(r.seconds, think_time_limit + 0.5);
  EXPECT_EQ(gban.hash, before);
  EXPECT_EQ(tesuu, 6);
  if (r.move) {
    EXPECT_EQ(gban.ban[r.move], EMPTY);
  }
  EXPECT_EQ(put_stone(gban, r.move, BLACK), PUT_OK);
  take_back(gban, r.move, BLACK);
}

TEST_F(ClassicThink, SecondModeAnswersOnNineteen) {
  engine_setup(19);
  const int moves[][2] = {{4, 4}, {16, 16}, {16, 4}, {4, 16}, {10, 10}, {3, 3}, {4, 3}, {3, 4}, {5, 5}, {17, 3}};
  int color = BLACK;
  for (auto& m : moves) play(m[0], m[1], color), color = opponent(color);
  opening_enabled = 0;  // the approach rules would answer first
  ThinkResult r = think(BLACK);
  opening_enabled = 1;
  ASSERT_GE(r.move, 0);
  EXPECT_EQ(ThinkLevel, 2);
  EXPECT_GT(search_counters.nodes, 0);
  EXPECT_LT(r.seconds, think_time_limit + 1.0);
  EXPECT_EQ(tesuu, 10);
  if (r.move) {
    EXPECT_EQ(gban.ban[r.move], EMPTY);
  }
}

}  // namespace
