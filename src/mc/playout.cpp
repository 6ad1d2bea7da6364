#include "mc/playout.h"

#include <algorithm>
#include <cstring>

#include "mc/hash_go.h"
#include "mc/patterns.h"
#include "mc/uct.h"

int32_t point_class[MC_POINTS];

namespace {

constexpr int POW3[8] = {1, 3, 9, 27, 81, 243, 729, 2187};
constexpr int DIR4[4] = {1, 32, -1, -32};
constexpr int DIAG4[4] = {33, 31, -33, -31};
constexpr int LADDER_BUDGET = 80;

inline int column_of(int z) { return z & 31; }

// Adds (z, color) to the replace list keeping the oldest value, unless
// `overwrite` says the value to restore itself has changed.
void push_replace(McBoard& mb, int z, int color, int32_t restore, bool overwrite) {
  for (int i = 0; i < mb.replace_num; i++) {
    ReplaceEntry& e = mb.replace[i];
    if (e.z == z && e.color == color) {
      if (overwrite) e.weight = restore;
      return;
    }
  }
  if (mb.replace_num >= REPLACE_MAX) uct_internal_error("replace_num over!\n");
  mb.replace[mb.replace_num++] = {int16_t(z), int16_t(color), restore};
}

void next_urgent_stamp(McBoard& mb) {
  if (++mb.stamp >= uint32_t(STAMP_LIMIT)) {
    mb.stamp = 1;
    memset(mb.urgent_stamp, 0, sizeof mb.urgent_stamp);
  }
}

struct UrgentList {
  int num = 0;
  int z[URGENT_LIST_MAX];
  int64_t factor[URGENT_LIST_MAX];
};

void add_urgent(McBoard& mb, UrgentList& list, int z, int64_t factor) {
  if (z <= 0 || mb.b.ban[z] != EMPTY || z == mb.b.kou_iti || list.num >= URGENT_LIST_MAX) return;
  if (mb.urgent_stamp[z] == mb.stamp) {
    for (int i = 0; i < list.num; i++) {
      if (list.z[i] == z) list.factor[i] = std::max(list.factor[i], factor);
    }
    return;
  }
  mb.urgent_stamp[z] = mb.stamp;
  list.z[list.num] = z;
  list.factor[list.num++] = factor;
}

// Distinct strings of `color` next to string n (walking its stones).
int neighbour_strings(const SearchBoard& b, int n, int color, int out[], int max) {
  int num = 0, last_no = -1;
  for (int p = b.ren[n].first; p; p = b.next_stone[p]) {
    int at[4], at_num = 0;
    for (int d : DIR4) {
      at[at_num] = p + d;
      at_num += b.ban[p + d] == color;
    }
    for (int k = 0; k < at_num; k++) {
      // Stones of one string met in a row share their number: resolve it once.
      if (b.ren_no[at[k]] == last_no) continue;
      last_no = b.ren_no[at[k]];
      const int m = string_of(b, at[k]);
      bool fresh = true;
      for (int i = 0; i < num; i++) fresh &= out[i] != m;
      if (num < max) {
        out[num] = m;
        num += fresh;
      }
    }
  }
  return num;
}

bool ladder_defend(SearchBoard& b, int z, int defender, int& budget);

bool ladder_attack(SearchBoard& b, int z, int attacker, int& budget) {
  const int n = string_of(b, z);
  if (b.ren[n].lib_num != 2) return false;
  const int libs[2] = {b.ren[n].libs[0], b.ren[n].libs[1]};
  for (int k = 0; k < 2; k++) {
    const int lib = libs[k];
    // An atari the defender answers with three liberties is no ladder.
    if (libs_after_move(b, libs[1 - k], opponent(attacker), 3, lib) >= 3) continue;
    if (--budget < 0) return false;
    if (b.kou_iti == lib || put_stone(b, lib, attacker) != PUT_OK) continue;
    bool captured = false;
    if (b.ren[string_of(b, lib)].lib_num >= 2) captured = !ladder_defend(b, z, opponent(attacker), budget);
    take_back(b, lib, attacker);
    if (captured) return true;
  }
  return false;
}

// Whether one of the first `max` distinct strings of `color` next to string n
// (in neighbour_strings' order) is in atari; stops at the first.
bool neighbour_in_atari(const SearchBoard& b, int n, int color, int max) {
  int seen[ENEMY_MAX], num = 0, last_no = -1;
  for (int p = b.ren[n].first; p; p = b.next_stone[p]) {
    for (int d : DIR4) {
      if (b.ban[p + d] != color || b.ren_no[p + d] == last_no) continue;
      last_no = b.ren_no[p + d];
      const int m = string_of(b, p + d);
      bool dup = false;
      for (int i = 0; i < num; i++) dup |= seen[i] == m;
      if (dup) continue;
      if (num >= max) return false;
      if (b.ren[m].lib_num == 1) return true;
      seen[num++] = m;
    }
  }
  return false;
}

// The string at z is in atari with the defender to move: true when it escapes.
bool ladder_defend(SearchBoard& b, int z, int defender, int& budget) {
  const int n = string_of(b, z);
  if (neighbour_in_atari(b, n, opponent(defender), ENEMY_MAX)) return true;  // captures its way out
  const int lib = b.ren[n].libs[0];
  if (--budget < 0 || b.kou_iti == lib || put_stone(b, lib, defender) != PUT_OK) return budget < 0;
  const int libs = b.ren[string_of(b, z)].lib_num;
  const bool escaped = libs >= 3 || (libs == 2 && !ladder_attack(b, z, opponent(defender), budget));
  take_back(b, lib, defender);
  return escaped;
}

}  // namespace

void make_point_class(int board_size) {
  for (int z = 0; z < MC_POINTS; z++) {
    const int x = z & 31, y = z >> 5;
    point_class[z] = (x >= 1 && x <= board_size && y >= 1 && y <= board_size)
                         ? int32_t(pattern_weight_index(BLACK, pattern_position_class(x - 1, y - 1, board_size), 0, 0))
                         : 0;
  }
}

int32_t plain_weight(const McBoard& mb, int color, int z, int k) {
  return pattern_weight[size_t(point_class[z] + mb.pattern_id[z] * PATTERN_WEIGHT_BLOCK + (color - 1) * NEIGHBOUR_INDEX_NUM + k)];
}

void set_weight(McBoard& mb, int color, int z, int32_t w) {
  const int32_t diff = w - mb.weight[color][z];
  mb.weight[color][z] = w;
  mb.column_sum[color][column_of(z)] += diff;
  mb.total[color] += diff;
}

void refresh_weights(McBoard& mb, int next_color) {
  const int n = mb.b.size;
  memset(mb.weight, 0, sizeof mb.weight);
  memset(mb.column_sum, 0, sizeof mb.column_sum);
  mb.total[0] = mb.total[1] = mb.total[2] = 0;
  mb.replace_num = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x;
      mb.pattern_id[z] = pattern3x3_code(mb.b, z);
      if (mb.b.ban[z] != EMPTY) continue;
      for (int c = BLACK; c <= WHITE; c++) set_weight(mb, c, z, plain_weight(mb, c, z, NEIGHBOUR_NONE));
    }
  }
  if (mb.last_z > 0) {
    for (int j = 0; j < 8; j++) {
      const int u = mb.last_z - PATTERN_DIR32[j];
      if (mb.b.ban[u] != EMPTY) continue;
      push_replace(mb, u, next_color, mb.weight[next_color][u], false);
      set_weight(mb, next_color, u, plain_weight(mb, next_color, u, j));
    }
  }
}

void mc_board_load(McBoard& mb, const GlobalBoard& g, int to_move, int last_z, int last2_z) {
  load_search_board(mb.b, g, opponent(to_move));
  mb.last_z = last_z > 0 && mb.b.ban[last_z] == opponent(to_move) ? last_z : 0;
  mb.last2_z = last2_z > 0 && mb.b.ban[last2_z] == to_move ? last2_z : 0;
  mb.passes = 0;
  mb.stamp = 1;
  memset(mb.urgent_stamp, 0, sizeof mb.urgent_stamp);
  refresh_weights(mb, to_move);
}

void mc_board_copy(McBoard& dst, const McBoard& src) {
  SearchBoard& d = dst.b;
  const SearchBoard& s = src.b;
  d.size = s.size;
  memcpy(d.ban, s.ban, sizeof d.ban);
  memcpy(d.ren_no, s.ren_no, sizeof d.ren_no);
  memcpy(d.next_stone, s.next_stone, sizeof d.next_stone);
  memcpy(d.lib_stamp, s.lib_stamp, sizeof d.lib_stamp);
  d.stamp = s.stamp;
  d.ren_num = s.ren_num;
  for (int n = 0; n <= s.ren_num; n++) {
    const StringRecord<32>& r = s.ren[n];
    StringRecord<32>& t = d.ren[n];
    t.id = r.id, t.stones = r.stones, t.color = r.color, t.first = r.first, t.last = r.last;
    t.lib_num = r.lib_num, t.alive = r.alive;
    memcpy(t.libs, r.libs, sizeof(uint16_t) * size_t(std::max(r.lib_num, 0)));
    t.enemy_num = r.enemy_num;
    memcpy(t.enemy.data(), r.enemy.data(), sizeof(uint16_t) * size_t(r.enemy_num));
  }
  d.kou_iti = s.kou_iti;
  memcpy(d.captured, s.captured, sizeof d.captured);
  d.fukasa = 0;
  d.hash = s.hash;
  memcpy(dst.pattern_id, src.pattern_id, sizeof dst.pattern_id);
  memcpy(dst.weight, src.weight, sizeof dst.weight);
  memcpy(dst.column_sum, src.column_sum, sizeof dst.column_sum);
  memcpy(dst.total, src.total, sizeof dst.total);
  dst.replace_num = src.replace_num;
  memcpy(dst.replace, src.replace, sizeof(ReplaceEntry) * size_t(src.replace_num));
  dst.last_z = src.last_z, dst.last2_z = src.last2_z;
  dst.passes = src.passes;
  if (dst.stamp == 0) {
    memset(dst.urgent_stamp, 0, sizeof dst.urgent_stamp);
    dst.stamp = 1;
  }
}

// The count is min(limit, distinct liberties), whatever order they are met
// in: the empty neighbours (distinct by themselves) go first, and most calls
// end there without resolving a string.
int libs_after_move(const SearchBoard& b, int z, int color, int limit, int excluded) {
  int seen[LIB_MAX + 8], num = 0;
  for (int d : DIR4) {
    const int p = z + d;
    seen[num] = p;
    num += (b.ban[p] == EMPTY) & (p != excluded);
  }
  if (num >= limit) return limit;
  auto add = [&](int p) {
    bool fresh = (p != z) & (p != excluded);
    for (int i = 0; i < num; i++) fresh &= seen[i] != p;
    seen[num] = p;
    num += fresh;
  };
  int stone_at[4], stone_num = 0;
  for (int d : DIR4) {
    stone_at[stone_num] = z + d;
    stone_num += (b.ban[z + d] == BLACK) | (b.ban[z + d] == WHITE);
  }
  int strings[4], string_num = 0;
  for (int k = 0; k < stone_num; k++) {
    const int p = stone_at[k], c = b.ban[p];
    const int n = string_of(b, p);
    bool dup = false;
    for (int i = 0; i < string_num; i++) dup |= strings[i] == n;
    if (dup) continue;
    strings[string_num++] = n;
    const StringRecord<32>& r = b.ren[n];
    if (c == color) {
      for (int i = 0; i < r.lib_num && num < limit; i++) add(r.libs[i]);
    } else if (r.lib_num == 1) {
      add(p);  // a capture frees at least the stone next to z
    }
    if (num >= limit) return num;
  }
  return num;
}

bool ladder_capturable(SearchBoard& b, int z, int attacker) {
  int budget = LADDER_BUDGET;
  return ladder_attack(b, z, attacker, budget);
}

namespace {

// The urgent moves for the next mover o after c played z.
void collect_urgent(McBoard& mb, int z, int c, UrgentList& list) {
  SearchBoard& b = mb.b;
  const int o = opponent(c);
  next_urgent_stamp(mb);
  const int own = string_of(b, z);
  const StringRecord<32>& r = b.ren[own];
  if (r.lib_num == 1) add_urgent(mb, list, r.libs[0], int64_t(r.stones + 2) * 500);
  // Every reading takes back what it plays, so the mover's string read here
  // reads the same when it comes up again as the neighbour of an atari.
  int own_read = 0;
  bool own_capturable = false;
  if (r.lib_num == 2 && r.stones >= 2) {
    own_read = own;
    own_capturable = ladder_capturable(b, z, o);
  }
  if (own_capturable) {
    add_urgent(mb, list, r.libs[0], r.stones * 100 + 20);
    add_urgent(mb, list, r.libs[1], r.stones * 100 + 20);
  }
  // The mover's other strings that o can take now: those diagonal to z, read
  // for a ladder, and those next to o's previous move, which c answered
  // elsewhere (left in atari, or in a ladder).
  int near[8], near_num = 0;
  auto take_near = [&](int p, bool answered_elsewhere) {
    if (b.ban[p] != c) return;
    const int n = string_of(b, p);
    for (int i = 0; i < near_num; i++) {
      if (near[i] == n) return;
    }
    near[near_num++] = n;
    if (n == own) return;
    const StringRecord<32>& e = b.ren[n];
    if (answered_elsewhere && e.lib_num == 1) add_urgent(mb, list, e.libs[0], e.stones * 200 + 50);
    if (e.lib_num == 2 && e.stones >= 2 && ladder_capturable(b, p, o)) {
      add_urgent(mb, list, e.libs[0], e.stones * 100 + 20);
      add_urgent(mb, list, e.libs[1], e.stones * 100 + 20);
    }
  };
  for (int d : DIAG4) take_near(z + d, false);
  if (mb.last2_z > 0 && b.ban[mb.last2_z] == o) {
    for (int d : DIR4) take_near(mb.last2_z + d, true);
  }
  int touched[4], touched_num = 0;
  bool short_of_libs = false;
  for (int d : DIR4) {
    if (b.ban[z + d] != o) continue;
    const int n = string_of(b, z + d);
    bool dup = false;
    for (int i = 0; i < touched_num; i++) dup |= touched[i] == n;
    if (!dup) touched[touched_num++] = n;
  }
  // Weakest first: a string in atari is answered before one with two liberties.
  for (int i = 1; i < touched_num; i++) {
    for (int k = i; k > 0 && b.ren[touched[k]].lib_num < b.ren[touched[k - 1]].lib_num; k--) {
      std::swap(touched[k], touched[k - 1]);
    }
  }
  for (int t = 0; t < touched_num; t++) {
    const int n = touched[t];
    const StringRecord<32>& e = b.ren[n];
    if (e.lib_num > 2) continue;
    short_of_libs = true;
    int enemies[ENEMY_MAX];
    const int enemy_num = neighbour_strings(b, n, c, enemies, ENEMY_MAX);
    if (e.lib_num == 1) {
      const int lib = e.libs[0];
      for (int i = 0; i < enemy_num; i++) {
        const StringRecord<32>& a = b.ren[enemies[i]];
        if (a.lib_num == 1 && a.libs[0] != lib) add_urgent(mb, list, a.libs[0], int64_t(a.stones + e.stones) * 300 + 500);
        if (a.lib_num == 2) {
          const bool capturable = enemies[i] == own_read ? own_capturable : ladder_capturable(b, a.first, o);
          for (int k = 0; k < 2; k++) {
            const int p = a.libs[k];
            if (capturable) add_urgent(mb, list, p, int64_t(a.stones + 10) * 50);
            else if (libs_after_move(b, p, o, 2) >= 2) add_urgent(mb, list, p, a.stones * 50 + 10);
          }
        }
      }
      // Running out: only worth it when the extension gains liberties and
      // does not run into a ladder.
      const int libs = libs_after_move(b, lib, o, 3);
      if (libs >= 3) {
        add_urgent(mb, list, lib, int64_t(e.stones + 4) * 50);
      } else if (libs == 2 && lib != b.kou_iti && put_stone(b, lib, o) == PUT_OK) {
        const bool lost = ladder_capturable(b, lib, c);
        take_back(b, lib, o);
        if (!lost) add_urgent(mb, list, lib, int64_t(e.stones + 4) * 50);
      }
    } else {
      // Two liberties: capture a neighbour in atari, or escape a ladder.
      for (int i = 0; i < enemy_num; i++) {
        const StringRecord<32>& a = b.ren[enemies[i]];
        if (a.lib_num == 1) add_urgent(mb, list, a.libs[0], a.stones * 200 + 50);
      }
      if (e.stones >= 2 && ladder_capturable(b, e.first, c)) {
        for (int k = 0; k < 2; k++) {
          if (libs_after_move(b, e.libs[k], o, 3) >= 3) add_urgent(mb, list, e.libs[k], int64_t(e.stones + 2) * 20);
        }
      }
    }
  }
  if (!short_of_libs) {
    for (int t = 0; t < touched_num; t++) {
      const StringRecord<32>& e = b.ren[touched[t]];
      if (e.lib_num != 3 || e.stones <= 3) continue;
      int enemies[ENEMY_MAX];
      const int enemy_num = neighbour_strings(b, touched[t], c, enemies, ENEMY_MAX);
      for (int i = 0; i < enemy_num; i++) {
        const StringRecord<32>& a = b.ren[enemies[i]];
        if (a.lib_num == 1) add_urgent(mb, list, a.libs[0], 250);
        else if (a.lib_num <= 3) add_urgent(mb, list, a.libs[0], 420 - 100 * a.lib_num);
      }
    }
  }
}

void boost(McBoard& mb, int color, int z, int64_t w, int64_t cap, bool temporary) {
  if (w > cap || w <= 0) w = cap;
  if (temporary) push_replace(mb, z, color, mb.weight[color][z], false);
  set_weight(mb, color, z, int32_t(w));
}

// Weights of an empty point after a neighbour changed: plain for the mover c,
// the next mover's with its place next to z (restored after its move).
void reweigh_point(McBoard& mb, int u, int z, int c) {
  const int o = opponent(c);
  set_weight(mb, c, u, plain_weight(mb, c, u, NEIGHBOUR_NONE));
  const int k = pattern_neighbour_index<32>(u, z);
  const int32_t plain = plain_weight(mb, o, u, NEIGHBOUR_NONE);
  if (k < NEIGHBOUR_NONE) {
    push_replace(mb, u, o, plain, true);
    set_weight(mb, o, u, plain_weight(mb, o, u, k));
  } else {
    set_weight(mb, o, u, plain);
  }
}

}  // namespace

void update_after_move(McBoard& mb, int z, int c, const ReplyHints* hints) {
  SearchBoard& b = mb.b;
  const int o = opponent(c);
  for (int i = 0; i < mb.replace_num; i++) {
    const ReplaceEntry& e = mb.replace[i];
    // Setting the weight it has changes nothing: no branch on the board.
    set_weight(mb, e.color, e.z, e.z != z && b.ban[e.z] == EMPTY ? e.weight : mb.weight[e.color][e.z]);
  }
  mb.replace_num = 0;
  mb.last2_z = mb.last_z;
  mb.last_z = z;
  if (z == 0) {
    mb.passes++;
    return;
  }
  mb.passes = 0;
  set_weight(mb, BLACK, z, 0);
  set_weight(mb, WHITE, z, 0);
  // All table reads first: they mostly miss the cache, and they overlap only
  // when no update waits on one of them in between.
  // Branch-free: which neighbours are empty is as good as random.
  int around[8], around_num = 0;
  int32_t mover_plain[8], next_plain[8], next_near[8];
  const int32_t* const table = pattern_weight.data();
  for (int j = 0; j < 8; j++) {
    const int u = z - PATTERN_DIR32[j];
    const int uc = b.ban[u];
    mb.pattern_id[u] += c * POW3[j] * (uc != EDGE);
    const int32_t* w = table + ((point_class[u] + mb.pattern_id[u] * PATTERN_WEIGHT_BLOCK) & -int(uc == EMPTY));
    around[around_num] = u;
    mover_plain[around_num] = w[(c - 1) * NEIGHBOUR_INDEX_NUM + NEIGHBOUR_NONE];
    next_plain[around_num] = w[(o - 1) * NEIGHBOUR_INDEX_NUM + NEIGHBOUR_NONE];
    next_near[around_num] = w[(o - 1) * NEIGHBOUR_INDEX_NUM + j];
    around_num += uc == EMPTY;
  }
  // The replace list is empty here and the points distinct: no search.
  for (int i = 0; i < around_num; i++) {
    const int u = around[i];
    set_weight(mb, c, u, mover_plain[i]);
    mb.replace[i] = {int16_t(u), int16_t(o), next_plain[i]};
    set_weight(mb, o, u, next_near[i]);
  }
  mb.replace_num = around_num;
  const MoveRecord<32>& m = b.te[b.fukasa - 1];
  if (m.captured_stone_num > 0) {
    // Ids first, then the weights of every point whose id changed.
    for (int i = 0; i < m.captured_stone_num; i++) {
      const int p = m.captured_stones[i];
      for (int j = 0; j < 8; j++) {
        const int u = p - PATTERN_DIR32[j];
        if (b.ban[u] == EDGE) continue;
        mb.pattern_id[u] -= o * POW3[j];
        if (mb.pattern_id[u] < 0) {
          uct_internal_error("Err! minus id = %d,z=%04x,take_z=%04x,i=%d,(%d/%d),add=%d\n", mb.pattern_id[u],
                             z_from_zc(u), z_from_zc(p), j, i, m.captured_stone_num, -o * POW3[j]);
        }
      }
    }
    for (int i = 0; i < m.captured_stone_num; i++) {
      const int p = m.captured_stones[i];
      reweigh_point(mb, p, z, c);
      for (int j = 0; j < 8; j++) {
        const int u = p - PATTERN_DIR32[j];
        if (b.ban[u] == EMPTY) reweigh_point(mb, u, z, c);
      }
    }
  }

  UrgentList list;
  collect_urgent(mb, z, c, list);
  if (list.num > 0) {
    const int64_t cap = (int64_t(WEIGHT_LIMIT) - mb.total[o]) / (list.num + 3);
    for (int i = 0; i < list.num; i++) {
      const int u = list.z[i];
      boost(mb, o, u, (int64_t(mb.weight[o][u]) + 500) * list.factor[i], cap, true);
    }
  }
  if (mb.total[o] < 0 || mb.total[c] < 0) uct_internal_error("prob_sum[%d]=%d Err\n", o, mb.total[o]);
  if (!hints) return;

  auto reply_cap = [&]() { return (int64_t(WEIGHT_LIMIT) - mb.total[o]) >> 6; };
  auto answer = [&](int u, int64_t w) {
    if (u > 0 && b.ban[u] == EMPTY && mb.weight[o][u] != 0) boost(mb, o, u, w, reply_cap(), true);
  };
  if (const HashGo* node = hints->node) {
    for (int i = 0; i < node->answer_after_num; i++) {
      const HintTriple& t = node->answer_after[i];
      if (t.color == c && t.move == z) answer(t.target, (int64_t(mb.weight[o][t.target]) + 100) * 100);
    }
    for (int i = 0; i < node->pair_num[c]; i++) {
      const HintPair& p = node->pair[c][i];
      if (p.a == z) answer(p.b, (int64_t(mb.weight[o][p.b]) + 100) * 100);
      if (p.b == z) answer(p.a, (int64_t(mb.weight[o][p.a]) + 100) * 100);
    }
  }
  if (hints->best_reply) {
    const int u = hints->best_reply[c][z];
    if (u > 0) answer(u, (int64_t(mb.weight[o][u]) + 100) * 10);
  }
  if (hints->frequent_reply) {
    const int u = hints->frequent_reply[c][z];
    if (u > 0) answer(u, int64_t(mb.weight[o][u]) + 100);
  }
}

int mc_play(McBoard& mb, int z, int color, const ReplyHints* hints) {
  const int r = put_stone(mb.b, z, color);
  if (r == PUT_OK) update_after_move(mb, z, color, hints);
  return r;
}

namespace {

// A string of at most five stones that z would put in atari inside the
// opponent's enclosed eye space, in a shape whose capture leaves an eye
// space the opponent cannot split into two eyes (a nakade): three in a row
// or bent, the square and pyramid fours, the bulky and crossed fives. This
// is how a group with one big eye is killed; any other self-atari of more
// than one stone only gives stones away.
bool fills_eye_space_dead(const SearchBoard& b, int z, int color, const int strings[], int string_num) {
  constexpr int MAX_STONES = 5;
  int pts[MAX_STONES], n = 0;
  pts[n++] = z;
  for (int i = 0; i < string_num; i++) {
    const StringRecord<32>& r = b.ren[strings[i]];
    if (r.color != color) continue;
    if (n + r.stones > MAX_STONES) return false;
    for (int p = r.first; p; p = b.next_stone[p]) pts[n++] = p;
  }
  auto in_string = [&](int p) { return std::find(pts, pts + n, p) != pts + n; };
  int lib = 0;
  for (int i = 0; i < n && !lib; i++) {
    for (int d : DIR4) {
      if (pts[i] + d != z && b.ban[pts[i] + d] == EMPTY) lib = pts[i] + d;
    }
  }
  if (!lib) return false;
  for (int d : DIR4) {
    const int c = b.ban[lib + d];
    if (c != EDGE && c != opponent(color) && !in_string(lib + d)) return false;
  }
  int links = 0, most = 0;
  for (int i = 0; i < n; i++) {
    int degree = 0;
    for (int d : DIR4) degree += in_string(pts[i] + d);
    links += degree;
    most = std::max(most, degree);
  }
  links /= 2;
  if (n <= 3) return true;
  if (n == 4) return links == 4 || most == 3;  // square, pyramid
  return links == 5 || most == 4;               // bulky, crossed
}

}  // namespace

int filter_move(McBoard& mb, int z, int color) {
  const SearchBoard& b = mb.b;
  if (z == b.kou_iti) return -1;
  // Two empty neighbours: neither suicide nor self-atari.
  if ((b.ban[z + 1] == EMPTY) + (b.ban[z - 1] == EMPTY) + (b.ban[z + 32] == EMPTY) + (b.ban[z - 32] == EMPTY) >= 2) {
    return z;
  }
  bool eye_like = true, captures = false;
  int own_stones = 0;
  int strings[4], string_num = 0;
  for (int d : DIR4) {
    const int c = b.ban[z + d];
    eye_like &= (c == color) | (c == EDGE);
    if (c != BLACK && c != WHITE) continue;
    const int n = string_of(b, z + d);
    bool fresh = true;
    for (int i = 0; i < string_num; i++) fresh &= strings[i] != n;
    strings[string_num] = n;
    string_num += fresh;
    own_stones += (fresh & (c == color)) * b.ren[n].stones;
    captures |= fresh & (c != color) & (b.ren[n].lib_num == 1);
  }
  if (captures) return z;  // a capture leaves at least its stone next to z free
  const int libs = libs_after_move(b, z, color, 2);
  if (libs == 0) return -1;  // suicide
  if (libs >= 2) return z;
  // Self-atari. Save the strings that would join by capturing a neighbour in
  // atari, or by extending at the other liberty when that breathes.
  for (int i = 0; i < string_num; i++) {
    const StringRecord<32>& r = b.ren[strings[i]];
    if (r.color != color) continue;
    int enemies[ENEMY_MAX];
    const int enemy_num = neighbour_strings(b, strings[i], opponent(color), enemies, ENEMY_MAX);
    for (int k = 0; k < enemy_num; k++) {
      const StringRecord<32>& e = b.ren[enemies[k]];
      if (e.lib_num == 1 && e.libs[0] != z && e.libs[0] != b.kou_iti) return e.libs[0];
    }
  }
  int other = 0;
  for (int d : DIR4) {
    if (b.ban[z + d] == EMPTY) other = z + d;
  }
  for (int i = 0; i < string_num && !other; i++) {
    const StringRecord<32>& r = b.ren[strings[i]];
    if (r.color != color) continue;
    for (int k = 0; k < r.lib_num; k++) {
      if (r.libs[k] != z) other = r.libs[k];
    }
  }
  if (other && other != b.kou_iti && libs_after_move(b, other, color, 2) >= 2 && own_stones > 0) return other;
  // A lone stone may be thrown in; bigger self-ataris only fill the
  // opponent's eye space with a shape that stays dead, and one's own
  // eye-like point is not filled.
  if (own_stones == 0) return eye_like ? -1 : z;
  return fills_eye_space_dead(b, z, color, strings, string_num) ? z : -1;
}

int select_by_weight(McBoard& mb, int color, McRandom& rng) {
  int removed[FILTER_REMOVALS_MAX + 1], removed_weight[FILTER_REMOVALS_MAX + 1], removed_num = 0;
  const int n = mb.b.size;
  int chosen = 0;
  while (mb.total[color] > 0) {
    int32_t r = int32_t((mc_random_next(rng) & 0x7fffffff) % uint32_t(mb.total[color]));
    // The column, then the row, whose running sum first passes r. Weights
    // are never negative, so the sums that stay at or below r are a prefix:
    // counting them over the whole line needs no branch on the draw.
    int x = 1;
    int32_t sum = 0, passed = 0;
    for (int k = 1; k < n; k++) {
      sum += mb.column_sum[color][k];
      const bool past = sum <= r;
      x += past;
      passed = past ? sum : passed;
    }
    r -= passed;
    int y = 1;
    sum = 0;
    for (int k = 1; k < n; k++) {
      sum += mb.weight[color][k * 32 + x];
      y += sum <= r;
    }
    const int z = y * 32 + x;
    const int answer = filter_move(mb, z, color);
    if (answer == z) {
      chosen = z;
      break;
    }
    if (removed_num >= FILTER_REMOVALS_MAX) uct_internal_error("zero_num=%d\n", removed_num + 1);
    removed[removed_num] = z, removed_weight[removed_num++] = mb.weight[color][z];
    set_weight(mb, color, z, 0);
    if (answer > 0) {
      if (filter_move(mb, answer, color) == answer) {
        chosen = answer;
        break;
      }
    }
  }
  while (removed_num > 0) {
    removed_num--;
    if (removed[removed_num] != chosen) set_weight(mb, color, removed[removed_num], removed_weight[removed_num]);
  }
  return chosen;
}

int count_score(const SearchBoard& b, int8_t owner[MC_POINTS]) {
  const int n = b.size;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x, c = b.ban[z];
      if (c == BLACK) {
        owner[z] = 1;
      } else if (c == WHITE) {
        owner[z] = -1;
      } else {
        int mask = 0;
        for (int d : DIR4) {
          if (b.ban[z + d] != EDGE) mask |= b.ban[z + d];
        }
        owner[z] = int8_t(mask == BLACK ? 1 : mask == WHITE ? -1 : 0);
      }
    }
  }
  // Strings left in atari are taken: their stones and liberty change sides.
  for (int k = 1; k <= b.ren_num; k++) {
    const StringRecord<32>& r = b.ren[k];
    if (!r.alive || r.id != k || r.lib_num != 1) continue;
    const int8_t taker = r.color == BLACK ? -1 : 1;
    for (int p = r.first; p; p = b.next_stone[p]) owner[p] = taker;
    owner[r.libs[0]] = taker;
  }
  int score = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) score += owner[y * 32 + x];
  }
  return score;
}
