#include "knowledge/root_search.h"

#include <gtest/gtest.h>

#include "core/log.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/bad_shape.h"
#include "knowledge/shape_rules.h"
#include "search_setup.h"
#include "support/engine_setup.h"

namespace {

int flat() { return 0; }

class RootSearch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { make_bad_shape_table(); }
  void SetUp() override {
    engine_setup(13);
    ThinkLevel = 2;
    think_time_limit = 30.0;
    think_retry_root = 0;
  }
  int run(int color, int depth) {
    kifu_tejun_set();
    hash_tables_init();
    search_reset();
    think_start_clock();
    DM = depth;
    log_clear();
    return root_search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color);
  }
};

TEST_F(RootSearch, MoveWorthThePassScoresZeroWhateverItsShape) {
  set_static_evaluation(flat);
  // White (6,6) in atari: taking it carries the kill bonus, but is worth nothing here.
  play(6, 5, BLACK), play(6, 6, WHITE), play(5, 6, BLACK), play(10, 10, WHITE), play(7, 6, BLACK), play(3, 10, WHITE);
  EXPECT_EQ(run(BLACK, 2), 0);
  std::string log = log_text();
  EXPECT_NE(log.find("取れない連を取る手。ボーナス！"), std::string::npos);
  EXPECT_EQ(log.find("v=   "), log.find("v=    0 (     0 ->      0),"));
  EXPECT_EQ(log.find("v=  -"), std::string::npos);
  EXPECT_EQ(log.find("v=   1"), std::string::npos);
}

TEST_F(RootSearch, GainOverPassingIsWeighedByTheShapeFactor) {
  set_static_evaluation(material);
  play(6, 5, BLACK), play(6, 6, WHITE), play(5, 6, BLACK), play(10, 10, WHITE), play(7, 6, BLACK), play(3, 10, WHITE);
  // Taking the stone gains the capturing stone and the captured one over
  // passing (depth 1), times its shape factor: at least the single stone's kill bonus.
  double factor = shape_factor(make_z(6, 7), BLACK);
  EXPECT_GE(factor, 1.5);
  int score = run(BLACK, 1);
  EXPECT_EQ(pv_root_move(), make_z(6, 7));
  EXPECT_EQ(score, int(200 * factor));
  EXPECT_EQ(depth_best_move[1], make_z(6, 7));
  EXPECT_NE(log_text().find("v=200(+" + std::to_string(score) + "),pass=0,"), std::string::npos);
  EXPECT_EQ(gban.fukasa, 0);
}

TEST_F(RootSearch, PassLineReachesItsLeavesAtTheSamePlyAsTheMoves) {
  // Material counts every stone: a move beats passing by its own stone only
  // if both lines end after the same number of moves. At depth 5 in the
  // opening the moves' lines are reduced by a ply; the pass line must be too.
  set_static_evaluation(material);
  null_move_enabled = true;
  play(4, 4, BLACK), play(10, 10, WHITE), play(10, 4, BLACK), play(4, 10, WHITE);
  EXPECT_EQ(run(BLACK, 5), 100);
  EXPECT_NE(log_text().find("),pass=-100,nokori="), std::string::npos);
  EXPECT_EQ(gban.fukasa, 0);
}

TEST_F(RootSearch, RetryKeepsTheChoiceOfTheSamePosition) {
  set_static_evaluation(material);
  play(6, 5, BLACK), play(6, 6, WHITE), play(5, 6, BLACK), play(10, 10, WHITE), play(7, 6, BLACK), play(3, 10, WHITE);
  int score = run(BLACK, 2);
  int move = pv_root_move();
  think_retry_root = 1;
  log_clear();
  EXPECT_EQ(root_search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, BLACK), score);
  EXPECT_EQ(pv_root_move(), move);
  EXPECT_EQ(log_text().find("PASSの最善は"), std::string::npos);
}

TEST_F(RootSearch, RunsOutOfTimeWithTheShallowChoice) {
  set_static_evaluation(material);
  play(6, 5, BLACK), play(6, 6, WHITE), play(5, 6, BLACK), play(10, 10, WHITE), play(7, 6, BLACK), play(3, 10, WHITE);
  kifu_tejun_set();
  hash_tables_init();
  search_reset();
  for (int& m : depth_best_move) m = -1;
  think_start_clock();
  think_time_limit = 0.0;
  DM = 5;
  root_search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, BLACK);
  EXPECT_EQ(think_stop, STOP_TIME_UP);
  // One ply needs no clock check; the deeper passes stop and keep its choice.
  EXPECT_EQ(pv_root_move(), make_z(6, 7));
  EXPECT_EQ(depth_best_move[2], -1);
  EXPECT_EQ(gban.fukasa, 0);
}

}  // namespace
