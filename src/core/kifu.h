// The engine's game record: moves with their seconds, the position hash list,
// the path table of repetitions and positional super-ko, fixed handicaps.
#pragma once
#include "core/board.h"

constexpr int KIFU_MAX = 1023;
constexpr int TEJUN_SIZE = 2048;
constexpr int TEJUN_EMPTY = 2048;

struct KifuEntry {
  int z;      // 0 = pass (a resignation is kept as 0)
  int color;
  int seconds;
};

enum KifuResult : int { KIFU_OK = 0, KIFU_REFUSED = 1, KIFU_TWO_PASSES = 2, KIFU_FULL = 3, KIFU_RESIGN = 4 };

extern KifuEntry kifu[KIFU_MAX + 2];
extern int tesuu;
extern int kifu_length;   // the record's length for the editor
extern int fChineseRule;
extern Hash96 hash_go[KIFU_MAX + 2];      // after move i
extern Hash96 hash_go_noko[KIFU_MAX + 2]; // the same without the ko key

int set_kifu_time(int z, int color, int seconds);
// Resets the record (tesuu 0) without touching the board.
void kifu_clear();
void kifu_tejun_set();
// Rebuilds the global board from the stored initial position and kifu[1..n].
void replay_kifu(int n);

// The path table holds the game's positions (depth -i after move i) and the
// positions of the current search path (depth fukasa).
void tejun_clear();
void tejun_hash_set(int depth);
void tejun_hash_del(int depth);
int tejun_hash_check(int depth);
int super_ko_check();
// The global board's hash without the ko key.
Hash96 hash_without_ko(const GlobalBoard& b);

void put_handicap(int k);
// Colour to move after the recorded moves (black first, white first after a handicap).
int side_to_move();
