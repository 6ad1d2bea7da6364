#include "knowledge/root_search.h"

#include <algorithm>

#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/move_gen.h"
#include "knowledge/shape_rules.h"

namespace {

constexpr int INF = SEARCH_VALUE_MAX;
constexpr int ROOT_GENERATOR_DEPTH = 3;  // the root always gets the full set of generators

struct RootChoice {
  Hash96 hash;
  int color;
  int move;   // -1 none
  int score;
};
RootChoice last_choice = {{}, 0, -1, 0};

// Value of the position after the move already put on the board, from the mover's view.
int value_after(const SearchMove& m, int color) {
  tejun_hash_set(gban.fukasa);
  int v = -search(-INF, INF, opponent(color), &m);
  tejun_hash_del(gban.fukasa);
  return v;
}

bool playable(const SearchMove& m, int color) {
  if (put_stone(gban, m.z, color) != PUT_OK) return false;
  if (m.z == 0) return true;
  if (super_ko_check() || self_atari(m.z, color)) {
    take_back(gban, m.z, color);
    return false;
  }
  return true;
}

void set_root_pv(int z) {
  pv[0].z[0] = z;
  pv[0].len = 1;
}

}  // namespace

int root_score(int value_move, int value_pass, double factor) { return int((value_move - value_pass) * factor); }

int root_search(int, int, int color) {
  if (think_retry_root && last_choice.move >= 0 && last_choice.hash == gban.hash && last_choice.color == color) {
    set_root_pv(last_choice.move);
    return last_choice.score;
  }
  const int depth_max = DM;
  int n = std::min(generate_moves(std::max(depth_max, ROOT_GENERATOR_DEPTH), color), width_limit(0, depth_max));
  SearchMove root[MOVE_LIST_MAX];
  std::copy(move_list[0].m, move_list[0].m + n, root);
  double factor[MOVE_LIST_MAX];
  for (int i = 0; i < n; i++) factor[i] = shape_factor(root[i].z, color);

  int chosen = -1, chosen_score = -INF;
  for (int d = 1; d <= depth_max && !think_stop; d++) {
    DM = RM = d;
    SearchMove pass = {0, color, 0, 0};
    put_stone(gban, 0, color);
    int value_pass = value_after(pass, color);
    take_back(gban, 0, color);
    if (think_stop) break;
    PRT("PASSの最善は%04x\n", pv[1].len ? pv[1].z[0] : 0);
    int best = -1, best_score = -INF, best_value = 0;
    bool complete = true;
    for (int i = 0; i < n; i++) {
      if (!playable(root[i], color)) continue;
      int value = value_after(root[i], color);
      take_back(gban, root[i].z, color);
      if (think_stop) {
        complete = false;
        break;
      }
      int score = root_score(value, value_pass, factor[i]);
      PRT("v=%5d (%6d -> %6d),\n", score, value_pass, value);
      if (score > best_score) best = i, best_score = score, best_value = value;
    }
    // A deeper pass replaces the shallower choice only when it saw every candidate.
    if (best >= 0 && (complete || chosen < 0)) {
      chosen = best, chosen_score = best_score;
      if (DM < DEPTH_TABLE_SIZE) depth_best_move[DM] = root[best].z;
      PRT("v=%d(%+d),pass=%d,nokori=%d,DM=%d\n", best_value, best_score, value_pass, n, DM);
    }
  }
  DM = depth_max;
  int move = chosen >= 0 ? root[chosen].z : 0;
  set_root_pv(move);
  last_choice = {gban.hash, color, move, chosen >= 0 ? chosen_score : -1};
  return last_choice.score;
}
