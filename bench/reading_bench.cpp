// Tactical reading: nodes per second on both boards, reading every string of
// random 9x9 and 19x19 positions (the reading table cleared between rounds).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/reading.h"

namespace {

struct Move {
  int z, color;
};

std::vector<Move> random_game(int size, int moves, unsigned seed) {
  std::mt19937 rng(seed);
  auto b = std::make_unique<GlobalBoard>();
  board_reset(*b, size);
  std::vector<Move> game;
  int color = BLACK;
  for (int tries = 0; int(game.size()) < moves && tries < moves * 20; tries++) {
    int z = make_z(1 + int(rng() % size), 1 + int(rng() % size));
    if (b->ban[z] != EMPTY || put_stone(*b, z, color) != PUT_OK) continue;
    game.push_back({z, color});
    color = opponent(color);
  }
  return game;
}

template <int S>
void BM_reading(benchmark::State& state) {
  random_startup();
  make_hashboard64();
  int size = int(state.range(0));
  auto b = std::make_unique<Board<S>>();
  std::vector<std::vector<int>> targets;
  std::vector<std::vector<Move>> games;
  for (unsigned g = 0; g < 8; g++) games.push_back(random_game(size, size * size / 3, g + 1));
  ReadingState& rs = reading_state(0);
  long nodes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    reading_table_clear();
    state.ResumeTiming();
    for (const auto& game : games) {
      board_reset(*b, size);
      for (Move m : game) put_stone(*b, S == 256 ? m.z : zc_from_z(m.z), m.color);
      b->fukasa = 0;
      long before = rs.nodes;
      for (int y = 1; y <= size; y++)
        for (int x = 1; x <= size; x++) {
          int z = S == 256 ? make_z(x, y) : zc_from_z(make_z(x, y));
          if (b->ban[z] == BLACK || b->ban[z] == WHITE) kill_string(*b, z, rs);
        }
      nodes += rs.nodes - before;
    }
  }
  state.counters["nodes/s"] = benchmark::Counter(double(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_reading, 256)->Arg(9)->Arg(19)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_reading, 32)->Arg(9)->Arg(19)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
