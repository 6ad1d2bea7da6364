#include <chrono>

#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/think.h"
#include "mc/simple_mc.h"

namespace {

// Candidates are sampled in rounds of this many playouts each, so that a
// clock stop leaves every candidate with nearly the same number of games
// instead of the last rows with none.
constexpr int FLAT_BATCH = 10;
constexpr int CANDIDATE_MAX = BOARD_MAX * BOARD_MAX + 1;

// a has the higher Black win share than b (exact, in integers).
bool rate_above(const FlatCandidate& a, const FlatCandidate& b) {
  return int64_t(a.wins) * b.playouts > int64_t(b.wins) * a.playouts;
}

double rate(const FlatCandidate& c) { return c.playouts ? double(c.wins) / c.playouts : 0.0; }

bool legal_root_move(int z, int color) {
  if (z && gban.ban[z] != EMPTY) return false;
  if (put_stone(gban, z, color) != PUT_OK) return false;
  // A pass repeats the position with the other side to move, which is no repetition.
  bool repeats = z && super_ko_check();
  take_back(gban, z, color);
  return !repeats;
}

void print_grid(const FlatCandidate* list, int n) {
  PRT("    ");
  for (int x = 1; x <= gban.size; x++) PRT("%5d", x);
  PRT("\n");
  for (int y = 1; y <= gban.size; y++) {
    PRT("%2d: ", y);
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y), i = 1;
      while (i < n && list[i].z != z) i++;
      if (i < n && list[i].playouts) PRT("%5.2f", rate(list[i]));
      else PRT("%5s", gban.ban[z] == EMPTY ? "-" : "*");
    }
    PRT("\n");
  }
  if (n > 0 && list[0].z == 0) PRT("%5.2f ... pass\n", rate(list[0]));
}

}  // namespace

int flat_mc_choose(const FlatCandidate* list, int n, int color) {
  int best = -1, worst = -1;
  for (int i = 0; i < n; i++) {
    if (!list[i].playouts) continue;
    if (best < 0 || rate_above(list[i], list[best])) best = i;
    if (worst < 0 || rate_above(list[worst], list[i])) worst = i;
  }
  if (best < 0 || (!rate_above(list[best], list[worst]))) return 0;
  return color == BLACK ? list[best].z : list[worst].z;
}

int flat_mc_think(int color) {
  auto start = std::chrono::steady_clock::now();
  simple_mc_stats = {};
  print_board(gban);

  FlatCandidate list[CANDIDATE_MAX];
  int n = 0;
  if (legal_root_move(0, color)) list[n++] = {0, 0, 0};
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y);
      if (legal_root_move(z, color)) list[n++] = {z, 0, 0};
    }
  }
  simple_mc_stats.candidates = n;

  long long score_sum = 0, length_sum = 0;
  for (int done = 0; done < FLAT_PLAYOUTS && !think_stop; done += FLAT_BATCH) {
    for (int i = 0; i < n && !think_stop; i++) {
      put_stone(gban, list[i].z, color);
      for (int k = 0; k < FLAT_BATCH && !time_up(); k++) {
        int length = 0;
        int score = simple_playout(opponent(color), &length);
        if (score - komi > 0) list[i].wins++;
        list[i].playouts++;
        score_sum += score;
        length_sum += length;
        simple_mc_stats.playouts++;
      }
      take_back(gban, list[i].z, color);
    }
  }
  print_grid(list, n);

  FlatCandidate sorted[CANDIDATE_MAX];
  for (int i = 0; i < n; i++) sorted[i] = list[i];
  for (int i = 0; i < n; i++) {
    int top = i;
    for (int j = i + 1; j < n; j++) {
      if (rate_above(sorted[j], sorted[top])) top = j;
    }
    std::swap(sorted[i], sorted[top]);
  }
  PRT("try_n=%5d\n\n", n);
  for (int i = 0; i < n; i++) PRT("%3d: %04x = %5.2f\n", i, sorted[i].z, rate(sorted[i]));

  int playouts = simple_mc_stats.playouts;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  PRT("平均のコミ = %+5.2f, 平均手数=%3.2f\n", playouts ? double(score_sum) / playouts : 0.0,
      playouts ? double(length_sum) / playouts : 0.0);
  PRT("%.1f 秒。%3.0f局面/秒 局面=%d\n", seconds, seconds > 0 ? playouts / seconds : 0.0, playouts);

  int move = flat_mc_choose(list, n, color);
  for (int i = 0; i < n; i++) {
    if (list[i].z == move && list[i].playouts) {
      double black_share = rate(list[i]);
      latest_value = color == BLACK ? black_share : 1.0 - black_share;
    }
  }
  think_best_move = move;
  return move;
}
