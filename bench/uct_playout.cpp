// Playouts per second of one thread (9x9 and 19x19, empty board and a
// professional middle game), and the simulations per second of the whole
// search on one and two threads. Needs mm3x3.db and patlist.db beside the
// benchmark; the middle games come from the shared corpus when it is there,
// else from a position the playout policy plays itself.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "core/board.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/position_table.h"
#include "core/random.h"
#include "core/think.h"
#include "mc/ownership.h"
#include "mc/uct.h"
#include "records/engine_load.h"

namespace {

const std::string corpus_dir = std::string(__FILE__).substr(0, std::string(__FILE__).rfind('/')) + "/../../shared/corpus/";

bool started() {
  static int state = -1;
  if (state < 0) {
    random_startup();
    hash_tables_init();
    state = load_mm3x3() && load_hashpat_list();
  }
  return state == 1;
}

// The first game of a corpus collection of the size, up to `moves` moves.
bool load_corpus_game(const char* file, int size, int moves) {
  const std::string cmd = "xz -dc '" + corpus_dir + file + "' 2>/dev/null | head -c 400000";
  FILE* in = popen(cmd.c_str(), "r");
  if (!in) return false;
  std::string text;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, in)) > 0) text.append(buf, n);
  pclose(in);
  const std::string tag = "SZ[" + std::to_string(size) + "]";
  for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
    const size_t start = text.rfind("(;", at), end = text.find("\n(;", at);
    if (start == std::string::npos) continue;
    const std::string path = "/tmp/ranvel_bench_game.sgf";
    FILE* out = fopen(path.c_str(), "wb");
    if (!out) return false;
    fwrite(text.data() + start, 1, (end == std::string::npos ? text.size() : end) - start, out);
    fclose(out);
    const std::string args = path + " " + std::to_string(moves + 1);
    if (gtp_loadsgf(args.c_str()) == 0 && tesuu >= moves) return true;
  }
  return false;
}

void set_position(int size, int moves) {
  ban_size = size;
  ban_clear();
  kifu_clear();
  if (moves == 0) return;
  const char* file = size == 19 ? "pro19-b-2000on.sgf.xz" : "pro-small-9x9-13x13.sgf.xz";
  if (load_corpus_game(file, size, moves)) return;
  // No corpus: the playout policy plays the opening itself.
  auto t = std::make_unique<UctThread>();
  mc_random_seed(t->rng, 0, 1, 1);
  sample_ownership(*t, BLACK, 1);
  for (int i = 0; i < moves && i < t->po_move_num; i++) {
    set_kifu_time(z_from_zc(t->po_moves[i]), t->po_colors[i], 0);
  }
}

void BM_playouts(benchmark::State& state) {
  if (!started()) {
    state.SkipWithError("mm3x3.db or patlist.db missing");
    return;
  }
  const int size = int(state.range(0)), moves = int(state.range(1));
  set_position(size, moves);
  auto t = std::make_unique<UctThread>();
  mc_random_seed(t->rng, 0, 7, 7);
  uct_komi = 6.5;
  long playouts = 0, length = 0, unscored = 0;
  for (auto _ : state) {
    sample_ownership(*t, moves & 1 ? WHITE : BLACK, 200);
    playouts += t->mc_sims;
    length += t->po_move_num;
    for (int z = 0; z < MC_POINTS; z++) unscored += t->owner[z] == 0 && t->po.b.ban[z] == EMPTY;
  }
  state.counters["playouts/s"] = benchmark::Counter(double(playouts), benchmark::Counter::kIsRate);
  // Of the last playout of each round: its length and the points its count gave nobody.
  state.counters["moves/playout"] = double(length) * 200 / double(playouts);
  state.counters["unscored"] = double(unscored) * 200 / double(playouts);
}

void BM_search(benchmark::State& state) {
  if (!started()) {
    state.SkipWithError("mm3x3.db or patlist.db missing");
    return;
  }
  const int size = int(state.range(0));
  set_position(size, size == 19 ? 120 : 20);
  uct_settings.threads = int(state.range(1));
  uct_settings.playouts = size == 19 ? 2000 : 8000;
  uct_settings.time_stop = false;
  opening_enabled = 0;
  long sims = 0;
  double seconds = 0;
  for (auto _ : state) {
    think_start_clock();
    kifu_tejun_set();
    const auto begin = std::chrono::steady_clock::now();
    uct_root(tesuu & 1 ? WHITE : BLACK);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    for (UctThread* t : uct_local) sims += t->mc_sims;
  }
  state.counters["sims/s"] = double(sims) / seconds;
}

}  // namespace

BENCHMARK(BM_playouts)->Args({9, 0})->Args({9, 30})->Args({19, 0})->Args({19, 120})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_search)->Args({9, 1})->Args({9, 2})->Args({19, 1})->Args({19, 2})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
