// The alpha-beta search at a fixed depth on middle-game positions, with the
// whole-board analysis as its static value: search nodes and evaluated
// positions (static values) per second on one core.
#include <benchmark/benchmark.h>

#include <cstring>

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/position_table.h"
#include "core/random.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/alphabeta_register.h"
#include "knowledge/bad_shape.h"
#include "knowledge/eye_database.h"

namespace {

// A 9x9 game after 30 moves and a 19x19 position after 79 stones (SGF letters).
constexpr const char* GAME9 = "defecgfcfdgdedecdcdbceccddfgegfhfiehdheighgfffefchbdhhbfgcdg";
constexpr const char* BLACK19 = "fbachckcqcbdpdqdrdbecejeoereefofpfrfngbhchphriqkplhmqmfngninfopoepgpfqgqpqfrhr";
constexpr const char* WHITE19 = "abcbpbqbrbbcdcncpcrccdddfdodlenepeqeqfqgrgbicjhkfldmpmknmndoeohocphpdqeqhqjqmqir";

int point(const char* p) { return make_z(p[0] - 'a' + 1, p[1] - 'a' + 1); }

void start_engine() {
  static bool started = false;
  if (started) return;
  started = true;
  random_startup();
  hash_tables_init();
  make_bad_shape_table();
  load_eye_database();
  register_classic_search();
}

void position9() {
  ban_size = 9;
  ban_clear();
  kifu_clear();
  int color = BLACK;
  for (const char* p = GAME9; *p; p += 2) {
    set_kifu_time(point(p), color, 0);
    color = opponent(color);
  }
}

void position19() {
  ban_size = 19;
  ban_clear();
  kifu_clear();
  for (const char* p = BLACK19; *p; p += 2) put_stone(gban, point(p), BLACK);
  for (const char* p = WHITE19; *p; p += 2) put_stone(gban, point(p), WHITE);
  store_initial_position();
  init_ban();
  kifu_clear();
}

void run_search(benchmark::State& state, void (*position)(), int level) {
  start_engine();
  position();
  kifu_tejun_set();
  ThinkLevel = level;
  think_time_limit = 1e9;
  long nodes = 0, positions = 0;
  for (auto _ : state) {
    hash_tables_init();
    search_reset();
    search_counters = {};
    think_start_clock();
    DM = int(state.range(0));
    for (int& m : depth_best_move) m = -1;
    benchmark::DoNotOptimize(search(-SEARCH_VALUE_MAX, SEARCH_VALUE_MAX, side_to_move(), nullptr));
    nodes += search_counters.nodes;
    positions += search_counters.positions;
  }
  state.counters["nodes/s"] = benchmark::Counter(double(nodes), benchmark::Counter::kIsRate);
  state.counters["positions/s"] = benchmark::Counter(double(positions), benchmark::Counter::kIsRate);
  state.counters["nodes"] = benchmark::Counter(double(nodes), benchmark::Counter::kAvgIterations);
}

void BM_Search9(benchmark::State& state) { run_search(state, position9, 1); }
void BM_Search19(benchmark::State& state) { run_search(state, position19, 2); }

// The whole level-1 think on the 9x9 position (its budget is 2 seconds).
void BM_Think9(benchmark::State& state) {
  start_engine();
  for (auto _ : state) {
    position9();
    benchmark::DoNotOptimize(think(side_to_move()).move);
  }
}

}  // namespace

BENCHMARK(BM_Search9)->Arg(3)->Arg(4)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search19)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Think9)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
