// The playout board: a search board with the playout's pattern state (3x3
// pattern ids, per-colour move weights with exact column sums and totals, the
// replace list of temporary boosts), the weighted draw, the move filter, the
// incremental update after a move and the area count at the end.
#pragma once
#include <cstdint>

#include "core/board.h"
#include "mc/mc_random.h"

constexpr int MC_POINTS = 21 * 32;
constexpr int REPLACE_MAX = 32;
constexpr int URGENT_LIST_MAX = 16;
constexpr int PLAYOUT_EXTRA_MOVES = 140;   // L = N x N + 140
constexpr int PLAYOUT_MOVES_MAX = 512;
constexpr int FILTER_REMOVALS_MAX = 99;
constexpr int32_t WEIGHT_LIMIT = 0x7fffffff;
constexpr int DAME_WEIGHT_MIN = 500;

struct ReplaceEntry {
  int16_t z;
  int16_t color;
  int32_t weight;  // restored after the next move
};

struct McBoard {
  SearchBoard b;
  int32_t pattern_id[MC_POINTS];
  int32_t weight[3][MC_POINTS];
  int32_t column_sum[3][BOARD_MAX + 2];
  int32_t total[3];
  int replace_num;
  ReplaceEntry replace[REPLACE_MAX];
  uint32_t urgent_stamp[MC_POINTS];
  uint32_t stamp;
  int last_z, last2_z;  // the last two moves (compact; 0 pass or none)
  int passes;           // consecutive passes
};

// Replies the playouts answer a move (c, z) with, per colour and point.
struct ReplyHints {
  const struct HashGo* node = nullptr;  // the leaf's node, for its answer lists
  const int16_t (*best_reply)[MC_POINTS] = nullptr;      // [colour][z], 0 none
  const int16_t (*frequent_reply)[MC_POINTS] = nullptr;  // [colour][z], 0 none
};

// Index of every compact point's position class in pattern_weight (the
// weight of colour c, neighbour index k and pattern p is at
// point_class[z] + p * PATTERN_WEIGHT_BLOCK + (c - 1) * 9 + k).
extern int32_t point_class[MC_POINTS];
void make_point_class(int board_size);

// Loads the search board from the global board and fills the pattern state;
// last_z/last2_z are the last two moves of the game (compact, 0 none).
void mc_board_load(McBoard& mb, const GlobalBoard& g, int to_move, int last_z, int last2_z);
// Copies what a playout or a reset needs (not the move stack).
void mc_board_copy(McBoard& dst, const McBoard& src);

void set_weight(McBoard& mb, int color, int z, int32_t w);
// Plain weight of color at z from the pattern id; k relative to the last move.
int32_t plain_weight(const McBoard& mb, int color, int z, int k);
// Recomputes the weights at every empty point from the pattern ids (after a
// caller changed the board behind the state's back).
void refresh_weights(McBoard& mb, int next_color);

// put_stone with the state update; PutResult as put_stone.
int mc_play(McBoard& mb, int z, int color, const ReplyHints* hints);
void update_after_move(McBoard& mb, int z, int color, const ReplyHints* hints);

// Weighted draw for color passed through the move filter; 0 = pass.
int select_by_weight(McBoard& mb, int color, McRandom& rng);
// The filter's answer for a drawn point: the point, a recommended point, or -1.
int filter_move(McBoard& mb, int z, int color);

// Liberties a stone of color at z would have (counted up to limit), captures
// included; `excluded` (a point the opponent is taken to hold) is not counted.
int libs_after_move(const SearchBoard& b, int z, int color, int limit, int excluded = 0);
// Can the attacker capture the two-liberty string at z by a ladder?
bool ladder_capturable(SearchBoard& b, int z, int attacker);

// Area count, strings in atari taken as captured; owner[z] gets +1 Black,
// -1 White, 0 nobody. Returns Black minus White.
int count_score(const SearchBoard& b, int8_t owner[MC_POINTS]);
