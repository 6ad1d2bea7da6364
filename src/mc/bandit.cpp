#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/gtp.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/random.h"
#include "core/think.h"
#include "mc/simple_mc.h"

int hash_mc_use;

namespace {

constexpr uint32_t HASH_MC_MASK = Hash_MC_Table_Size - 1;
constexpr int BANDIT_FUKASA_MAX = 127;
constexpr int PV_PRINT_EVERY = 2000;
constexpr double UNVISITED_SCORE = 10000.0;
constexpr uint32_t UNVISITED_SPREAD = 32768;  // random order among unvisited moves
constexpr double UCB_DIVISOR = 5.0;      // sqrt(ln N / (5 n))
constexpr double LCB_FACTOR = 2.0;       // sqrt(2 ln N / n)
constexpr double BEST_WEIGHT = 0.01;
constexpr double ROOT_PASS_PENALTY = 0.1;

HASH_MC* hash_mc = nullptr;
int path[BANDIT_FUKASA_MAX + 1];
int bandit_nodes;
int deepest;

// 1 when Black wins the playout, 0 otherwise, on `color`'s scale.
double playout_result(int color) {
  simple_mc_stats.playouts++;
  double r = simple_playout(color) - komi > 0 ? 1.0 : 0.0;
  return color == WHITE ? -r : r;
}

int select_move(const HASH_MC& node) {
  int best = -1;
  double best_score = 0;
  for (int i = 0; i < node.child_num; i++) {
    const McMove& m = node.moves[i];
    double score = m.visits == 0 ? UNVISITED_SCORE + simple_mc_random() % UNVISITED_SPREAD
                                 : m.value + std::sqrt(std::log(double(node.games)) / (UCB_DIVISOR * m.visits));
    if (best < 0 || score > best_score) best = i, best_score = score;
  }
  if (best < 0) INTERNAL_STOP("select move Err, nokori=%d\n", node.child_num);
  return best;
}

void remove_move(HASH_MC& node, int i) { node.moves[i] = node.moves[--node.child_num]; }

void print_pv(int color) {
  int played[BANDIT_DEPTH_MAX + 1], colors[BANDIT_DEPTH_MAX + 1], n = 0;
  while (n <= BANDIT_DEPTH_MAX) {
    const HASH_MC* node = hash_mc_find(gban.hash, false);
    if (!node) break;
    int i = bandit_recommend(*node);
    if (i < 0) break;
    int z = node->moves[i].z;
    if ((z && gban.ban[z] != EMPTY) || put_stone(gban, z, color) != PUT_OK) {
      PRT("illegal in pv z=%04x\n", z);
      break;
    }
    PRT("%04x:%5d(%9f) ", z, node->moves[i].visits, node->moves[i].value);
    played[n] = z, colors[n] = color, n++;
    color = opponent(color);
  }
  PRT("\n");
  while (n > 0) n--, take_back(gban, played[n], colors[n]);
}

}  // namespace

void hash_mc_init() {
  if (!hash_mc) {
    hash_mc = static_cast<HASH_MC*>(std::calloc(Hash_MC_Table_Size, sizeof(HASH_MC)));
    if (!hash_mc) INTERNAL_STOP("Fail malloc hash_mc\n");
  } else {
    std::memset(static_cast<void*>(hash_mc), 0, sizeof(HASH_MC) * Hash_MC_Table_Size);
  }
  hash_mc_use = 0;
  PRT("Hash_MC_Table_Size=%d,size=%dMB,sizeof(HASH_MC)=%d\n", Hash_MC_Table_Size,
      int(sizeof(HASH_MC) * Hash_MC_Table_Size / (1024 * 1024)), int(sizeof(HASH_MC)));
}

HASH_MC* hash_mc_find(const Hash96& key, bool create) {
  if (!hash_mc) hash_mc_init();
  const uint32_t home = key.w[0] & HASH_MC_MASK;
  for (int i = -1; i < PROBE_NUM; i++) {
    HASH_MC& e = hash_mc[i < 0 ? home : (home + uint32_t(probe_offset[i])) & HASH_MC_MASK];
    if (e.used && e.key == key) return &e;
    if (!e.used) {
      if (!create) return nullptr;
      e.used = 1;
      e.key = key;
      e.child_num = 0;
      e.games = 0;
      hash_mc_use++;
      return &e;
    }
  }
  if (!create) return nullptr;
  INTERNAL_STOP("hash_over. hash_mc_use=%d,loop=%d\n", hash_mc_use, PROBE_NUM);
}

void bandit_generate(HASH_MC& node) {
  int points[BOARD_MAX * BOARD_MAX], n = 0;
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y);
      if (gban.ban[z] == EMPTY && z != gban.kou_iti) points[n++] = z;
    }
  }
  if (n + 1 > MC_BORAD_SIZE) INTERNAL_STOP("over MC_BORAD_SIZE nokori=%d\n", n + 1);
  node.moves[0] = {0, 0, 0.0};
  for (int i = 0; i < n; i++) node.moves[i + 1] = {points[i], 0, 0.0};
  node.child_num = n + 1;
}

double bandit_node_value(const HASH_MC& node) {
  int best = -1;
  double sum = 0;
  for (int i = 0; i < node.child_num; i++) {
    const McMove& m = node.moves[i];
    sum += m.visits * m.value;
    // Only a visited move can be the best: an unvisited one's 0 would beat
    // every White value.
    if (m.visits && (best < 0 || m.value > node.moves[best].value)) best = i;
  }
  if (best < 0) return 0.0;
  const McMove& b = node.moves[best];
  return (sum + BEST_WEIGHT * b.visits * b.value) / (node.games + BEST_WEIGHT * b.visits);
}

int bandit_recommend(const HASH_MC& node) {
  int best = -1;
  double best_bound = 0;
  for (int i = 0; i < node.child_num; i++) {
    const McMove& m = node.moves[i];
    if (!m.visits) continue;
    double bound = m.value - std::sqrt(LCB_FACTOR * std::log(double(node.games)) / m.visits);
    if (best < 0 || bound > best_bound) best = i, best_bound = bound;
  }
  return best;
}

double bandit_search(int color, int depth) {
  bandit_nodes++;
  if (depth > deepest) deepest = depth;
  if (depth > BANDIT_DEPTH_MAX || (depth > 1 && path[depth - 1] == 0 && path[depth - 2] == 0)) {
    return playout_result(color);
  }
  HASH_MC* node = hash_mc_find(gban.hash, true);
  if (node->child_num == 0) bandit_generate(*node);

  int i, z;
  for (;;) {
    i = select_move(*node);
    z = node->moves[i].z;
    if (put_stone(gban, z, color) == PUT_OK) {
      // At the root a move that repeats an earlier position of the game would be refused.
      if (depth > 0 || z == 0 || !super_ko_check()) break;
      take_back(gban, z, color);
    }
    remove_move(*node, i);
    if (node->child_num == 0) INTERNAL_STOP("no legal move?\n");
  }
  if (depth + 1 > BANDIT_FUKASA_MAX) INTERNAL_STOP("fukasa over=%d\n", depth + 1);
  path[depth] = z;

  McMove& m = node->moves[i];
  double child = m.visits == 0 ? playout_result(opponent(color)) : bandit_search(opponent(color), depth + 1);
  take_back(gban, z, color);
  double value = 0.0 - child;  // no negative zero in the logs
  if (depth == 0 && z == 0) value -= ROOT_PASS_PENALTY;
  // The child's value already averages its subtree, so it replaces the old one.
  m.value = value;
  m.visits++;
  node->games++;
  return bandit_node_value(*node);
}

int bandit_think(int color) {
  if (gban.size > BANDIT_BOARD_MAX) {
    PRT("level 4 plays boards up to %dx%d; level 3 chooses this move on %dx%d\n", BANDIT_BOARD_MAX,
        BANDIT_BOARD_MAX, gban.size, gban.size);
    int move = flat_mc_think(color);
    simple_mc_stats.fell_back = true;
    return move;
  }
  auto start = std::chrono::steady_clock::now();
  simple_mc_stats = {};
  hash_mc_init();
  bandit_nodes = 0;
  deepest = 0;
  double value = 0;
  for (int it = 1; it <= BANDIT_ITERATIONS; it++) {
    value = bandit_search(color, 0);
    simple_mc_stats.iterations = it;
    if (it % PV_PRINT_EVERY == 0) print_pv(color);
    if (time_up()) break;
  }
  if (simple_mc_stats.iterations % PV_PRINT_EVERY) print_pv(color);

  const HASH_MC* root = hash_mc_find(gban.hash, false);
  int best = root ? bandit_recommend(*root) : -1;
  if (best < 0) INTERNAL_STOP("max=%f,max_value=%f\n", -1.0, value);
  int move = root->moves[best].z;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  int playouts = simple_mc_stats.playouts;
  PRT("%2d:v=%f,bandit_nodes=%d,hash=%d\n%2.1f 秒。%3.0f局面/秒 局面=%d,RM=%d,nodes=%d\n\n", deepest, value,
      bandit_nodes, hash_mc_use, seconds, seconds > 0 ? playouts / seconds : 0.0, playouts, deepest, bandit_nodes);
  // The root value is on the mover's scale; report the mover's winning share.
  latest_value = color == BLACK ? value : 1.0 + value;
  think_best_move = move;
  return move;
}
