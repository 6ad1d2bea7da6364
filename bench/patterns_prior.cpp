// Cost of the pattern lookups per candidate point: the 3x3 weight, the
// large-pattern factor and the whole prior, on a middle-game 19x19 board.
// Needs mm3x3.db and patlist.db beside the benchmark.
#include <benchmark/benchmark.h>

#include "core/board.h"
#include "core/random.h"
#include "mc/patterns.h"

namespace {

bool set_up() {
  static int state = -1;
  if (state < 0) {
    random_startup();
    ban_size = 19;
    board_reset(gban, 19);
    state = load_mm3x3() && make_pattern_weights(19) && load_hashpat_list();
    // A reproducible middle-game scatter of stones.
    rand_set_seed(7);
    for (int i = 0; i < 120; i++) {
      const int z = make_z(1 + rand_next() % 19, 1 + rand_next() % 19);
      if (gban.ban[z] == EMPTY && put_stone(gban, z, 1 + (i & 1)) != PUT_OK) continue;
    }
    gban.fukasa = 0;
  }
  return state == 1;
}

template <typename F>
void over_empty_points(benchmark::State& state, F f) {
  if (!set_up()) {
    state.SkipWithError("mm3x3.db or patlist.db missing");
    return;
  }
  double sink = 0;
  long points = 0;
  for (auto _ : state) {
    for (int y = 1; y <= 19; y++) {
      for (int x = 1; x <= 19; x++) {
        const int z = make_z(x, y);
        if (gban.ban[z] != EMPTY) continue;
        sink += f(z);
        points++;
      }
    }
  }
  benchmark::DoNotOptimize(sink);
  state.counters["points/s"] = benchmark::Counter(double(points), benchmark::Counter::kIsRate);
}

void BM_pattern_weight(benchmark::State& state) {
  over_empty_points(state, [](int z) { return double(pattern_weight_at(gban, z, BLACK, make_z(10, 10))); });
}
void BM_big_pattern_factor(benchmark::State& state) {
  over_empty_points(state, [](int z) { return big_pattern_factor(gban, z, BLACK); });
}
void BM_pattern_prior(benchmark::State& state) {
  over_empty_points(state, [](int z) { return pattern_prior(gban, z, BLACK, make_z(10, 10), make_z(4, 4)); });
}

}  // namespace

BENCHMARK(BM_pattern_weight);
BENCHMARK(BM_big_pattern_factor);
BENCHMARK(BM_pattern_prior);
BENCHMARK_MAIN();
