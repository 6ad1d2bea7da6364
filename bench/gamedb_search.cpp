// Game-database search over a database built from the professional corpus:
// RANVEL_GAMEDB names its folder (default: the working folder).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/gamedb.h"

namespace {

// The position after the first moves of a game from the middle of the database.
bool set_up(int moves) {
  static bool started = false;
  if (!started) {
    started = true;
    random_startup();
    if (const char* f = getenv("RANVEL_GAMEDB")) gamedb_set_folder(f);
  }
  if (!gamedb_ready() || gamedb_records().empty()) return false;
  const auto& db = gamedb_records();
  size_t i = db.size() / 2;
  while (i < db.size() && (db[i].excluded || db[i].move_num < moves)) i++;
  if (i == db.size()) return false;
  ban_size = 19;
  board_reset(gban, 19);
  for (int k = 0; k < moves; k++) {
    if (db[i].moves[k] <= 0 || put_stone(gban, db[i].moves[k], (k & 1) ? WHITE : BLACK) != PUT_OK) return false;
  }
  return true;
}

void run(benchmark::State& state, int mode) {
  if (!set_up(int(state.range(0)))) {
    state.SkipWithError("no happo.db (set RANVEL_GAMEDB to its folder)");
    return;
  }
  int found = 0;
  for (auto _ : state) found = happo_search(mode).total;
  state.counters["games"] = double(gamedb_records().size());
  state.counters["matches"] = found;
}

void BM_gamedb_whole(benchmark::State& state) { run(state, HAPPO_WHOLE); }
void BM_gamedb_corner(benchmark::State& state) { run(state, HAPPO_CORNER); }

}  // namespace

// 0: the empty board, which every game reaches; 80: a middle game, which only its own game reaches.
BENCHMARK(BM_gamedb_whole)->Arg(0)->Arg(6)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_gamedb_corner)->Arg(0)->Arg(6)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
