// Tactical reading: can a string be captured, can it be saved, and by which
// move. A small depth-limited search with iterative deepening, node budgets
// and a reading table; one implementation for both boards.
#pragma once
#include <cstdint>

#include "core/board.h"

constexpr int READ_LIVE = 1919;   // the string lives (the attack fails)
constexpr int READ_DEAD = 4444;   // the string dies (the attack succeeds)
constexpr int READ_PLY_MAX = 62;  // plies one reading may go below its start
constexpr int READ_MOVES_MAX = 32;
constexpr int READ_DEPTH_MAX = 7;
constexpr int READ_STRINGS_MAX = 275;
constexpr int HASH64_NUM = 524288;
constexpr int HASH64_HALF = HASH64_NUM / 2;

// Reading state of one search thread (the thread's half of the reading table).
struct ReadingState {
  int half = 0;                   // 0 or 1
  int max_depth = READ_DEPTH_MAX; // configured maximum iteration depth
  int depth = 0;                  // current iteration depth (raised in capture subtrees)
  int iteration_depth = 0;        // the iteration's own depth, for its budget
  long nodes = 0;                 // total
  long iteration_start = 0;       // nodes when the iteration began
  int start_ply = 0;
  int max_ply = 0;
  int target = 0;                 // a stone of the string read
  uint64_t target_key = 0;
  int move[TE_INFO_MAX + 1] = {}; // move chosen at each ply
};

ReadingState& reading_state(int thread);

// READ_DEAD with the killing move in reading_move(), READ_LIVE, or 0 when the
// configured depth is below 3. The string at z must exist.
template <int S>
int kill_string(Board<S>& b, int z, ReadingState& rs);
// The defender moves first against the attacker's move `attack`: READ_LIVE
// with the saving move in reading_move(), else READ_DEAD.
template <int S>
int save_string(Board<S>& b, int z, int attack, ReadingState& rs);

// The move left in the current ply's slot by the last reading.
template <int S>
int reading_move(const Board<S>& b, const ReadingState& rs) {
  return rs.move[b.fukasa];
}

// The reading table hash64: allocated once, cleared by each search.
void reading_table_init();
void reading_table_clear();
void reading_table_report();
struct ReadingTableUse {
  long used, over;
};
ReadingTableUse reading_table_use();
