#include "knowledge/analysis.h"

#include <cstring>

#include "core/internal_stop.h"
#include "core/log.h"
#include "knowledge/analysis_detail.h"
#include "knowledge/life_death.h"
#include "knowledge/reading.h"

GlobalAnalysis ban_analysis;

namespace {

// A region that holds the opponent's stones is the owner's only while it is
// small enough that the opponent could not live there; a region of empty
// points only may be larger (a closed moyo).
int mixed_region_limit(int n) { return n * n / 3; }
int empty_region_limit(int n) { return n * n / 2; }
// An enclosed space this small is an eye space whatever stands in it.
constexpr int EYE_SPACE_MAX = 8;
// Strings with this many liberties or fewer are read tactically.
constexpr int WEAK_LIBS = 2;

// Rough eye worth of an empty pocket, only to tell whether stones inside a
// region could make two eyes there.
int pocket_worth(int size) { return size >= 4 ? AREA_TWO_EYES : size == 3 ? AREA_EYE_IF_FIRST : AREA_ONE_EYE; }

template <int S>
void collect_strings(const Board<S>& b, Analysis<S>& a) {
  a.size = b.size;
  a.str_num = 0;
  memset(a.rn, 0, sizeof a.rn);
  bool seen[REN_MAX + 1] = {};
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) {
      int z = y * S + x;
      int c = b.ban[z];
      if (c != BLACK && c != WHITE) continue;
      int n = string_of(b, z);
      a.rn[z] = int16_t(n);
      if (seen[n]) continue;
      seen[n] = true;
      AnalysisString& s = a.str[n];
      s = AnalysisString{};
      s.color = c;
      s.stones = b.ren[n].stones;
      s.libs = b.ren[n].lib_num;
      s.lib_z = s.libs ? b.ren[n].libs[0] : 0;
      s.z = z;
      s.status = STATUS_ALIVE;
      a.str_list[a.str_num++] = uint16_t(n);
    }
  }
  // Adjacent enemy strings.
  for (int i = 0; i < a.str_num; i++) {
    int n = a.str_list[i];
    AnalysisString& s = a.str[n];
    for (int z = b.ren[n].first; z; z = b.next_stone[z]) {
      for (int d : kDir4<S>) {
        int q = z + d;
        if (b.ban[q] != opponent(s.color)) continue;
        add_unique(s.enemy, s.enemy_num, NEAR_MAX, a.rn[q]);
      }
    }
  }
}

// Provisional secure territory: for each colour c, the connected regions of
// points not holding c. A region bounded by c that the opponent cannot live in
// (no room for two eyes of its own) is c's, the opponent's stones in it
// included. Where the two colours claim each other's stones (semeai, seki)
// neither claim stands; the semeai stage judges them.
template <int S>
void mark_provisional(const Board<S>& b, Analysis<S>& a) {
  constexpr int ARRAY = Analysis<S>::ARRAY;
  const int n = b.size;
  memset(a.kari, 0, sizeof a.kari);

  // Empty regions with their sizes and the colours around them.
  int16_t* region = a.empty_region;
  int16_t* region_size = a.region_size;
  int region_border[POINT_MAX + 1], region_first[POINT_MAX + 1];
  int region_num = 0;
  uint16_t stack[POINT_MAX];
  memset(a.empty_region, 0, sizeof a.empty_region);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if (b.ban[z] != EMPTY || region[z]) continue;
      int r = ++region_num;
      region_size[r] = 0, region_border[r] = 0, region_first[r] = z;
      int sp = 0;
      stack[sp++] = uint16_t(z);
      region[z] = int16_t(r);
      while (sp) {
        int p = stack[--sp];
        region_size[r]++;
        for (int d : kDir4<S>) {
          int q = p + d;
          int c = b.ban[q];
          if (c == EMPTY) {
            if (!region[q]) region[q] = int16_t(r), stack[sp++] = uint16_t(q);
          } else if (c != EDGE) {
            region_border[r] |= c;
          }
        }
      }
    }
  }

  static thread_local int16_t comp[2][ARRAY];
  int comp_num[2] = {0, 0};
  int comp_empty[2][POINT_MAX + 1], comp_stones[2][POINT_MAX + 1], comp_touch[2][POINT_MAX + 1],
      comp_pockets[2][POINT_MAX + 1];
  bool comp_marked[2][POINT_MAX + 1];
  // The opponent's stones inside touch a string of the wall in atari: they
  // are capturing it, not dead.
  bool comp_atari[2][POINT_MAX + 1];
  for (int c = BLACK; c <= WHITE; c++) {
    int16_t* cm = comp[c - 1];
    memset(cm, 0, sizeof comp[0]);
    for (int y = 1; y <= n; y++) {
      for (int x = 1; x <= n; x++) {
        int z = y * S + x;
        if (b.ban[z] == c || cm[z]) continue;
        int k = ++comp_num[c - 1];
        int empty = 0, stones = 0, touch = 0;
        bool wall_in_atari = false;
        int sp = 0;
        stack[sp++] = uint16_t(z);
        cm[z] = int16_t(k);
        while (sp) {
          int p = stack[--sp];
          if (b.ban[p] == EMPTY) empty++;
          else stones++;
          for (int d : kDir4<S>) {
            int q = p + d;
            int col = b.ban[q];
            if (col == c) {
              touch = 1;
              wall_in_atari |= b.ban[p] != EMPTY && b.ren[string_of(b, q)].lib_num == 1;
            } else if (col != EDGE && !cm[q]) {
              cm[q] = int16_t(k);
              stack[sp++] = uint16_t(q);
            }
          }
        }
        comp_empty[c - 1][k] = empty, comp_stones[c - 1][k] = stones, comp_touch[c - 1][k] = touch;
        comp_pockets[c - 1][k] = 0;
        comp_atari[c - 1][k] = wall_in_atari;
      }
    }
    // The opponent's own pockets inside each region.
    for (int r = 1; r <= region_num; r++) {
      if (region_border[r] == opponent(c)) comp_pockets[c - 1][cm[region_first[r]]] += pocket_worth(region_size[r]);
    }
  }
  auto decide = [&](int c) {
    for (int k = 1; k <= comp_num[c - 1]; k++) {
      int empty = comp_empty[c - 1][k], stones = comp_stones[c - 1][k];
      bool marked = comp_touch[c - 1][k] && empty > 0;
      if (stones == 0) {
        marked = marked && empty <= empty_region_limit(n);
      } else {
        marked = marked && !comp_atari[c - 1][k] && empty + stones <= mixed_region_limit(n) && (stones <= empty || empty + stones <= EYE_SPACE_MAX) &&
                 comp_pockets[c - 1][k] < AREA_TWO_EYES;
      }
      comp_marked[c - 1][k] = marked;
    }
  };
  decide(BLACK);
  decide(WHITE);
  // An eye space that holds the other colour's dead stones is an eye too:
  // count the claimed regions holding stones as pockets and decide again.
  // The stones inside may split its empty points among several regions of
  // the other colour; it is a pocket in each of them, whatever the scan
  // order meets first.
  int pocket_pairs[2][POINT_MAX][2], pair_num[2] = {0, 0};
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if (b.ban[z] != EMPTY) continue;
      for (int o = 0; o < 2; o++) {
        int k = comp[o][z], t = comp[1 - o][z];
        if (!comp_marked[o][k] || !comp_stones[o][k]) continue;
        bool known = false;
        for (int i = 0; i < pair_num[o] && !known; i++) known = pocket_pairs[o][i][0] == k && pocket_pairs[o][i][1] == t;
        if (known) continue;
        pocket_pairs[o][pair_num[o]][0] = k, pocket_pairs[o][pair_num[o]][1] = t, pair_num[o]++;
        comp_pockets[1 - o][t] += pocket_worth(comp_empty[o][k] + comp_stones[o][k]);
      }
    }
  }
  decide(BLACK);
  decide(WHITE);
  // A pocket of empty points inside a region the other colour claims belongs
  // to that region (the pocket's owner is dead there); two regions claiming
  // each other's stones cancel.
  bool cancelled[2][POINT_MAX + 1] = {};
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int kb = comp[0][z], kw = comp[1][z];
      if (!kb || !kw || !comp_marked[0][kb] || !comp_marked[1][kw]) continue;
      bool black_pure = comp_stones[0][kb] == 0, white_pure = comp_stones[1][kw] == 0;
      if (black_pure && !white_pure) {
        cancelled[0][kb] = true;
      } else if (white_pure && !black_pure) {
        cancelled[1][kw] = true;
      } else {
        cancelled[0][kb] = cancelled[1][kw] = true;
      }
    }
  }
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      for (int c = BLACK; c <= WHITE; c++) {
        int k = comp[c - 1][z];
        if (k && comp_marked[c - 1][k] && !cancelled[c - 1][k]) a.kari[z] = int8_t(c);
      }
    }
  }
  for (int i = 0; i < a.str_num; i++) {
    AnalysisString& s = a.str[a.str_list[i]];
    s.kari = a.kari[s.z];
    if (s.kari == opponent(s.color)) s.status = STATUS_DEAD;
  }
}

// A string next to an enemy string as short of liberties is in a capturing
// race; the semeai stage judges it, not a single reading.
template <int S>
bool in_race(const Analysis<S>& a, const AnalysisString& s) {
  for (int k = 0; k < s.enemy_num; k++) {
    if (a.str[s.enemy[k]].libs <= s.libs) return true;
  }
  return false;
}

// Weak strings are read: one the attacker captures even when the defender
// moves first is dead; one the defender saves by moving first is only dead
// if attacked first (its killing and saving points kept).
template <int S>
void read_weak_strings(Board<S>& b, Analysis<S>& a, ReadingState& rs) {
  for (int i = 0; i < a.str_num; i++) {
    int n = a.str_list[i];
    AnalysisString& s = a.str[n];
    if (s.status != STATUS_ALIVE || s.libs > WEAK_LIBS || in_race(a, s)) continue;
    if (kill_string(b, s.z, rs) != READ_DEAD) continue;
    s.death_z = reading_move(b, rs);
    if (save_string(b, s.z, s.death_z, rs) == READ_LIVE) {
      s.sente_dead = 1;
      s.life_z = reading_move(b, rs);
    } else {
      s.status = STATUS_DEAD;
    }
  }
}

// Territory areas: a row scan joins each marked point to its left or upper
// neighbour's area; areas met from both sides are merged.
template <int S>
int find_root(Analysis<S>& a, int k) {
  while (a.area[k].parent != k) {
    a.area[k].parent = a.area[a.area[k].parent].parent;
    k = a.area[k].parent;
  }
  return k;
}

template <int S>
void fuse_areas(const Board<S>& b, Analysis<S>& a) {
  const int n = b.size;
  memset(a.area_no, 0, sizeof a.area_no);
  int num = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int c = a.kari[z];
      if (!c) continue;
      int left = a.kari[z - 1] == c ? a.area_no[z - 1] : 0;
      int up = a.kari[z - S] == c ? a.area_no[z - S] : 0;
      if (left) {
        a.area_no[z] = int16_t(left);
        if (up) {
          int ru = find_root(a, up), rl = find_root(a, left);
          if (ru != rl) a.area[ru].parent = rl;
        }
      } else if (up) {
        a.area_no[z] = int16_t(up);
      } else {
        num++;
        a.area[num] = Area{};
        a.area[num].parent = num;
        a.area[num].color = c;
        a.area_no[z] = int16_t(num);
      }
    }
  }
  // Number the roots and gather each area's points together.
  int renumber[AREA_MAX + 1] = {};
  int count[AREA_MAX + 1] = {}, empty[AREA_MAX + 1] = {};
  int roots = 0;
  for (int k = 1; k <= num; k++) {
    if (find_root(a, k) == k) renumber[k] = ++roots;
  }
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if (!a.area_no[z]) continue;
      int k = renumber[find_root(a, a.area_no[z])];
      a.area_no[z] = int16_t(k);
      count[k]++;
      if (b.ban[z] == EMPTY) empty[k]++;
    }
  }
  Area fused[AREA_MAX + 1];
  int first = 0;
  for (int k = 1; k <= num; k++) {
    int r = renumber[k];
    if (!r) continue;
    fused[r] = Area{};
    fused[r].parent = r;
    fused[r].color = a.area[k].color;
    fused[r].first = first;
    fused[r].empty = empty[r];
    first += count[r];
  }
  for (int r = 1; r <= roots; r++) a.area[r] = fused[r];
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int k = a.area_no[z];
      if (k) a.area_points[a.area[k].first + a.area[k].num++] = uint16_t(z);
    }
  }
  a.area_num = roots;
}

template <int S>
void link_strings(Analysis<S>& a, int s1, int s2) {
  if (s1 == s2) return;
  AnalysisString& x = a.str[s1];
  AnalysisString& y = a.str[s2];
  if (x.status != STATUS_ALIVE || y.status != STATUS_ALIVE || x.color != y.color) return;
  add_unique(x.link, x.link_num, LINK_MAX, s2);
  add_unique(y.link, y.link_num, LINK_MAX, s1);
}

template <int S>
int libs_at(const Analysis<S>& a, int z) {
  return a.str[a.rn[z]].libs;
}

// Links every pair of strings among the eight neighbours of z; returns the
// number of strings met.
template <int S>
int link_around(const Board<S>& b, Analysis<S>& a, int z, int c) {
  int strings[8], num = 0;
  for (int d : kDir8<S>) {
    if (b.ban[z + d] == c) add_unique(strings, num, 8, a.rn[z + d]);
  }
  for (int i = 0; i < num; i++) {
    for (int j = i + 1; j < num; j++) link_strings(a, strings[i], strings[j]);
  }
  return num;
}

// An empty point with stones of one colour only around it joins them, unless
// the shape leaves a cut the strings are too short of liberties to ignore.
template <int S>
void link_one_colour(const Board<S>& b, Analysis<S>& a, int z, int c, int count) {
  if (count == 2) {
    for (int i = 0; i < 4; i++) {
      int d = kDir4<S>[i], e = kDir4<S>[(i + 1) & 3];
      if (b.ban[z + d + e] != EMPTY && b.ban[z + d - e] != EMPTY) return;
    }
    if (b.ban[z - S - 1] != EMPTY && b.ban[z + S + 1] != EMPTY) return;
    if (b.ban[z - S + 1] != EMPTY && b.ban[z + S - 1] != EMPTY) return;
    for (int i = 0; i < 4; i++) {
      int d = kDir4<S>[i], e = kDir4<S>[(i + 1) & 3];
      int q = z + d;
      if (b.ban[q] != c) continue;
      // The other stone stands diagonally on the far side: a knight's-move shape.
      if (b.ban[z - d + e] != c && b.ban[z - d - e] != c) continue;
      int libs = libs_at(a, q);
      bool backed = b.ban[q + d] == c && libs_at(a, q + d) >= 2;
      if (libs < 3 || (libs == 3 && !backed)) return;
    }
  } else if (count == 3) {
    for (int d : kDir8<S>) {
      if (b.ban[z + d] == c && libs_at(a, z + d) < 3) return;
    }
  }
  int met = link_around(b, a, z, c);
  if (met > 1) a.connect[z] += met - 1;
}

// Both colours around an empty point: a one-point jump of strings with
// liberties to spare, supported from the side by a diagonal stone.
template <int S>
void link_jump(const Board<S>& b, Analysis<S>& a, int z) {
  for (int axis = 0; axis < 2; axis++) {
    int along = axis ? S : 1, across = axis ? 1 : S;
    if (b.ban[z - along] != EMPTY || b.ban[z + along] != EMPTY) continue;
    int m = b.ban[z - across];
    if ((m != BLACK && m != WHITE) || b.ban[z + across] != m) continue;
    if (libs_at(a, z - across) <= 2 || libs_at(a, z + across) <= 2) continue;
    bool supported = false;
    for (int side : {along, -along}) {
      int p1 = b.ban[z + side - across], p2 = b.ban[z + side + across];
      supported |= (p1 == m && p2 == EMPTY) || (p2 == m && p1 == EMPTY);
    }
    if (supported) {
      link_strings(a, a.rn[z - across], a.rn[z + across]);
      a.connect[z]++;
    }
  }
}

// A cutting point the opponent cannot hold: his stone there would touch no
// empty point but one and take nothing, so it is taken at once. Strings
// with two liberties are left to the shared-liberty links, as at a
// one-point jump.
template <int S>
void link_protected_point(const Board<S>& b, Analysis<S>& a, int z) {
  int count[4] = {}, strings[4], num = 0;
  for (int d : kDir4<S>) {
    int p = z + d;
    count[b.ban[p]]++;
    if (b.ban[p] == BLACK || b.ban[p] == WHITE) {
      if (libs_at(a, p) < 2) return;
      if (libs_at(a, p) > 2) add_unique(strings, num, 4, a.rn[p]);
    }
  }
  if (count[EMPTY] > 1 || (count[BLACK] && count[WHITE]) || num < 2) return;
  for (int i = 0; i < num; i++) {
    for (int j = i + 1; j < num; j++) link_strings(a, strings[i], strings[j]);
  }
  a.connect[z] += num - 1;
}

// Two stones of one colour facing each other across an empty 2x2 block, with
// no enemy stone on the ring around the block.
template <int S>
void two_space_links(const Board<S>& b, Analysis<S>& a) {
  a.two_space_num = 0;
  const int n = b.size;
  for (int y = 2; y < n; y++) {
    for (int x = 2; x < n; x++) {
      int z = y * S + x;
      if (b.ban[z] || b.ban[z + 1] || b.ban[z + S] || b.ban[z + S + 1]) continue;
      const int sides[4][2] = {{z - S, z - S + 1}, {z + 2, z + S + 2}, {z + 2 * S + 1, z + 2 * S}, {z + S - 1, z - 1}};
      const int corners[4] = {z - S - 1, z - S + 2, z + 2 * S - 1, z + 2 * S + 2};
      int count[4] = {};
      for (const auto& side : sides) count[b.ban[side[0]]]++, count[b.ban[side[1]]]++;
      for (int p : corners) count[b.ban[p]]++;
      if (count[BLACK] == count[WHITE] || (count[BLACK] < 2 && count[WHITE] < 2)) continue;
      int m = count[BLACK] > count[WHITE] ? BLACK : WHITE;
      if (count[opponent(m)]) continue;
      auto holds = [&](int i) { return b.ban[sides[i][0]] == m || b.ban[sides[i][1]] == m; };
      int s1, s2;
      if (holds(1) && holds(3)) {
        s1 = 1, s2 = 3;
      } else if (holds(0) && holds(2)) {
        s1 = 0, s2 = 2;
      } else {
        continue;
      }
      int z1 = b.ban[sides[s1][1]] == m ? sides[s1][1] : sides[s1][0];
      int z2 = b.ban[sides[s2][1]] == m ? sides[s2][1] : sides[s2][0];
      if (a.rn[z1] == a.rn[z2] || a.two_space_num >= TWO_SPACE_MAX) continue;
      a.two_space[a.two_space_num][0] = uint16_t(z1);
      a.two_space[a.two_space_num][1] = uint16_t(z2);
      a.two_space_num++;
      link_strings(a, a.rn[z1], a.rn[z2]);
    }
  }
}

// A string with two liberties next to strings already joined to each other
// (or to one string) cannot be cut off from them.
template <int S>
void link_shared_liberties(const Board<S>& b, Analysis<S>& a) {
  int root[REN_MAX + 1];
  auto find = [&](int x) {
    while (root[x] != x) x = root[x] = root[root[x]];
    return x;
  };
  for (int i = 0; i < a.str_num; i++) root[a.str_list[i]] = a.str_list[i];
  for (int i = 0; i < a.str_num; i++) {
    const AnalysisString& str = a.str[a.str_list[i]];
    for (int l = 0; l < str.link_num; l++) root[find(str.link[l])] = find(a.str_list[i]);
  }
  for (int i = 0; i < a.str_num; i++) {
    int s = a.str_list[i];
    if (a.str[s].status != STATUS_ALIVE) continue;
    int seen_root[LIB_MAX], seen_string[LIB_MAX], seen_lib[LIB_MAX], num = 0;
    for (int l = 0; l < b.ren[s].lib_num; l++) {
      int p = b.ren[s].libs[l];
      for (int d : kDir4<S>) {
        int t = a.rn[p + d];
        if (!t || t == s || b.ban[p + d] != a.str[s].color || a.str[t].status != STATUS_ALIVE) continue;
        int r = find(t);
        for (int k = 0; k < num; k++) {
          if (seen_root[k] == r && seen_lib[k] != p) {
            link_strings(a, s, t);
            link_strings(a, s, seen_string[k]);
          }
        }
        if (num < LIB_MAX) seen_root[num] = r, seen_string[num] = t, seen_lib[num++] = p;
      }
    }
  }
}

template <int S>
void count_connections(const Board<S>& b, Analysis<S>& a) {
  const int n = b.size;
  memset(a.connect, 0, sizeof a.connect);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if (b.ban[z] != EMPTY) continue;
      int count[4] = {};
      for (int d : kDir8<S>) count[b.ban[z + d]]++;
      if (count[BLACK] && count[WHITE]) {
        link_jump(b, a, z);
        link_protected_point(b, a, z);
      } else if (x > 1 && x < n && y > 1 && y < n && (count[BLACK] || count[WHITE])) {
        int c = count[BLACK] ? BLACK : WHITE;
        link_one_colour(b, a, z, c, count[c]);
      }
    }
  }
  // The strings around a dead string are joined through it.
  for (int i = 0; i < a.str_num; i++) {
    int s = a.str_list[i];
    if (a.str[s].status == STATUS_ALIVE) continue;
    int around[4 * NEAR_MAX], num = 0;
    for (int z = b.ren[s].first; z; z = b.next_stone[z]) {
      for (int d : kDir4<S>) {
        if (b.ban[z + d] == opponent(a.str[s].color)) add_unique(around, num, 4 * NEAR_MAX, a.rn[z + d]);
      }
    }
    for (int p = 0; p < num; p++) {
      for (int q = p + 1; q < num; q++) link_strings(a, around[p], around[q]);
    }
  }
  link_shared_liberties(b, a);
  if constexpr (S == 256) two_space_links(b, a);
}

// Adds a living string to group g and queues it.
template <int S>
void join_group(Analysis<S>& a, int g, int s, int& end) {
  AnalysisString& str = a.str[s];
  if (str.group || str.status != STATUS_ALIVE) return;
  if (str.color != a.group[g].color) {
    PRT("色が違う連を登録！\n");
    internal_stop();
  }
  str.group = g;
  a.group_strings[end++] = uint16_t(s);
}

template <int S>
void build_groups(const Board<S>& b, Analysis<S>& a) {
  a.group_num = 0;
  for (int k = 1; k <= a.area_num; k++) a.area[k].group = 0;
  int end = 0, areas = 0;
  for (int i = 0; i < a.str_num; i++) {
    int start = a.str_list[i];
    if (a.str[start].status != STATUS_ALIVE || a.str[start].group) continue;
    if (a.group_num >= GROUP_MAX) {
      PRT("群の数が多すぎる！ %s=%d\n", S == 256 ? "gun_num" : "group_num", a.group_num);
      internal_stop();
    }
    int g = ++a.group_num;
    Group& gr = a.group[g];
    gr = Group{};
    gr.color = a.str[start].color;
    gr.ren_first = end;
    gr.ji_first = areas;
    join_group(a, g, start, end);
    for (int q = gr.ren_first; q < end; q++) {
      int s = a.group_strings[q];
      const AnalysisString& str = a.str[s];
      for (int l = 0; l < str.link_num; l++) join_group(a, g, str.link[l], end);
      for (int z = b.ren[s].first; z; z = b.next_stone[z]) {
        for (int d : kDir4<S>) {
          int p = z + d;
          int k = a.area_no[p];
          if (k && a.area[k].color == gr.color && a.area[k].group != g) {
            if (a.area[k].group) {
              PRT("群と地の色違 search_ren=%d,z=%04x\n", s, to_point_code<S>(p));
              internal_stop();
            }
            a.area[k].group = g;
            a.group_areas[areas++] = uint16_t(k);
            // Strings around one area belong together.
            for (int j = 0; j < a.area[k].num; j++) {
              int ap = a.area_points[a.area[k].first + j];
              for (int e : kDir4<S>) {
                if (b.ban[ap + e] == gr.color) join_group(a, g, a.rn[ap + e], end);
              }
            }
          }
          if (b.ban[p] == opponent(gr.color) && a.str[a.rn[p]].status == STATUS_DEAD) {
            add_unique(gr.near_ren, gr.near_num, NEAR_MAX, a.rn[p]);
          }
        }
      }
    }
    gr.in_ren_num = end - gr.ren_first;
    gr.in_ji_num = areas - gr.ji_first;
    // Stones and distinct liberties.
    uint32_t seen = next_visit(a);
    for (int q = gr.ren_first; q < end; q++) {
      int s = a.group_strings[q];
      gr.stones += a.str[s].stones;
      for (int l = 0; l < b.ren[s].lib_num; l++) {
        int p = b.ren[s].libs[l];
        if (a.visit[p] == seen) continue;
        a.visit[p] = seen;
        gr.libs++;
      }
    }
  }
  // Adjacent enemy groups.
  for (int g = 1; g <= a.group_num; g++) {
    Group& gr = a.group[g];
    for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
      const AnalysisString& s = a.str[a.group_strings[q]];
      for (int k = 0; k < s.enemy_num; k++) {
        int eg = a.str[s.enemy[k]].group;
        if (eg) add_unique(gr.enemy, gr.enemy_num, NEAR_MAX, eg);
      }
    }
  }
}

}  // namespace

template <int S>
void analyze(Board<S>& b, Analysis<S>& a, int thread, AnalysisScope scope) {
  collect_strings(b, a);
  mark_provisional(b, a);
  ReadingState& rs = reading_state(thread);
  read_weak_strings(b, a, rs);
  fuse_areas(b, a);
  count_connections(b, a);
  build_groups(b, a);
  area_eye_values(b, a);
  group_eye_totals(a);
  semeai_and_safety(b, a);
  judge_points(b, a);
  if (scope == ANALYSIS_WITH_FINAL_STATUS) settle_final_status(b, a, rs);
}

template void analyze<256>(Board<256>&, Analysis<256>&, int, AnalysisScope);
template void analyze<32>(Board<32>&, Analysis<32>&, int, AnalysisScope);
