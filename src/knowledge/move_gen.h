// Candidate moves of the alpha-beta search: the generators in their fixed
// order, the merge, the bad-shape filter, the transposition move first and
// the ordering by provisional value.
#pragma once

constexpr int MOVE_LIST_MAX = 512;
constexpr int PLY_LIST_NUM = 32;  // beyond the deepest ply the search enters

enum SearchMoveFlag : int {
  MOVE_KILLS = 1,      // takes an enemy string
  MOVE_SAVES = 2,      // rescues an own string in atari
};

struct SearchMove {
  int z;      // point code, 0 = pass
  int color;
  int kari;   // provisional value, the ordering key
  int flags;
};

struct MoveList {
  int n;
  SearchMove m[MOVE_LIST_MAX];
};
extern MoveList move_list[PLY_LIST_NUM];

// Fills the list of the current ply (gban.fukasa) for the colour to move;
// returns the number of candidates.
int generate_moves(int remaining, int color);

// Whether z is an eye of color's own (filling it only ever helps the opponent).
bool own_eye(int z, int color);

// The move played `back` plies before the current position, looking through
// the search path into the game record: a point code, 0 for a pass, -1 when
// there is none.
int previous_move(int back);
