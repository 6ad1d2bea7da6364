// A book query on 19x19: every empty point played, keyed (16 symmetric keys
// for the whole-board book, 2 for the corner book) and looked up. Needs
// book19.db and book11.db beside the benchmark.
#include <benchmark/benchmark.h>

#include "core/board.h"
#include "core/kifu.h"
#include "core/random.h"
#include "knowledge/book.h"

namespace {

bool set_up() {
  static int state = -1;
  if (state < 0) {
    random_startup();
    ban_size = 19;
    board_reset(gban, 19);
    kifu_clear();
    state = books_ready();
    // A common opening: 4-4, 3-4, approach.
    const int moves[][2] = {{16, 4}, {4, 16}, {17, 16}, {4, 3}, {15, 17}};
    for (auto& m : moves) {
      const int color = tesuu % 2 ? WHITE : BLACK;
      put_stone(gban, make_z(m[0], m[1]), color);
      kifu[++tesuu] = KifuEntry{make_z(m[0], m[1]), color, 0};
    }
    gban.fukasa = 0;
  }
  return state == 1;
}

void BM_book_choice(benchmark::State& state) {
  if (!set_up()) {
    state.SkipWithError("book19.db and book11.db missing");
    return;
  }
  const int size = int(state.range(0));
  int force = 0;
  for (auto _ : state) benchmark::DoNotOptimize(book_choice(WHITE, size, &force));
}

}  // namespace

BENCHMARK(BM_book_choice)->Arg(19)->Arg(11)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
