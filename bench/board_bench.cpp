// put_stone + take_back pairs on both boards, over recorded random games:
// each iteration plays a whole recorded game forward and takes it back.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "core/board.h"
#include "core/position_table.h"
#include "core/random.h"

namespace {

struct Move {
  int z, color;
};

// Random legal games on 19x19 that avoid filling own eyes, in point codes.
std::vector<std::vector<Move>> record_games(int count) {
  std::vector<std::vector<Move>> games;
  std::mt19937 rng(2026);
  auto b = std::make_unique<GlobalBoard>();
  for (int g = 0; g < count; g++) {
    board_reset(*b, 19);
    std::vector<Move> moves;
    int color = BLACK;
    for (int i = 0; i < 250 && b->ren_num < REN_MAX - 8; i++) {
      int z = 0;
      for (int tries = 0; tries < 40 && !z; tries++) {
        int p = make_z(1 + int(rng() % 19), 1 + int(rng() % 19));
        if (b->ban[p] != EMPTY) continue;
        bool eye = true;
        for (int d : {1, -1, 256, -256}) eye &= b->ban[p + d] == color || b->ban[p + d] == EDGE;
        if (!eye && put_stone(*b, p, color) == PUT_OK) z = p;
      }
      if (!z) put_stone(*b, 0, color);
      moves.push_back({z, color});
      color = opponent(color);
    }
    games.push_back(moves);
  }
  return games;
}

const std::vector<std::vector<Move>>& games() {
  static const auto recorded = [] {
    random_startup();
    make_hashboard64();
    return record_games(20);
  }();
  return recorded;
}

template <int S>
void BM_PutTakeBack(benchmark::State& state) {
  const auto& recorded = games();
  auto b = std::make_unique<Board<S>>();
  int64_t pairs = 0;
  size_t g = 0;
  for (auto _ : state) {
    const auto& moves = recorded[g++ % recorded.size()];
    board_reset(*b, 19);
    for (const Move& m : moves) put_stone(*b, S == 256 ? m.z : zc_from_z(m.z), m.color);
    for (size_t i = moves.size(); i-- > 0;) take_back(*b, S == 256 ? moves[i].z : zc_from_z(moves[i].z), moves[i].color);
    pairs += int64_t(moves.size());
  }
  state.counters["pairs/s"] = benchmark::Counter(double(pairs), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_PutTakeBack<256>)->Name("global_board_put_take_back");
BENCHMARK(BM_PutTakeBack<32>)->Name("search_board_put_take_back");

}  // namespace

BENCHMARK_MAIN();
