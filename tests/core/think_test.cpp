#include "core/think.h"

#include <gtest/gtest.h>

#include "core/opening.h"
#include "support/engine_setup.h"

namespace {

// A scripted search: per depth the best move it records and whether the clock runs out there.
struct Script {
  int best_at[8];
  int pv[8];
  int value = 10;
  int stop_at = 99;
  int calls = 0;
  int retries = 0;
} script;

int fake_search(int, int, int) {
  script.calls++;
  if (think_retry_root) script.retries++;
  if (script.best_at[DM] != -2) depth_best_move[DM] = script.best_at[DM];
  if (DM >= script.stop_at) think_stop = STOP_TIME_UP;
  return script.value;
}
int fake_pv() { return script.pv[DM]; }
void fake_prepare() {}
int fake_evaluate() { return 7; }
int root_value;
int fake_root_search(int, int, int) {
  script.calls++;
  if (think_retry_root) script.retries++;
  return root_value;
}

class Think : public ::testing::Test {
 protected:
  void SetUp() override {
    ClassicSearch s;
    s.prepare = fake_prepare;
    s.search = fake_search;
    s.root_search = fake_root_search;
    s.pv_move = fake_pv;
    s.evaluate = fake_evaluate;
    think_register_classic(s);
    opening_enabled = 0;
    script = Script{};
    for (int d = 0; d < 8; d++) script.best_at[d] = -2, script.pv[d] = make_z(d, 1);
  }
  void TearDown() override { opening_enabled = 1; }
};

TEST_F(Think, ParametersFollowTheBoardSize) {
  engine_setup(9);
  set_think_params();
  EXPECT_EQ(ThinkLevel, 1);
  EXPECT_DOUBLE_EQ(think_time_limit, 2.0);
  EXPECT_EQ(DM, 5);
  EXPECT_EQ(think_max_depth, 5);
  engine_setup(13);
  set_think_params();
  EXPECT_EQ(ThinkLevel, 2);
  EXPECT_DOUBLE_EQ(think_time_limit, 10.0);
}

TEST_F(Think, TimeSumsCountOddAndEvenMoves) {
  engine_setup(9);
  set_kifu_time(make_z(3, 3), BLACK, 4);
  set_kifu_time(make_z(7, 7), WHITE, 2);
  set_kifu_time(make_z(3, 7), BLACK, 5);
  set_think_params();
  EXPECT_EQ(time_used_odd, 9);
  EXPECT_EQ(time_used_even, 2);
}

TEST_F(Think, CompletedIterationsPlayTheLastPrincipalVariation) {
  engine_setup(9);
  set_kifu_time(make_z(3, 3), BLACK, 0);
  ThinkResult r = think(WHITE);
  EXPECT_EQ(r.move, make_z(5, 1));
  EXPECT_EQ(script.calls, 5);
  EXPECT_DOUBLE_EQ(latest_value, 10);
  EXPECT_GE(r.seconds, 0.001);
}

TEST_F(Think, TimeOutAtDepthThreePlaysDepthThreeOrElseDepthTwo) {
  engine_setup(9);
  script.best_at[2] = make_z(2, 2);
  script.best_at[3] = make_z(3, 3);
  script.stop_at = 3;
  EXPECT_EQ(think(BLACK).move, make_z(3, 3));
  EXPECT_EQ(script.calls, 3);

  SetUp();
  script.best_at[2] = make_z(2, 2);
  script.best_at[3] = -1;
  script.stop_at = 3;
  EXPECT_EQ(think(BLACK).move, make_z(2, 2));

  SetUp();
  script.best_at[2] = -1;
  script.best_at[3] = 0;  // a pass at depth 3 falls back too; nothing at depth 2 means pass
  script.stop_at = 3;
  EXPECT_EQ(think(BLACK).move, 0);
}

TEST_F(Think, EarlyPassIsSearchedAgainWithTheRetryFlag) {
  engine_setup(9);
  for (int d = 0; d < 8; d++) script.pv[d] = 0;
  script.value = SEARCH_VALUE_MAX;  // never becomes the latest value
  latest_value = 3;
  think(BLACK);
  EXPECT_EQ(script.retries, 5);
  EXPECT_EQ(script.calls, 10);
  EXPECT_EQ(think_retry_root, 0);
  EXPECT_DOUBLE_EQ(latest_value, 3);
}

TEST_F(Think, SecondModePassesOnANegativeValueAndRetriesEarly) {
  engine_setup(19);
  root_value = -5;
  script.pv[5] = make_z(4, 4);
  EXPECT_EQ(think(BLACK).move, make_z(4, 4));  // the retry's move
  EXPECT_EQ(script.retries, 1);
  EXPECT_DOUBLE_EQ(latest_value, 7);
  root_value = 5;
  SetUp();
  EXPECT_EQ(think(BLACK).move, make_z(5, 1));
  EXPECT_EQ(script.retries, 0);
}

TEST_F(Think, TimeUpRaisesTheStopFlagAtTheLimit) {
  engine_setup(9);
  set_think_params();
  think_start_clock();
  EXPECT_EQ(time_up(), 0);
  think_time_limit = 0.0;
  EXPECT_EQ(time_up(), STOP_TIME_UP);
}

int level_zero(int) { return make_z(1, 1); }

TEST_F(Think, FixedLevelsMustBeBuilt) {
  EXPECT_FALSE(think_fix_level(3));
  EXPECT_FALSE(think_fix_level(8));
  EXPECT_TRUE(think_fix_level(1));
  think_register_level(0, level_zero);
  EXPECT_TRUE(think_fix_level(0));
  engine_setup(9);
  opening_enabled = 1;
  EXPECT_EQ(think(BLACK).move, make_z(1, 1));  // level 0 runs instead of the opening
  think_register_level(0, nullptr);
  EXPECT_FALSE(think_fix_level(0));
  EXPECT_TRUE(think_fix_level(1));
  EXPECT_EQ(think_fixed_level(), 1);
  EXPECT_TRUE(think_fix_level(-1));
  EXPECT_EQ(think_fixed_level(), -1);
}

}  // namespace
