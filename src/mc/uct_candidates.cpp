// A node's candidates: pruning, priors from patterns and reading, the sort,
// and the child that progressive widening admits next.
#include <algorithm>
#include <cmath>
#include <mutex>

#include "core/gtp.h"
#include "core/log.h"
#include "knowledge/reading.h"
#include "mc/ownership.h"
#include "mc/uct.h"

namespace {

constexpr int DIR4[4] = {1, 32, -1, -32};
constexpr int DIAG[4] = {33, 31, -33, -31};
constexpr int CLEANUP_PLAYOUTS = 100;
constexpr double CLEANUP_SECURE_FACTOR = 1e-8;
constexpr double CLEANUP_DEAD_FACTOR = 100000;
constexpr int CLEANUP_DEAD_ORTHOGONAL = 1001;
constexpr double CLEANUP_TACTICAL_FACTOR = 10000;
constexpr double VISITED_PRIOR_SCALE = 0.2;
constexpr int VISITED_PRIOR_OFFSET = 10;
constexpr int READ_ROOT_DEPTH = 7;
constexpr int READ_NEAR_ROOT_DEPTH = 5;
constexpr int STONES_COUNTED_MAX = 8;
constexpr int RAVE_CHILD_FLAG_BONUS = 100;
constexpr int HINT_STRING_MIN_STONES = 3;

// Reading shares one table and two states; searches on more threads take turns.
std::mutex reading_lock;

bool is_own_eye(const SearchBoard& b, int z, int col) {
  for (int d : DIR4) {
    if (b.ban[z + d] != col && b.ban[z + d] != EDGE) return false;
  }
  int own = 0, own_or_edge = 0;
  for (int j = 0; j < 8; j++) {
    const int c = b.ban[z + PATTERN_DIR32[j]];
    own += c == col;
    own_or_edge += c == col || c == EDGE;
  }
  return own_or_edge == 8 || own > 6;
}

bool is_suicide(const SearchBoard& b, int z, int col) {
  for (int d : DIR4) {
    const int c = b.ban[z + d];
    if (c == EMPTY) return false;
    if (c == col && b.ren[string_of(b, z + d)].lib_num >= 2) return false;
    if (c == opponent(col) && b.ren[string_of(b, z + d)].lib_num == 1) return false;
  }
  return true;
}

void add_urgent_point(HashGo* node, int z) {
  if (z <= 0) return;
  for (int i = 0; i < node->urgent_num; i++) {
    if (node->urgent[i] == z) return;
  }
  if (node->urgent_num < URGENT_POINT_MAX) node->urgent[node->urgent_num++] = uint16_t(z);
}

// Without reading (deep in the tree): a string in atari is taken at its
// liberty, and saved there when the extension breathes.
void atari_hint(SearchBoard& b, const StringRecord<32>& r, StringHint& h) {
  const int lib = r.libs[0];
  h.result[0] = uint16_t(lib);
  h.result[1] = READ_DEAD;
  const int libs = libs_after_move(b, lib, r.color, 3);
  bool saved = libs >= 3;
  if (libs == 2 && lib != b.kou_iti && put_stone(b, lib, r.color) == PUT_OK) {
    saved = !ladder_capturable(b, lib, opponent(r.color));
    take_back(b, lib, r.color);
  }
  if (saved) h.result[2] = uint16_t(lib), h.result[3] = READ_LIVE;
}

// Reading of the strings short of liberties: hints for the playouts and the
// signed adjustments of the priors.
void tactical_adjust(UctThread& t, HashGo* node, int col, int adj[MC_POINTS]) {
  SearchBoard& b = t.tree.b;
  const bool read = t.depth <= 1;
  for (int k = 1; k <= b.ren_num && node->string_hint_num < STRING_HINT_MAX; k++) {
    const StringRecord<32>& r = b.ren[k];
    if (!r.alive || r.id != k || r.lib_num > (read ? 2 : 1)) continue;
    StringHint h{uint16_t(r.first), {NO_MOVE_HINT, 0, NO_MOVE_HINT, 0}};
    if (read) {
      std::lock_guard guard(reading_lock);
      ReadingState& rs = reading_state(t.index);
      // The depth is the search's own: the analysis and the scoring that
      // read after it keep theirs.
      const int configured_depth = rs.max_depth;
      rs.max_depth = t.depth == 0 ? READ_ROOT_DEPTH : READ_NEAR_ROOT_DEPTH;
      if (kill_string(b, r.first, rs) == READ_DEAD) {
        const int kill = reading_move(b, rs);
        if (kill > 0) h.result[0] = uint16_t(kill), h.result[1] = READ_DEAD;
        if (save_string(b, r.first, kill, rs) == READ_LIVE && reading_move(b, rs) > 0) {
          h.result[2] = uint16_t(reading_move(b, rs)), h.result[3] = READ_LIVE;
        }
      }
      rs.max_depth = configured_depth;
    } else {
      atari_hint(b, r, h);
    }
    if (h.result[1] != READ_DEAD) continue;
    node->string_hint[node->string_hint_num++] = h;
    const int stones = std::min(r.stones, STONES_COUNTED_MAX);
    const bool unsettled = h.result[3] == READ_LIVE;
    // A string in dispute with two liberties: whoever takes one, the other
    // side answers at the other.
    const int attacker = opponent(r.color);
    if (unsettled && r.lib_num == 2 && r.stones >= 2 && node->pair_num[attacker] < HINT_PAIR_MAX) {
      node->pair[attacker][node->pair_num[attacker]++] = {uint16_t(r.libs[0]), uint16_t(r.libs[1])};
    }
    if (r.color == opponent(col)) {
      adj[h.result[0]] += unsettled ? 2 * stones + 2 : stones / 2 + 1;
      if (unsettled) add_urgent_point(node, h.result[0]);
    } else if (unsettled) {
      adj[h.result[2]] += stones + 2;
      add_urgent_point(node, h.result[2]);
      if (node->answer_after_num < HINT_ANSWER_AFTER_MAX) {
        node->answer_after[node->answer_after_num++] = {uint16_t(opponent(col)), h.result[0], h.result[2]};
      }
    } else if (r.stones > 1) {
      // Lost stones: running with them wastes the move.
      for (int i = 0; i < r.lib_num; i++) adj[r.libs[i]] -= 2;
    }
  }
}

void cleanup_priors(UctThread& t, HashGo* node, int col, const int adj[MC_POINTS]) {
  for (int i = 0; i < CLEANUP_PLAYOUTS; i++) playout(t, col, nullptr);
  PRT("mc_simulation_count=%d\n", CLEANUP_PLAYOUTS);
  OwnershipEstimate est;
  ownership_estimate(t, false, est);
  const SearchBoard& b = t.tree.b;
  const int o = opponent(col);
  auto dead_opponent = [&](int p) {
    return b.ban[p] == o && (o == BLACK ? est.own_percent[p] < -OWNERSHIP_SETTLED : est.own_percent[p] > OWNERSHIP_SETTLED);
  };
  for (int i = 0; i < node->child_num; i++) {
    UctChild& c = node->child[i];
    const int z = c.iti;
    if (z <= 0) continue;
    double prior = c.rave_value;
    const int per = est.own_percent[z];
    if ((col == BLACK && per < -OWNERSHIP_SETTLED) || (col == WHITE && per > OWNERSHIP_SETTLED)) {
      prior *= CLEANUP_SECURE_FACTOR;
    }
    int k = 0;
    for (int d : DIR4) k += dead_opponent(z + d) ? CLEANUP_DEAD_ORTHOGONAL : 0;
    for (int d : DIAG) k += dead_opponent(z + d) ? 1 : 0;
    prior *= CLEANUP_DEAD_FACTOR * k + 1;
    if (adj[z] != 0) prior *= CLEANUP_TACTICAL_FACTOR;
    c.rave_value = float(prior);
  }
}

bool forms_empty_triangle(const SearchBoard& b, int z, int col) {
  for (int i = 0; i < 4; i++) {
    const int d1 = DIR4[i], d2 = DIR4[(i + 1) & 3];
    const int p[3] = {z + d1, z + d2, z + d1 + d2};
    int own = 0, empty = 0;
    for (int q : p) own += b.ban[q] == col, empty += b.ban[q] == EMPTY;
    if (own == 2 && empty == 1) return true;
  }
  return false;
}

bool heavy_shape(const SearchBoard& b, int z, int col) {
  int own = 0, opp = 0, edge = 0;
  for (int j = 0; j < 8; j++) {
    const int c = b.ban[z + PATTERN_DIR32[j]];
    own += c == col, opp += c == opponent(col), edge += c == EDGE;
  }
  return own >= 4 && opp == 0 && edge == 0;
}

bool captures_something(const SearchBoard& b, int z, int col) {
  for (int d : DIR4) {
    if (b.ban[z + d] == opponent(col) && b.ren[string_of(b, z + d)].lib_num == 1) return true;
  }
  return false;
}

// A liberty of an opponent string of three or more stones that the
// ownership does not yet give away.
bool hinted_liberty(const UctThread& t, const HashGo* node, int z, int col) {
  const SearchBoard& b = t.tree.b;
  const long n = t.mc_sims > 0 ? t.mc_sims : 10;
  for (int i = 0; i < node->string_hint_num; i++) {
    const int s = node->string_hint[i].start_z;
    if (b.ban[s] != opponent(col)) continue;
    const StringRecord<32>& r = b.ren[string_of(b, s)];
    if (r.stones < HINT_STRING_MIN_STONES) continue;
    const long per = t.own.sum[s] * 100 / n;
    const bool settled = r.color == BLACK ? per <= -OWNERSHIP_SETTLED : per >= OWNERSHIP_SETTLED;
    if (settled) continue;
    for (int k = 0; k < r.lib_num; k++) {
      if (r.libs[k] == z) return true;
    }
  }
  return false;
}

}  // namespace

void prepare_candidates(UctThread& t, HashGo* node, int col) {
  SearchBoard& b = t.tree.b;
  int prev = t.tree.last_z, prev2 = t.tree.last2_z;
  if (prev > 0 && b.ban[prev] != opponent(col)) {
    if (t.depth == 0) PRT("tyokuzen_z=%04x,un_col=%d,col=%d Err! 置き碁?\n", z_from_zc(prev), opponent(col), col);
    prev = 0;
  }
  if (prev2 > 0 && b.ban[prev2] != col) prev2 = 0;
  if (prev <= 0) prev2 = 0;

  for (int i = 0; i < node->child_num;) {
    const int z = node->child[i].iti;
    const bool remove = z != 0 && (b.ban[z] != EMPTY || z == b.kou_iti || (t.depth == 0 && root_superko[z]) ||
                                   is_own_eye(b, z, col) || is_suicide(b, z, col));
    if (remove) node->child[i] = node->child[--node->child_num];
    else i++;
  }

  for (int i = 0; i < node->child_num; i++) {
    UctChild& c = node->child[i];
    if (c.iti == 0) {
      c.rave_value = 0;
      continue;
    }
    double prior = double(t.tree.weight[col][c.iti]) * prior_context_factor(b, c.iti, col, prev, prev2);
    if (b.size > 9) prior *= big_pattern_factor_keys(t.big, c.iti, col);
    if (c.games > 0) prior = (c.games + VISITED_PRIOR_OFFSET) * prior * VISITED_PRIOR_SCALE;
    c.rave_value = float(prior);
  }

  int adj[MC_POINTS] = {};
  tactical_adjust(t, node, col, adj);
  for (int i = 0; i < node->child_num; i++) {
    UctChild& c = node->child[i];
    const int a = c.iti > 0 ? adj[c.iti] : 0;
    if (a > 0) c.rave_value *= float(a + 1);
    if (a < 0) c.rave_value /= float(-a);
  }
  if (gtp_cleanup_mode && t.depth == 0) cleanup_priors(t, node, col, adj);

  const int n = node->child_num;
  const int span = std::min(n - 1, std::max((n - 1) / 2, SORT_SPAN_MIN));
  for (int i = 0; i < span; i++) {
    int best = i;
    for (int j = i + 1; j < n; j++) {
      if (node->child[j].rave_value > node->child[best].rave_value) best = j;
    }
    if (best != i) std::swap(node->child[i], node->child[best]);
  }
  for (int i = 0; i < n; i++) {
    UctChild& c = node->child[i];
    if (c.games == 0) c.value = c.rave_value;
    c.rave_value = 0;
  }
  node->sort_done = 1;
}

void add_rave_child(UctThread& t, HashGo* node, int col, int width) {
  const int slot = width - 1;
  if (node->games_sum < 1 || slot >= node->child_num) return;
  const SearchBoard& b = t.tree.b;
  const double log_n = std::log(double(node->games_sum));
  int best = -1;
  double best_score = -1e30;
  bool best_flagged = false;
  for (int i = slot; i < node->child_num; i++) {
    const UctChild& c = node->child[i];
    const int z = c.iti;
    if (z <= 0 || c.rave_games <= RAVE_CHILD_MIN_GAMES || t.tree.weight[col][z] == 0) continue;
    const double bonus = UCT_EXPLORATION * std::sqrt(log_n / c.rave_games);
    const double lower = c.rave_value - bonus;
    bool flagged = false;
    for (int k = 0; k < node->urgent_num; k++) flagged |= node->urgent[k] == z;
    flagged = flagged || hinted_liberty(t, node, z, col);
    double score;
    if (flagged) {
      score = 1 + lower + RAVE_CHILD_FLAG_BONUS;
    } else {
      if (libs_after_move(b, z, col, 2) < 2 && !captures_something(b, z, col)) continue;
      if (heavy_shape(b, z, col) || forms_empty_triangle(b, z, col)) continue;
      score = lower - bonus;
    }
    if (score > best_score) best_score = score, best = i, best_flagged = flagged;
  }
  if (best < 0) return;
  if (!best_flagged) {
    int most = -1;
    for (int i = 0; i < node->child_num; i++) {
      if (node->child[i].games > 0 && (most < 0 || node->child[i].games > node->child[most].games)) most = i;
    }
    if (most >= 0 && best_score <= node->child[most].value) return;
  }
  if (best == slot) return;
  if (t.depth == 0) {
    const UctChild& c = node->child[best];
    PRT("rave追加 z=%04x,%6.3f -> %6.3f,games=%3d,深=%d,best_v=%6.3f,games_sum=%d\n", z_from_zc(c.iti),
        double(node->child[slot].rave_value), double(c.rave_value), c.games, t.depth, best_score, node->games_sum);
  }
  swap_scroll(node, best, slot);
}
