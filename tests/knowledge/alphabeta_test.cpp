#include "knowledge/alphabeta.h"

#include <gtest/gtest.h>

#include "core/log.h"
#include "core/think.h"
#include "knowledge/bad_shape.h"
#include "search_setup.h"
#include "support/engine_setup.h"

namespace {

class AlphaBeta : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { make_bad_shape_table(); }
  void SetUp() override {
    engine_setup(9);
    set_static_evaluation(material);
    ThinkLevel = 1;
    think_time_limit = 30.0;
    think_retry_root = 0;
    null_move_enabled = true;
  }
  // The position of the record, ready for a search of the given depth.
  int run(int color, int depth) {
    kifu_tejun_set();
    hash_tables_init();
    search_reset();
    think_start_clock();
    DM = depth;
    for (int& m : depth_best_move) m = -1;
    return search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color, nullptr);
  }
};

TEST_F(AlphaBeta, LeavesTheBoardAsItWasAndRecordsThePrincipalVariation) {
  play(4, 4, BLACK), play(5, 4, WHITE), play(4, 5, BLACK), play(4, 3, WHITE), play(6, 6, BLACK), play(3, 4, WHITE);
  kifu_tejun_set();
  Hash96 before = gban.hash;
  run(BLACK, 3);
  EXPECT_EQ(gban.hash, before);
  EXPECT_EQ(gban.fukasa, 0);
  EXPECT_GE(pv[0].len, 2);
  EXPECT_GT(pv_root_move(), 0);
  EXPECT_EQ(depth_best_move[3], pv_root_move());
  // The path table holds the game's positions only again.
  EXPECT_EQ(tejun_hash_check(0), 1);
}

TEST_F(AlphaBeta, FindsTheCaptureAndTheEscape) {
  // White (5,5) in atari: Black takes it at once.
  play(5, 4, BLACK), play(5, 5, WHITE), play(4, 5, BLACK), play(2, 2, WHITE), play(6, 5, BLACK), play(2, 8, WHITE);
  EXPECT_GT(run(BLACK, 1), 0);
  EXPECT_EQ(pv_root_move(), make_z(5, 6));
  // White to move saves the stone instead (a capture would cost 100 at depth 2).
  run(WHITE, 2);
  EXPECT_EQ(pv_root_move(), make_z(5, 6));
}

TEST_F(AlphaBeta, SelfAtariOfTwoStonesIsNeverSearched) {
  // Black (1,2) with White around: Black at (1,1) would make a two-stone string in atari.
  engine_setup(5);
  play(1, 2, BLACK), play(2, 2, WHITE), play(5, 5, BLACK), play(1, 3, WHITE);
  ASSERT_EQ(put_stone(gban, make_z(1, 1), BLACK), PUT_OK);
  EXPECT_TRUE(self_atari(make_z(1, 1), BLACK));
  take_back(gban, make_z(1, 1), BLACK);
  // A single stone in atari is not filtered (it may be a throw-in).
  ASSERT_EQ(put_stone(gban, make_z(2, 1), BLACK), PUT_OK);
  EXPECT_FALSE(self_atari(make_z(2, 1), BLACK));
  take_back(gban, make_z(2, 1), BLACK);
  log_clear();
  run(BLACK, 4);
  // wide enough at the root for every point of the small board
  EXPECT_NE(log_text().find("1手で取られるだけ z=0101, 殺される場所=0102"), std::string::npos);
  EXPECT_NE(pv_root_move(), make_z(1, 1));
}

TEST_F(AlphaBeta, StopsDescendingAtPlyTwentyTwo) {
  engine_setup(19);
  kifu_tejun_set();
  hash_tables_init();
  search_reset();
  think_start_clock();
  // Twenty-two moves on the search path.
  for (int i = 0; i < PLY_LIMIT; i++) ASSERT_EQ(put_stone(gban, make_z(1 + i % 9 * 2, 1 + i / 9 * 4), i % 2 ? WHITE : BLACK), PUT_OK);
  DM = 30;
  log_clear();
  int v = search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, BLACK, nullptr);
  EXPECT_EQ(v, material());
  EXPECT_NE(log_text().find("深く探索しすぎ！深=(22/30)"), std::string::npos);
  for (int i = PLY_LIMIT - 1; i >= 0; i--) take_back(gban, make_z(1 + i % 9 * 2, 1 + i / 9 * 4), i % 2 ? WHITE : BLACK);
}

TEST_F(AlphaBeta, HistoryCountsHalveWithTheirPartner) {
  search_reset();
  int z = make_z(3, 3);
  history[BLACK].good[z] = HISTORY_COUNT_MAX;
  history[BLACK].total[z] = HISTORY_COUNT_MAX + 1 - 1;
  history_add_good(BLACK, z);
  EXPECT_EQ(history[BLACK].good[z], 8193);
  EXPECT_EQ(history[BLACK].total[z], 8193);
  history[WHITE].bad[z] = HISTORY_COUNT_MAX;
  history[WHITE].total[z] = 100;
  history_add_bad(WHITE, z);
  EXPECT_EQ(history[WHITE].bad[z], 8193);
  EXPECT_EQ(history[WHITE].total[z], 50);
  // A real cut-off counts for the refuting move.
  play(5, 4, BLACK), play(5, 5, WHITE), play(4, 5, BLACK), play(2, 2, WHITE), play(6, 5, BLACK), play(2, 8, WHITE);
  run(WHITE, 3);
  int good = 0;
  for (int p = 0; p < 21 * 256; p++) good += history[BLACK].good[p] + history[WHITE].good[p];
  EXPECT_GT(good, 0);
}

TEST_F(AlphaBeta, TimeUpEndsTheSearchWithTheBoardRestored) {
  play(5, 5, BLACK), play(4, 4, WHITE);
  kifu_tejun_set();
  Hash96 before = gban.hash;
  hash_tables_init();
  search_reset();
  think_start_clock();
  think_time_limit = 0.0;
  DM = 5;
  search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, BLACK, nullptr);
  EXPECT_EQ(think_stop, STOP_TIME_UP);
  EXPECT_EQ(gban.hash, before);
  EXPECT_EQ(gban.fukasa, 0);
}

TEST_F(AlphaBeta, TranspositionEntryBringsItsMoveBack) {
  play(5, 4, BLACK), play(5, 5, WHITE), play(4, 5, BLACK), play(2, 2, WHITE), play(6, 5, BLACK), play(2, 8, WHITE);
  run(BLACK, 2);
  EXPECT_EQ(transposition_move(BLACK), make_z(5, 6));
  EXPECT_EQ(transposition_move(WHITE), 0);  // the side to move is part of the key
}

}  // namespace
