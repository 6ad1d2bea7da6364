// The move decision driver: think parameters from the board size, the time
// limit, the opening move, the level dispatch and the summary line. The
// searches live above the core and register themselves here.
#pragma once

constexpr int THINK_LEVEL_MAX = 7;
constexpr int DEPTH_TABLE_SIZE = 128;
constexpr int STOP_TIME_UP = 2;
constexpr int RETRY_MOVES_LIMIT = 34;  // below this many moves a pass is searched again
constexpr int SEARCH_VALUE_MAX = 99999;

extern int ThinkLevel;
extern int DM;                 // nominal depth of the classic search
extern int RM;                 // current iteration depth
extern int think_max_depth;
extern double think_time_limit;
extern int think_stop;         // 0, or STOP_TIME_UP
extern int think_retry_root;   // read by the classic roots
extern int think_resign_retry; // set by a search that wants a second opinion before resigning
extern double latest_value;    // for miro-latest_winrate
extern int opening_enabled;
extern int think_best_move;
extern int depth_best_move[DEPTH_TABLE_SIZE];  // -1 = none
extern int time_used_odd, time_used_even;      // recorded seconds of odd and even moves

// The classic searches, registered by the knowledge subsystem.
struct ClassicSearch {
  void (*prepare)() = nullptr;                  // whole-board analysis and per-point tables
  void (*root_prepare)(int color) = nullptr;    // second mode only
  int (*search)(int alpha, int beta, int color) = nullptr;       // iterative mode, depth DM
  int (*root_search)(int alpha, int beta, int color) = nullptr;  // second mode
  int (*pv_move)() = nullptr;                   // root move of the principal variation
  int (*evaluate)() = nullptr;                  // static value, positive favours black
};
void think_register_classic(const ClassicSearch& searches);

// A level that chooses its move by itself. Levels 5 and 6 run after the
// opening move, the others instead of it.
using LevelThink = int (*)(int color);
void think_register_level(int level, LevelThink think);
bool think_level_available(int level);
// "--level N": every think runs this level (-1: the parameter step's level
// again). False when the level is not built.
bool think_fix_level(int level);
int think_fixed_level();

struct ThinkResult {
  int move;        // point code, 0 pass, negative resigns
  double seconds;
};
ThinkResult think(int color);

void set_think_params();
// Sets the stop flag once the time limit is reached; returns it.
int time_up();
// Starts the think's clock and clears the stop flag (the level driver does
// this itself; searches run on their own call it first).
void think_start_clock();
// Milliseconds since the think started.
long think_elapsed_ms();
