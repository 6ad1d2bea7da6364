// Negamax alpha-beta search of the global board over the move generator's
// candidates: transposition entries in position table A, width limits, null
// move, extensions and reductions, the self-atari filter, the horizon
// re-search, history counts and principal variations.
#pragma once
#include "core/board.h"
#include "knowledge/move_gen.h"

constexpr int PLY_LIMIT = 22;       // the search stops descending here
constexpr int PV_MAX = 128;
constexpr int HISTORY_COUNT_MAX = 16383;
constexpr int WIDTH_TABLE_SIZE = 12;
constexpr int HORIZON_PLY = 3;

enum Bound : int { BOUND_EXACT = 1, BOUND_UPPER = 2, BOUND_LOWER = 3 };

struct PrincipalVariation {
  int len;
  int z[PV_MAX];
};
extern PrincipalVariation pv[PLY_LIST_NUM];

// Per colour and point: cut-offs, tries and moves refuted before a cut-off.
struct HistoryTable {
  int good[21 * 256];
  int total[21 * 256];
  int bad[21 * 256];
};
extern HistoryTable history[3];
void history_add_good(int color, int z);
void history_add_bad(int color, int z);

// The static value: positive favours Black. The driver wires the analysis'
// evaluation in; tests put in their own.
using StaticEvaluation = int (*)();
void set_static_evaluation(StaticEvaluation evaluation);
// From the side to move's view.
int static_value(int color);

extern bool null_move_enabled;

// Search state reset before each decision (history persists across depths).
void search_reset();
int search(int alpha, int beta, int color, const SearchMove* from);
// Root move of the principal variation: 0 pass, -1 none.
int pv_root_move();
// Move of the transposition entry of the current position, or 0.
int transposition_move(int color);
// Moves searched at a node: the generator's count capped by the width limits.
int width_limit(int ply, int remaining);
// Whether the move just put at z leaves a string of two or more stones that
// the opponent captures at once (and not as a ko).
bool self_atari(int z, int color);
