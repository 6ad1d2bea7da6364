#include "core/think.h"

#include <chrono>

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/opening.h"
#include "core/position_table.h"
#include "core/time_control.h"

int ThinkLevel = THINK_LEVEL_MAX;
int DM = 5;
int RM;
int think_max_depth = 5;
double think_time_limit = 2.0;
int think_stop;
int think_retry_root;
int think_resign_retry;
double latest_value;
int opening_enabled = 1;
int think_best_move;
int depth_best_move[DEPTH_TABLE_SIZE];
int time_used_odd, time_used_even;

namespace {

constexpr int SMALL_BOARD = 9;
constexpr double SMALL_BOARD_SECONDS = 2.0;
constexpr double LARGE_BOARD_SECONDS = 10.0;
constexpr int START_DEPTH = 5;
constexpr int LEVEL_ITERATIVE = 1;
constexpr int LEVEL_ROOT = 2;

ClassicSearch classic;
LevelThink level_think[THINK_LEVEL_MAX + 1];
int fixed_level = -1;
long think_start_ms;

long now_ms() {
  using namespace std::chrono;
  return long(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool classic_ready() {
  return classic.prepare && classic.search && classic.root_search && classic.pv_move && classic.evaluate;
}

bool runs_after_opening(int level) { return level == 5 || level == 6; }

int iterative_deepening(int color) {
  for (int& m : depth_best_move) m = -1;
  int d = 1;
  for (; d <= think_max_depth && d < DEPTH_TABLE_SIZE; d++) {
    DM = RM = d;
    int value = classic.search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color);
    think_best_move = classic.pv_move();
    if (!think_stop && think_best_move == 0 && tesuu < RETRY_MOVES_LIMIT) {
      think_retry_root = 1;
      value = classic.search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color);
      think_best_move = classic.pv_move();
      think_retry_root = 0;
    }
    if (value != SEARCH_VALUE_MAX && value != -SEARCH_VALUE_MAX) latest_value = value;
    if (think_stop) break;
  }
  if (d > think_max_depth || d >= DEPTH_TABLE_SIZE) return think_best_move;
  // Stopped by the clock at depth d: that depth's move if it found a point.
  if (depth_best_move[d] > 0) return depth_best_move[d];
  int previous = d >= 2 ? depth_best_move[d - 1] : -1;
  return previous > 0 ? previous : 0;
}

int second_mode(int color) {
  int value = classic.root_search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color);
  think_best_move = classic.pv_move();
  if (value < 0) {
    think_best_move = 0;
    if (tesuu < RETRY_MOVES_LIMIT) {
      think_retry_root = 1;
      classic.root_search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, color);
      think_best_move = classic.pv_move();
    }
  }
  latest_value = classic.evaluate();
  return think_best_move;
}

int level_driver(int color, bool use_fixed_level) {
  think_start_clock();
  think_retry_root = 0;
  kifu_tejun_set();
  set_think_params();
  think_time_limit = time_control_limit(color, think_time_limit, ban_size, tesuu);
  if (use_fixed_level && fixed_level >= 0) ThinkLevel = fixed_level;
  int level = ThinkLevel;
  if (level_think[level] && !runs_after_opening(level)) return level_think[level](color);
  if (level != LEVEL_ITERATIVE && level != LEVEL_ROOT && !level_think[level]) {
    INTERNAL_STOP("think level %d is not built\n", level);
  }
  if ((level == LEVEL_ITERATIVE || level == LEVEL_ROOT) && !classic_ready()) {
    INTERNAL_STOP("classic search not registered\n");
  }
  if (level == LEVEL_ROOT && classic.root_prepare) classic.root_prepare(color);

  search_counters = {};
  hash_tables_init();
  if (classic.prepare) classic.prepare();

  int move = opening_move(color);
  if (move == 0) {
    if (runs_after_opening(level)) move = level_think[level](color);
    else if (level == LEVEL_ROOT) move = second_mode(color);
    else move = iterative_deepening(color);
  }
  double seconds = (now_ms() + 1 - think_start_ms) * 0.001;
  double positions = double(search_counters.positions), nodes = double(search_counters.nodes);
  PRT("%2.1f 秒,%.0f局面/s,場所=%04x,局面=%d,nodes=%d,nps=%0.f/s,手数=%d (DM=%d,RM=%d)\n", seconds,
      positions / seconds, move, int(positions), int(nodes), nodes / seconds, tesuu + 1, DM, RM);
  PRT("----------------------------------------------\n");
  return move;
}

}  // namespace

void think_register_classic(const ClassicSearch& searches) { classic = searches; }

void think_register_level(int level, LevelThink think) {
  if (level >= 0 && level <= THINK_LEVEL_MAX) level_think[level] = think;
}

bool think_level_available(int level) {
  if (level < 0 || level > THINK_LEVEL_MAX) return false;
  if (level == LEVEL_ITERATIVE || level == LEVEL_ROOT) return classic_ready();
  return level_think[level] != nullptr;
}

bool think_fix_level(int level) {
  if (level >= 0 && !think_level_available(level)) return false;
  fixed_level = level;
  return true;
}

int think_fixed_level() { return fixed_level; }

void set_think_params() {
  time_used_odd = time_used_even = 0;
  for (int i = 1; i <= tesuu; i++) (i % 2 ? time_used_odd : time_used_even) += kifu[i].seconds;
  if (ban_size == SMALL_BOARD) {
    ThinkLevel = LEVEL_ITERATIVE;
    DM = START_DEPTH;
    think_max_depth = START_DEPTH;
    think_time_limit = SMALL_BOARD_SECONDS;
  } else {
    ThinkLevel = LEVEL_ROOT;
    think_time_limit = LARGE_BOARD_SECONDS;
    DM = START_DEPTH;
    RM = 1;
  }
}

int time_up() {
  if (!think_stop && (now_ms() + 1 - think_start_ms) * 0.001 >= think_time_limit) {
    think_stop = STOP_TIME_UP;
    PRT("%04x value=%4d,  find proper move...time up! hurry!\n", think_best_move, int(latest_value));
  }
  return think_stop;
}

void think_start_clock() {
  think_stop = 0;
  think_start_ms = now_ms();
}

long think_elapsed_ms() { return now_ms() - think_start_ms; }

ThinkResult think(int color) {
  long start = now_ms();
  int move = level_driver(color, true);
  // A search that wants a second opinion before resigning gets the level of
  // the parameter step.
  if (move < 0 && think_resign_retry) move = level_driver(color, false);
  return {move, (now_ms() + 1 - start) * 0.001};
}
