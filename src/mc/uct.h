// The Monte-Carlo tree search: per-thread search records, the tree policy,
// the playouts that finish the game from a leaf, the simulation loop, the
// stop rules and the root move choice.
#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "mc/hash_go.h"
#include "mc/patterns.h"
#include "mc/playout.h"

constexpr int UCT_DEPTH_MAX = 63;
constexpr double UCT_EXPLORATION = 0.31;
constexpr double EXPANSION_FACTOR = 2.37;
constexpr int VIRTUAL_LOSS_MAX = 21;
constexpr int UNVISITED_SCORE = 10000;
constexpr double WIDENING_SCALE = 0.025;
constexpr double WIDENING_BASE = 1.4;
constexpr double WIDENING_OFFSET = 2.0;
constexpr double RAVE_BETA_19_A = 1.1111111111111112;
constexpr double RAVE_BETA_19_B = 0.00005;
constexpr int SIMULATIONS_PER_THREAD = 8000;
constexpr int STOP_CHECK_INTERVAL = 100;
constexpr int CANDIDATE_REFRESH_VISITS = 128;
constexpr int BEST_REPLY_REFRESH_VISITS = 256;
constexpr int RAVE_CHILD_MIN_GAMES = 14;
constexpr double RESIGN_WIN_RATE = 0.15;
constexpr double SURE_WIN_RATE = 0.95;
constexpr int REPLY_MOVES = BOARD_MAX * BOARD_MAX + 1;
constexpr int UCT_THREADS_MAX = 64;
constexpr int SORT_SPAN_MIN = 40;

struct UctPathEntry {
  int zc;
  int col;
  uint64_t key_before;
};

// Big-pattern keys of every point, sizes 2..5, from Black's and White's side.
struct BigPatternKeys {
  uint64_t key[2][BIG_PATTERN_SIZE_MAX + 1][MC_POINTS];
};

struct OwnershipStats {
  int32_t sum[MC_POINTS];          // +1 per playout won for Black at the point, -1 White
  int32_t occupied[3][MC_POINTS];  // stones of the winner at the end
  int32_t wins[3];
};

struct BestReply {
  int16_t reply1, reply2;
  int32_t visits1, visits2;
};

struct UctThread {
  int index = 0;
  McBoard tree;   // the tree descent plays here
  McBoard root;   // the root position, restored before every simulation
  McBoard po;     // the playout board
  BigPatternKeys big, big_root;
  McRandom rng;
  int depth = 0;
  UctPathEntry path[UCT_DEPTH_MAX + 2];
  long uct_nodes = 0, mc_sims = 0;
  int max_uct_depth = 0;
  int playout_start_depth = 0;
  std::vector<int32_t> reply_count;  // [colour 1..2][previous move][move], moves indexed 0..N x N
  BestReply best_reply[3][MC_POINTS];
  int16_t best_reply_z[3][MC_POINTS];
  int16_t frequent_reply[3][MC_POINTS];
  int po_move_num = 0;
  int16_t po_moves[PLAYOUT_MOVES_MAX + 1];
  int8_t po_colors[PLAYOUT_MOVES_MAX + 1];
  uint8_t playout_first[MC_POINTS];
  uint8_t tree_first[MC_POINTS];
  int8_t owner[MC_POINTS];
  OwnershipStats own;
};

// Settings of the search (the command line may change them).
struct UctSettings {
  int threads = 1;
  int playouts = SIMULATIONS_PER_THREAD;  // per thread
  bool time_stop = true;                  // false: a fixed budget, no clock
};
extern UctSettings uct_settings;

extern std::vector<UctThread*> uct_local;
extern int uct_root_color;
extern std::atomic<int> uct_stop;
extern std::atomic<int> uct_error;
extern double uct_latest_win_rate;
extern double uct_latest_score;
extern int uct_latest_score_move;  // record move the estimate belongs to, -1 none
extern bool root_superko[MC_POINTS];
extern int uct_avoid_early_pass;    // the editor's flag
extern double uct_komi;             // komi the playouts count against
extern double uct_komi_shift;       // dynamic komi of the last search minus the game's

// The search's internal error stop: prints the thread's state, stops every
// thread and the process.
[[noreturn]] void uct_internal_error(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void uct_set_current_thread(UctThread* t);

int expansion_threshold(int board_size);
int upper_num(int games_sum);
// Children admitted into the selection window at games_sum visits.
int uct_width(int games_sum, int child_num);
double rave_beta(int n, int m, int board_size);
int move_index(int zc, int board_size);

double uct_search(UctThread& t, int col);
void prepare_candidates(UctThread& t, HashGo* node, int col);
void add_rave_child(UctThread& t, HashGo* node, int col, int width);
void rave_update(UctThread& t, double r, int move, HashGo* node, int col);
// One playout from the tree board with col to move; result on col's scale.
int playout(UctThread& t, int col, const HashGo* leaf);

// Big-pattern keys kept move by move.
void big_keys_init(BigPatternKeys& k, const SearchBoard& b);
void big_keys_update(BigPatternKeys& k, const SearchBoard& b, int zc, int from, int to);
void big_keys_after_move(BigPatternKeys& k, const SearchBoard& b, int zc, int color);
double big_pattern_factor_keys(const BigPatternKeys& k, int zc, int color);

// Thread records: makes or resizes them for uct_settings.threads.
void uct_make_threads();
void uct_thread_reset_stats(UctThread& t);

int uct_root(int col);
void search_loop(UctThread& t);
void check_stop(UctThread& t, int col);
int select_root(UctThread& t);
void print_uct(UctThread& t, int flag);
// True when a secondary thread should stop: the budget or the clock.
bool uct_time_up(const UctThread& t);
