#include "core/time_control.h"

#include <algorithm>

#include "core/log.h"

namespace {

constexpr double SAFETY_SECONDS = 1.0;  // answer, transport and the controller's own rounding
constexpr double SAFETY_SHARE = 0.05;
constexpr double MIN_LIMIT = 0.1;
constexpr double GAME_LENGTH_SHARE = 0.8;  // of the points, as moves of the whole game
constexpr int MIN_MOVES_LEFT = 10;

bool enabled;
bool known;  // time_settings seen
int main_time, byo_time, byo_stones;
struct Clock {
  bool known = false;
  double seconds = 0;
  int stones = 0;
} clocks[3];

double after_margin(double seconds) { return seconds - SAFETY_SECONDS - seconds * SAFETY_SHARE; }

}  // namespace

void time_control_enable(bool on) { enabled = on; }
bool time_control_enabled() { return enabled; }

void time_control_settings(int main_seconds, int byo_yomi_seconds, int byo_yomi_stones) {
  known = true;
  main_time = main_seconds, byo_time = byo_yomi_seconds, byo_stones = byo_yomi_stones;
  for (Clock& c : clocks) c = Clock{true, double(main_seconds), 0};
}

void time_control_left(int color, int seconds, int stones) {
  if (color < 1 || color > 2) return;
  clocks[color] = Clock{true, double(seconds), stones};
}

double time_control_limit(int color, double fixed_limit, int board_size, int moves_played) {
  if (!enabled || !known) return fixed_limit;
  // byo-yomi time without stones means no limit at all.
  if (byo_time > 0 && byo_stones == 0) return fixed_limit;
  const Clock& c = clocks[color];
  double limit;
  if (c.stones > 0) {
    limit = after_margin(c.seconds) / c.stones;
  } else {
    const int game_moves = int(board_size * board_size * GAME_LENGTH_SHARE);
    const int own_moves_left = std::max(MIN_MOVES_LEFT, (game_moves - moves_played) / 2);
    limit = after_margin(c.seconds) / own_moves_left;
    // Byo-yomi follows the main time: a move may run into its first period.
    if (byo_stones > 0) {
      const double period_share = double(byo_time) / byo_stones;
      limit = std::max(limit, after_margin(period_share));
      limit = std::min(limit, after_margin(c.seconds + period_share));
    }
  }
  limit = std::max(limit, MIN_LIMIT);
  PRT("time control: %.1f s left (%d stones), limit %.2f s\n", c.seconds, c.stones, limit);
  return limit;
}
