// The two simple Monte-Carlo levels on the global board: level 3 samples
// random games after every candidate move (flat evaluation), level 4 grows a
// small UCB tree in its own table hash_mc. Both use the plain random playout.
#pragma once
#include <cstdint>

#include "core/board.h"

// Candidates of one hash_mc record: every point of a 9x9 board and the pass.
constexpr int MC_BORAD_SIZE = 82;
constexpr int Hash_MC_Table_Size = 65536;
constexpr int BANDIT_BOARD_MAX = 9;  // larger boards play level 3 instead
constexpr int FLAT_PLAYOUTS = 1000;  // per candidate
constexpr int BANDIT_ITERATIONS = 20000;
constexpr int BANDIT_DEPTH_MAX = 31;

// The random playout: plays the global board out from its position with
// `color` to move (uniform over the legal moves that do not fill the mover's
// own eye) until two passes in a row or a length limit, takes every move back
// and returns the area score, Black minus White. `length` receives the moves
// played when given.
int simple_playout(int color, int* length = nullptr);
// Area score of the global board as it stands: stones plus empty points
// touching one colour only.
int simple_area_score();
void simple_mc_seed(uint64_t seed);
uint32_t simple_mc_random();

// What the latest level-3 or level-4 think did.
struct SimpleMcStats {
  int playouts;
  int iterations;  // level 4 descents
  int candidates;  // level 3 root moves evaluated (pass included)
  bool fell_back;  // level 4 handed the move to level 3
};
extern SimpleMcStats simple_mc_stats;

// Level 3.
struct FlatCandidate {
  int z;  // 0 = pass
  int wins;  // playouts Black won
  int playouts;
};
// Black takes the highest win share, White the lowest; the earliest candidate
// wins a tie. Candidates without playouts (the clock stopped before them) are
// not chosen. When best and worst share the same rate the answer is a pass.
int flat_mc_choose(const FlatCandidate* list, int n, int color);
int flat_mc_think(int color);

// Level 4.
struct McMove {
  int z;
  int visits;
  double value;  // on the mover's scale: Black 0..1, White -1..0
};
struct HASH_MC {
  Hash96 key;
  int child_num;
  McMove moves[MC_BORAD_SIZE];
  int games;  // visits of the node
  int used;
};
extern int hash_mc_use;
// Allocates hash_mc on first use and clears it.
void hash_mc_init();
// The record of a position; with `create`, a missing one is made empty
// (child_num 0). Nullptr when missing and not created.
HASH_MC* hash_mc_find(const Hash96& key, bool create);
// Fills a new node with the pass and the empty points that are not the ko
// point; a board giving more than MC_BORAD_SIZE is an internal stop.
void bandit_generate(HASH_MC& node);
// The value a node hands to its parent: visit-weighted average of its moves
// with the best visited move weighted 0.01 more.
double bandit_node_value(const HASH_MC& node);
// One descent from the global board's position, `color` to move; returns the
// node value on `color`'s scale. Depth 0 is the root.
double bandit_search(int color, int depth);
// The visited move with the highest lower confidence bound; -1 if none.
int bandit_recommend(const HASH_MC& node);
int bandit_think(int color);

// Registers levels 3 and 4 with the think driver.
void simple_mc_register_levels();
