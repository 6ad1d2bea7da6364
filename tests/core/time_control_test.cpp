#include <gtest/gtest.h>

#include "core/board.h"
#include "core/time_control.h"

namespace {

struct TimeControlOn {
  TimeControlOn() { time_control_enable(true); }
  ~TimeControlOn() { time_control_enable(false); }
};

}  // namespace

TEST(TimeControl, off_or_without_a_clock_keeps_the_fixed_limit) {
  EXPECT_DOUBLE_EQ(time_control_limit(BLACK, 2.0, 9, 10), 2.0);
  TimeControlOn on;
  time_control_settings(0, 1, 0);  // no time limit at all
  EXPECT_DOUBLE_EQ(time_control_limit(BLACK, 2.0, 9, 10), 2.0);
}

TEST(TimeControl, main_time_is_spread_over_the_moves_left_with_a_margin) {
  TimeControlOn on;
  time_control_settings(60, 0, 0);
  // 0.8 x 81 = 64 moves in the game, 27 of them still Black's after move 10.
  const double limit = time_control_limit(BLACK, 2.0, 9, 10);
  EXPECT_NEAR(limit, (60 - 1 - 3.0) / 27, 1e-9);
  // Late in the game at least ten moves are planned for, never the whole clock.
  time_control_left(WHITE, 5, 0);
  EXPECT_NEAR(time_control_limit(WHITE, 2.0, 9, 80), (5 - 1 - 0.25) / 10, 1e-9);
  // Almost out of time: a tenth of a second rather than nothing.
  time_control_left(WHITE, 1, 0);
  EXPECT_DOUBLE_EQ(time_control_limit(WHITE, 2.0, 9, 80), 0.1);
}

TEST(TimeControl, byoyomi_period_is_shared_by_its_stones_and_may_follow_the_main_time) {
  TimeControlOn on;
  time_control_settings(10, 30, 5);
  time_control_left(BLACK, 30, 5);
  EXPECT_NEAR(time_control_limit(BLACK, 10.0, 19, 200), (30 - 1 - 1.5) / 5, 1e-9);
  // Two seconds of main time left: a move may use them and a period's share.
  time_control_left(BLACK, 2, 0);
  const double limit = time_control_limit(BLACK, 10.0, 19, 200);
  EXPECT_NEAR(limit, 6 - 1 - 0.3, 1e-9);
  EXPECT_LT(limit, 2 + 6.0);
}
