// The plain random playout of levels 3 and 4 on the global board: whole games
// per second on 9x9, from the empty board and from a middle-game position.
#include <benchmark/benchmark.h>

#include <random>

#include "core/board.h"
#include "core/random.h"
#include "mc/simple_mc.h"

namespace {

constexpr int SIZE = 9;
constexpr int MIDDLE_GAME_MOVES = 40;

// The empty board, or the stones of a random game of `moves` moves as the
// initial position (so the playout starts at depth 0 as in a think).
void set_position(int moves) {
  random_startup();
  ban_size = SIZE;
  for (auto& c : initial_ban[SIZE]) c = EMPTY;
  init_ban();
  std::mt19937 rng(2026);
  int color = BLACK;
  for (int played = 0, tries = 0; played < moves && tries < moves * 50; tries++) {
    int z = make_z(1 + int(rng() % SIZE), 1 + int(rng() % SIZE));
    if (gban.ban[z] != EMPTY || put_stone(gban, z, color) != PUT_OK) continue;
    played++;
    color = opponent(color);
  }
  store_initial_position();
  init_ban();
}

void BM_random_playout(benchmark::State& state) {
  set_position(int(state.range(0)));
  simple_mc_seed(1);
  long games = 0, moves = 0, black_wins = 0;
  for (auto _ : state) {
    int length = 0;
    int score = simple_playout(BLACK, &length);
    benchmark::DoNotOptimize(score);
    games++;
    moves += length;
    black_wins += score > 0;
  }
  state.counters["games/s"] = benchmark::Counter(double(games), benchmark::Counter::kIsRate);
  state.counters["moves/game"] = double(moves) / double(games);
  state.counters["black_share"] = double(black_wins) / double(games);
}

}  // namespace

BENCHMARK(BM_random_playout)->Arg(0)->Arg(MIDDLE_GAME_MOVES)->ArgName("stones_played");

BENCHMARK_MAIN();
