#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/kifu.h"
#include "core/log.h"
#include "knowledge/analysis.h"
#include "knowledge/analysis_detail.h"
#include "knowledge/reading.h"

namespace {

constexpr int SECURE = 100;
constexpr int POTENTIAL_REACH = 4;
constexpr int POTENTIAL_WEIGHT[POTENTIAL_REACH + 1] = {0, 16, 8, 4, 2};
constexpr int POTENTIAL_MIN = 12;      // weaker influence leaves a point neutral
constexpr int OWNER_VALUE_MAX = 99;   // below a secure point's value
// A small gap between living stones of both colours is dame, not influence.
constexpr int DAME_REGION_MAX = 4;
constexpr int NEUTRAL_REACH = 2;
// Empty space of one colour this large makes two eyes.
constexpr int OWN_ROOM = 7;
constexpr int PRINT_CLAMP = 999;

constexpr int PHASE_OPEN = 0;  // below 15 % stones space bordered by one colour is still open
// Unsettled groups below this safety close no space in the evaluation.
constexpr int FIRM_SAFETY = 50;
// Marks a living stone of such a group in the map of living stones: it
// gives influence and blocks, but encloses nothing.
constexpr int WEAK_STONE = 4;
constexpr int COLOR_BITS = 3;
// A claimed area larger than this, holding at least this many of the
// opponent's stones, is still open in the evaluation.
constexpr int OPEN_CLAIM = 12;
constexpr int OPEN_CLAIM_STONES = 3;

// Per-point weights of the evaluation's uncertain territory by game phase:
// the third and fourth lines matter more while the board is empty.
int phase_weight[21 * 256];
int phase_weight_phase = -1;
int phase_weight_size;

void build_phase_weights(int phase, int n) {
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int line = std::min(std::min(x, n + 1 - x), std::min(y, n + 1 - y));
      int l2 = line * line;
      int w = 100;
      if (phase == 0 && l2 == 9) w = 160;
      else if (phase == 0 && l2 == 16) w = 120;
      else if (phase == 1 && l2 >= 9 && l2 <= 16) w = 120;
      phase_weight[make_z(x, y)] = w;
    }
  }
  phase_weight_phase = phase;
  phase_weight_size = n;
}

template <int S>
bool living_stone(const Analysis<S>& a, int z) {
  const AnalysisString& s = a.str[a.rn[z]];
  if (s.status != STATUS_ALIVE) return s.mark == MARK_REVIVED;
  int st = a.group[s.group].status;
  return st == STATUS_ALIVE || st == STATUS_UNSETTLED;
}

int sign_of(int color) { return color == BLACK ? 1 : -1; }

// A point with living stones of both colours close by is neutral.
template <int S>
bool between_colours(const Board<S>& b, const int8_t* live, int z) {
  int seen = 0;
  const int x = z % S, y = z / S;
  for (int dy = -NEUTRAL_REACH; dy <= NEUTRAL_REACH; dy++) {
    int reach = NEUTRAL_REACH - std::abs(dy);
    for (int dx = -reach; dx <= reach; dx++) {
      int xx = x + dx, yy = y + dy;
      if (xx >= 1 && xx <= b.size && yy >= 1 && yy <= b.size) seen |= live[yy * S + xx] & COLOR_BITS;
    }
  }
  return seen == (BLACK | WHITE);
}

// Territory of the living stones: regions of empty points and dead stones
// bounded by one colour (and no weak stone) are that colour's; elsewhere
// influence decides.
template <int S>
void territory(const Board<S>& b, Analysis<S>& a, const int8_t* live) {
  const int n = b.size;
  memset(a.kakutei, 0, sizeof a.kakutei);
  memset(a.potential, 0, sizeof a.potential);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int c = live[y * S + x] & COLOR_BITS;
      if (!c) continue;
      for (int dy = -POTENTIAL_REACH; dy <= POTENTIAL_REACH; dy++) {
        int yy = y + dy;
        if (yy < 1 || yy > n) continue;
        int reach = POTENTIAL_REACH - std::abs(dy);
        for (int dx = -reach; dx <= reach; dx++) {
          int xx = x + dx;
          if (xx < 1 || xx > n || (!dx && !dy)) continue;
          a.potential[yy * S + xx] += sign_of(c) * POTENTIAL_WEIGHT[std::abs(dx) + std::abs(dy)];
        }
      }
    }
  }
  uint32_t seen = next_visit(a);
  uint16_t stack[POINT_MAX], members[POINT_MAX];
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if (live[z]) {
        a.owner_value[z] = sign_of(live[z] & COLOR_BITS) * SECURE;
        continue;
      }
      if (a.visit[z] == seen) continue;
      int num = 0, border = 0, sp = 0;
      stack[sp++] = uint16_t(z);
      a.visit[z] = seen;
      while (sp) {
        int p = stack[--sp];
        members[num++] = uint16_t(p);
        for (int d : kDir4<S>) {
          int q = p + d;
          if (b.ban[q] == EDGE) continue;
          if (live[q]) {
            border |= live[q];
          } else if (a.visit[q] != seen) {
            a.visit[q] = seen;
            stack[sp++] = uint16_t(q);
          }
        }
      }
      for (int i = 0; i < num; i++) {
        int p = members[i];
        if (border == BLACK || border == WHITE) {
          a.kakutei[p] = sign_of(border) * SECURE;
          a.owner_value[p] = a.kakutei[p];
        } else if (border && (num <= DAME_REGION_MAX || between_colours(b, live, p))) {
          a.owner_value[p] = 0;
        } else {
          int v = a.potential[p];
          a.owner_value[p] = std::abs(v) < POTENTIAL_MIN ? 0 : std::clamp(v, -OWNER_VALUE_MAX, OWNER_VALUE_MAX);
        }
      }
    }
  }
}

// Steps from the nearest living stone of each colour through empty points
// and dead stones; UNREACHED where that colour borders no such space.
constexpr int UNREACHED = 9999;
constexpr int CLOSER_BY = 2;

template <int S>
void distances(const Board<S>& b, const int8_t* live, int color, int16_t* dist) {
  const int n = b.size;
  uint16_t queue[POINT_MAX];
  int head = 0, tail = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      dist[z] = live[z] == color ? 0 : UNREACHED;
      if (!dist[z]) queue[tail++] = uint16_t(z);
    }
  }
  while (head < tail) {
    int p = queue[head++];
    for (int d : kDir4<S>) {
      int q = p + d;
      if (b.ban[q] == EDGE || live[q] || dist[q] != UNREACHED) continue;
      dist[q] = int16_t(dist[p] + 1);
      queue[tail++] = uint16_t(q);
    }
  }
}

// Who an empty point counts for. Space bordered by one colour alone is that
// colour's. Where both border it the boundary is not closed yet: a colour
// clearly closer (walls go around, not through) takes the point, as the last
// boundary moves would give it; points about as near to both are dame.
template <int S>
int point_owner(const Analysis<S>& a, int z, const int16_t* to_black, const int16_t* to_white) {
  bool black = to_black[z] != UNREACHED, white = to_white[z] != UNREACHED;
  if (black && white) {
    int lead = to_white[z] - to_black[z];
    return lead >= CLOSER_BY ? BLACK : lead <= -CLOSER_BY ? WHITE : 0;
  }
  if (black || white) return black ? BLACK : WHITE;
  if (a.owner_value[z]) return a.owner_value[z] > 0 ? BLACK : WHITE;
  return a.kari[z];
}

// The group and the friends still in play that it reaches through its
// liberties, and theirs in turn: true when that is a way out, a friend
// alive or not shut in (or the group not shut in itself). Shut in together
// they fight as one: their liberties and eyes in total, and whether the
// group is alone.
template <int S>
bool chain_lives(const Board<S>& b, const Analysis<S>& a, int g, int& libs, int& eyes, bool& alone) {
  const int color = a.group[g].color;
  int chain[GROUP_MAX], num = 0;
  bool in_chain[GROUP_MAX + 1] = {}, seen[Analysis<S>::ARRAY] = {};
  chain[num++] = g, in_chain[g] = true;
  libs = eyes = 0;
  for (int i = 0; i < num; i++) {
    const Group& gr = a.group[chain[i]];
    eyes += gr.eyes;
    for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
      const auto& r = b.ren[a.group_strings[q]];
      for (int l = 0; l < r.lib_num; l++) {
        int p = r.libs[l];
        if (seen[p]) continue;
        seen[p] = true, libs++;
        for (int d : kDir4<S>) {
          if (b.ban[p + d] != color) continue;
          int og = a.str[a.rn[p + d]].group;
          if (!og || in_chain[og] || a.group[og].status == STATUS_DEAD) continue;
          if (a.group[og].status == STATUS_ALIVE || !a.group[og].boxed || !a.group[g].boxed) return true;
          chain[num++] = og, in_chain[og] = true;
        }
      }
    }
  }
  alone = num == 1;
  return false;
}

// The group reaches a friend that `wanted` accepts through quiet space,
// empty points that no stone of the other colour touches (a stone cut in
// there has no outside help), along two paths: whichever single point the
// opponent fills, a way remains. The space may be as large as the board.
template <int S, typename Wanted>
bool joined_through_quiet_space(const Board<S>& b, const Analysis<S>& a, int g, Wanted wanted) {
  const Group& gr = a.group[g];
  const int o = opponent(gr.color);
  auto quiet = [&](int p) {
    if (b.ban[p] != EMPTY) return false;
    for (int d : kDir4<S>) {
      if (b.ban[p + d] == o) return false;
    }
    return true;
  };
  int pts[POINT_MAX], num = 0;
  bool start[POINT_MAX] = {}, goal[POINT_MAX] = {};
  int16_t index_of[Analysis<S>::ARRAY];
  std::fill(index_of, index_of + Analysis<S>::ARRAY, int16_t(-1));
  auto index = [&](int p) { return index_of[p] < 0 ? num : int(index_of[p]); };
  auto add = [&](int p) { index_of[p] = int16_t(num), pts[num++] = p; };
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    const auto& r = b.ren[a.group_strings[q]];
    for (int l = 0; l < r.lib_num; l++) {
      int p = r.libs[l];
      if (!quiet(p) || index(p) < num) continue;
      start[num] = true;
      add(p);
    }
  }
  for (int i = 0; i < num; i++) {
    for (int d : kDir4<S>) {
      int p = pts[i] + d;
      if (b.ban[p] == gr.color) {
        int og = a.str[a.rn[p]].group;
        goal[i] |= og && og != g && wanted(og);
      } else if (quiet(p) && index(p) == num) {
        add(p);
      }
    }
  }
  // Breadth-first from the starts with the point `filled` filled (num:
  // none): the goal reached, or -1; parent[] leads back to a start.
  int16_t parent[POINT_MAX];
  auto reach = [&](int filled) {
    bool seen[POINT_MAX] = {};
    int queue[POINT_MAX], head = 0, tail = 0;
    for (int i = 0; i < num; i++) {
      if (start[i] && i != filled) seen[i] = true, parent[i] = -1, queue[tail++] = i;
    }
    while (head < tail) {
      int i = queue[head++];
      if (goal[i]) return i;
      for (int d : kDir4<S>) {
        int k = index(pts[i] + d);
        if (k < num && k != filled && !seen[k]) seen[k] = true, parent[k] = int16_t(i), queue[tail++] = k;
      }
    }
    return -1;
  };
  // A point whose filling cuts the way lies on every way, so on the first
  // one found: only its points need filling in turn.
  int end = reach(num);
  if (end < 0) return false;
  int path[POINT_MAX], len = 0;
  for (int i = end; i >= 0; i = parent[i]) path[len++] = i;
  for (int k = 0; k < len; k++) {
    if (reach(path[k]) < 0) return false;
  }
  return true;
}

// Liberties a stone of colour c played at z would have, captures aside.
template <int S>
int liberties_after_play(const Board<S>& b, int z, int c) {
  int libs[4 * LIB_MAX + 4], num = 0;
  for (int d : kDir4<S>) {
    int q = z + d;
    if (b.ban[q] == EMPTY) {
      add_unique(libs, num, 4 * LIB_MAX + 4, q);
    } else if (b.ban[q] == c) {
      const auto& r = b.ren[string_of(b, q)];
      for (int l = 0; l < r.lib_num; l++) {
        if (r.libs[l] != z) add_unique(libs, num, 4 * LIB_MAX + 4, r.libs[l]);
      }
    }
  }
  return num;
}

// Taking the single stone s, in atari, would be a ko, and its owner ends it
// by connecting at the liberty with room to spare: no chance for the takers.
template <int S>
bool ko_its_owner_ends(const Board<S>& b, const AnalysisString& s) {
  int p = s.lib_z;
  return s.stones == 1 && liberties_after_play(b, p, opponent(s.color)) == 0 &&
         liberties_after_play(b, p, s.color) >= 2;
}

// The group's eyes in a race. An eye space holding enemy stones counts for
// nothing when all the group's liberties lie in its own areas: it cannot
// take those stones without filling its last liberties.
template <int S>
int race_eyes(const Board<S>& b, const Analysis<S>& a, int gi) {
  const Group& g = a.group[gi];
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const auto& r = b.ren[a.group_strings[q]];
    for (int l = 0; l < r.lib_num; l++) {
      int k = a.area_no[r.libs[l]];
      if (!k || a.area[k].group != gi) return g.eyes;
    }
  }
  int eyes = 0;
  for (int i = g.ji_first; i < g.ji_first + g.in_ji_num; i++) {
    const Area& ar = a.area[a.group_areas[i]];
    if (ar.num == ar.empty) eyes += ar.eye;
  }
  return eyes;
}

// Enemy strings touch the group and each wins its race against the whole
// group: a string of a living group that is not in atari (its group holds
// it), or one of an unsettled group that has a way out or more liberties
// and as many eyes; shut in with friends, it needs more liberties or eyes
// than the group with all of them together. Then the group holds no race
// and no seki.
template <int S>
bool loses_every_race(const Board<S>& b, const Analysis<S>& a, int gi) {
  const Group& g = a.group[gi];
  // A string of the group in atari that extending cannot save falls to the
  // first move of the enemy strings out of atari that it touches, whoever is
  // to move.
  bool taker[GROUP_MAX + 1] = {};
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const AnalysisString& s = a.str[a.group_strings[q]];
    if (s.libs != 1 || liberties_after_play(b, s.lib_z, s.color) >= 2) continue;
    for (int k = 0; k < s.enemy_num; k++) {
      const AnalysisString& e = a.str[s.enemy[k]];
      if (e.libs >= 2) taker[e.group] = true;
    }
  }
  // Shut in without an eye, taking a lone enemy stone in atari gives the
  // group one point, a liberty for its other races, and no life.
  auto lone_in_atari = [&](const AnalysisString& e) {
    return g.boxed && g.eyes == AREA_NO_EYE && e.status == STATUS_ALIVE && e.libs == 1 && e.stones == 1 &&
           a.group[e.group].status == STATUS_UNSETTLED && a.group[e.group].stones == 1;
  };
  int lone[NEAR_MAX], lone_num = 0;
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const AnalysisString& s = a.str[a.group_strings[q]];
    for (int k = 0; k < s.enemy_num; k++) {
      if (lone_in_atari(a.str[s.enemy[k]])) add_unique(lone, lone_num, NEAR_MAX, s.enemy[k]);
    }
  }
  const int libs = g.libs + lone_num;
  const int eyes_in_race = race_eyes(b, a, gi);
  bool touched = false;
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const AnalysisString& s = a.str[a.group_strings[q]];
    for (int k = 0; k < s.enemy_num; k++) {
      const AnalysisString& e = a.str[s.enemy[k]];
      if (lone_in_atari(e)) continue;
      // A dead enemy string gives no liberty before the group itself is
      // taken, unless the group can take it at once and gains more than the
      // eye it stands in; it lives again then.
      if (e.status != STATUS_ALIVE) {
        int area = a.area_no[e.z];
        if (e.libs < 2 && !(area && a.area[area].group == gi)) return false;
        continue;
      }
      const Group& eg = a.group[e.group];
      if (eg.status == STATUS_ALIVE) {
        if (e.libs < 2 && !ko_its_owner_ends(b, e)) return false;
      } else if (eg.status == STATUS_DEAD) {
        return false;
      } else if (!taker[e.group]) {
        int chain_libs, eyes;
        bool alone = true;
        if (!chain_lives(b, a, e.group, chain_libs, eyes, alone)) {
          if (alone ? chain_libs <= libs || eyes < eyes_in_race : chain_libs <= libs && eyes <= eyes_in_race) return false;
        }
      }
      touched = true;
    }
  }
  return touched;
}

// A liberty of the group opens on empty space of its own colour large enough
// for two eyes.
template <int S>
bool owns_room(const Board<S>& b, const Analysis<S>& a, const Group& g) {
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const auto& r = b.ren[a.group_strings[q]];
    for (int l = 0; l < r.lib_num; l++) {
      int p = r.libs[l];
      if (a.kakutei[p] == sign_of(g.color) * SECURE && a.region_size[a.empty_region[p]] >= OWN_ROOM) return true;
    }
  }
  return false;
}

// An empty region at the group's liberties that the opponent's stones touch
// only at the mouths of its wall, points next to the group itself, holds
// room for two eyes in the points he does not touch: each push in is met
// by the group at once.
template <int S>
bool owns_walled_room(const Board<S>& b, Analysis<S>& a, int g) {
  const Group& gr = a.group[g];
  const int o = opponent(gr.color);
  auto touches = [&](int p, auto is) {
    for (int d : kDir4<S>) {
      if (is(p + d)) return true;
    }
    return false;
  };
  auto enemy = [&](int p) { return b.ban[p] == o; };
  auto own = [&](int p) { return b.ban[p] == gr.color && a.str[a.rn[p]].group == g; };
  const uint32_t seen = next_visit(a);
  uint16_t stack[POINT_MAX];
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    const auto& r = b.ren[a.group_strings[q]];
    for (int l = 0; l < r.lib_num; l++) {
      if (a.visit[r.libs[l]] == seen) continue;
      int sp = 0, quiet = 0;
      bool walled = true;
      stack[sp++] = uint16_t(r.libs[l]);
      a.visit[r.libs[l]] = seen;
      while (sp) {
        int p = stack[--sp];
        if (!touches(p, enemy)) quiet++;
        else walled = walled && touches(p, own);
        for (int d : kDir4<S>) {
          if (b.ban[p + d] == EMPTY && a.visit[p + d] != seen) a.visit[p + d] = seen, stack[sp++] = uint16_t(p + d);
        }
      }
      if (walled && quiet >= OWN_ROOM) return true;
    }
  }
  return false;
}

// A stone of colour c played at p is illegal or taken by reading.
template <int S>
bool lost_when_played(Board<S>& b, int p, int c, ReadingState& rs) {
  if (put_stone(b, p, c) != PUT_OK) return true;
  bool lost = kill_string(b, p, rs) == READ_DEAD;
  take_back(b, p, c);
  return lost;
}

// Colour c cannot fill p: the stone is lost, also after c first plays any
// other liberty of the strings it would join. Those strings are shut in
// and cannot be taken themselves: else it is a race, not a seki.
template <int S>
bool cannot_fill(Board<S>& b, const Analysis<S>& a, int p, int c, ReadingState& rs) {
  if (!lost_when_played(b, p, c, rs)) return false;
  int libs[4 * LIB_MAX], num = 0;
  for (int d : kDir4<S>) {
    if (b.ban[p + d] != c) continue;
    int og = a.str[a.rn[p + d]].group;
    if (!og || !a.group[og].boxed || kill_string(b, p + d, rs) == READ_DEAD) return false;
    const auto& r = b.ren[string_of(b, p + d)];
    for (int l = 0; l < r.lib_num; l++) {
      if (r.libs[l] != p) add_unique(libs, num, 4 * LIB_MAX, r.libs[l]);
    }
  }
  for (int i = 0; i < num; i++) {
    if (put_stone(b, libs[i], c) != PUT_OK) continue;
    bool lost = lost_when_played(b, p, c, rs);
    take_back(b, libs[i], c);
    if (!lost) return false;
  }
  return true;
}

// Every liberty of the group is an eye point, all of whose neighbours are
// its own stones, or one the opponent cannot fill: with two liberties or
// more on every string it cannot be taken, whoever moves.
template <int S>
bool liberties_cannot_be_filled(Board<S>& b, const Analysis<S>& a, int gi, ReadingState& rs) {
  const Group& g = a.group[gi];
  auto own = [&](int p) { return b.ban[p] == g.color && a.str[a.rn[p]].group == gi; };
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    if (b.ren[a.group_strings[q]].lib_num < 2) return false;
  }
  for (int q = g.ren_first; q < g.ren_first + g.in_ren_num; q++) {
    const auto& r = b.ren[a.group_strings[q]];
    int libs[LIB_MAX], lib_num = r.lib_num;
    std::copy(r.libs, r.libs + lib_num, libs);
    for (int l = 0; l < lib_num; l++) {
      int p = libs[l];
      bool eye = true, stranger = false;
      for (int d : kDir4<S>) {
        eye &= own(p + d) || b.ban[p + d] == EDGE;
        stranger |= b.ban[p + d] == g.color && !own(p + d);
      }
      if (!eye && (stranger || !cannot_fill(b, a, p, opponent(g.color), rs))) return false;
    }
  }
  return true;
}

// A point next to a stone of group g's colour that belongs to a living
// group other than g (`alive` by group number).
template <int S>
bool touches_living_friend(const Board<S>& b, const Analysis<S>& a, const bool* alive, int g, int p) {
  for (int d : kDir4<S>) {
    if (b.ban[p + d] != a.group[g].color) continue;
    int og = a.str[a.rn[p + d]].group;
    if (og && og != g && alive[og]) return true;
  }
  return false;
}

// Strings with more liberties are not read for a capture.
constexpr int READ_LIBERTIES = 3;

// The string at z stands on its own and cannot be captured by reading.
template <int S>
bool safe_string(Board<S>& b, int z, ReadingState& rs) {
  const auto& r = b.ren[string_of(b, z)];
  return r.lib_num >= 2 && (r.lib_num > READ_LIBERTIES || kill_string(b, z, rs) != READ_DEAD);
}

// The opponent's stone at p, cutting the string at z of group g from a
// living friend, fails: z's colour captures it by reading with a first move
// that leaves the string out of atari, or joins another living friend at a
// liberty of the string and is then safe.
template <int S>
bool cut_fails(Board<S>& b, const Analysis<S>& a, const bool* alive, int g, int p, int z, ReadingState& rs) {
  const int c = b.ban[z], o = opponent(c);
  if (put_stone(b, p, o) != PUT_OK) return true;
  bool fails = false;
  if (b.ban[z] == c && kill_string(b, p, rs) == READ_DEAD) {
    int k = reading_move(b, rs);
    if (put_stone(b, k, c) == PUT_OK) {
      fails = b.ban[z] == c && b.ren[string_of(b, z)].lib_num >= 2;
      take_back(b, k, c);
    }
  }
  if (b.ban[z] == c) {
    const auto& r = b.ren[string_of(b, z)];
    int libs[LIB_MAX], lib_num = r.lib_num;
    std::copy(r.libs, r.libs + lib_num, libs);
    for (int l = 0; l < lib_num && !fails; l++) {
      int q = libs[l];
      if (!touches_living_friend(b, a, alive, g, q) || put_stone(b, q, c) != PUT_OK) continue;
      fails = safe_string(b, z, rs);
      take_back(b, q, c);
    }
  }
  take_back(b, p, o);
  return fails;
}

// A group judged dead that touches a living friend across a point the
// opponent cannot fill without putting himself in atari, or where his
// cutting stone fails, is connected.
template <int S>
bool safely_joined(Board<S>& b, const Analysis<S>& a, const bool* alive, int g, ReadingState& rs) {
  const Group& gr = a.group[g];
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    const int z = a.str[a.group_strings[q]].z;
    const auto& r = b.ren[a.group_strings[q]];
    int libs[LIB_MAX], lib_num = r.lib_num;
    std::copy(r.libs, r.libs + lib_num, libs);
    for (int l = 0; l < lib_num; l++) {
      int p = libs[l];
      if (!touches_living_friend(b, a, alive, g, p)) continue;
      if (liberties_after_play(b, p, opponent(gr.color)) < 2 || cut_fails(b, a, alive, g, p, z, rs)) return true;
    }
  }
  return false;
}

// Dead strings next to a group given up at the end of the game live when no
// living stone of the other colour touches them and no living group owns the
// area they stand in.
template <int S>
void revive_around_hopeless(const Board<S>& b, const Analysis<S>& a, const bool* hopeless, int8_t* live) {
  for (int i = 0; i < a.str_num; i++) {
    int n = a.str_list[i];
    const AnalysisString& s = a.str[n];
    if (live[s.z]) continue;
    bool next_to_hopeless = false, killer_lives = false;
    for (int k = 0; k < s.enemy_num; k++) {
      const AnalysisString& e = a.str[s.enemy[k]];
      next_to_hopeless |= e.status == STATUS_ALIVE && hopeless[e.group];
      killer_lives |= live[e.z] != 0;
    }
    int area = a.area_no[s.z];
    int owner = area ? a.area[area].group : 0;
    killer_lives |= owner && a.group[owner].status != STATUS_DEAD && !hopeless[owner];
    if (!next_to_hopeless || killer_lives) continue;
    for (int z = b.ren[n].first; z; z = b.next_stone[z]) live[z] = int8_t(s.color);
  }
}

// After the opponent's atari at any other liberty of the string at `first`,
// its colour connects at p and is not left in atari.
template <int S>
bool connection_holds(Board<S>& b, int first, int p) {
  const int c = b.ban[first], o = opponent(c);
  const auto& r = b.ren[string_of(b, first)];
  int libs[LIB_MAX], lib_num = r.lib_num;
  std::copy(r.libs, r.libs + lib_num, libs);
  for (int l = 0; l < lib_num; l++) {
    int q = libs[l];
    if (q == p || put_stone(b, q, o) != PUT_OK) continue;
    bool holds = b.ban[first] == c && put_stone(b, p, c) == PUT_OK;
    if (holds) {
      holds = b.ren[string_of(b, p)].lib_num >= 2;
      take_back(b, p, c);
    }
    take_back(b, q, o);
    if (!holds) return false;
  }
  return true;
}

// A string judged dead with two liberties or more that touches a living
// string of its colour across a point the opponent cannot fill without being
// in atari is connected to it: an atari at its other liberty is answered
// there, unless the connected string is then in atari itself.
template <int S>
void join_dead_strings(Board<S>& b, const Analysis<S>& a, int8_t* live) {
  for (int i = 0; i < a.str_num; i++) {
    const auto& r = b.ren[a.str_list[i]];
    if (live[r.first] || r.lib_num < 2) continue;
    const int first = r.first, color = r.color;
    int libs[LIB_MAX], lib_num = r.lib_num;
    std::copy(r.libs, r.libs + lib_num, libs);
    bool joined = false;
    for (int l = 0; l < lib_num && !joined; l++) {
      int p = libs[l];
      if (liberties_after_play(b, p, opponent(color)) >= 2) continue;
      for (int d : kDir4<S>) joined |= b.ban[p + d] == color && live[p + d];
      joined = joined && connection_holds(b, first, p);
    }
    if (!joined) continue;
    for (int z = first; z; z = b.next_stone[z]) live[z] = int8_t(color);
  }
}

// A living string left in atari at the end is taken when connecting at its
// liberty leaves it in atari, it cannot take an attacker instead (other than
// by a ko), and taking it is safe: no snapback, no ko, and not by stones that
// are dead themselves.
template <int S>
void take_hopeless_ataris(const Board<S>& b, const Analysis<S>& a, int8_t* live) {
  for (int i = 0; i < a.str_num; i++) {
    int s = a.str_list[i];
    const auto& r = b.ren[s];
    if (r.lib_num != 1 || !live[r.first]) continue;
    int p = r.libs[0], c = r.color, taker = opponent(c);
    if (liberties_after_play(b, p, c) >= 2) continue;
    bool counter = false;
    for (int z = r.first; z && !counter; z = b.next_stone[z]) {
      for (int d : kDir4<S>) {
        if (b.ban[z + d] != taker) continue;
        const auto& e = b.ren[string_of(b, z + d)];
        counter |= e.lib_num == 1 && (e.stones > 1 || liberties_after_play(b, e.libs[0], c) >= 1);
      }
    }
    bool by_dead = false;  // dead stones joined by the capture lose the race
    for (int d : kDir4<S>) by_dead |= b.ban[p + d] == taker && !live[p + d];
    if (counter || by_dead) continue;
    // The stones the move at p takes, this string's and any other in atari there.
    int taken = 0, seen[4], seen_num = 0;
    for (int d : kDir4<S>) {
      if (b.ban[p + d] != c) continue;
      int t = string_of(b, p + d);
      if (b.ren[t].lib_num != 1) continue;
      int before = seen_num;
      add_unique(seen, seen_num, 4, t);
      if (seen_num > before) taken += b.ren[t].stones;
    }
    if (taken == 1 && liberties_after_play(b, p, taker) < 1) continue;
    for (int z = r.first; z; z = b.next_stone[z]) live[z] = 0;
  }
}

// Strings with more liberties are not read for a seki.
constexpr int SEKI_LIBERTIES = 2;
constexpr int SEKI_INSIDE_LIBERTIES = 3;
// Outside liberties the opponent is let fill before the reading.
constexpr int SEKI_OUTSIDE_MAX = 8;

// The group of the living stone at z (its string when it has none) has two
// liberties (fewer is no seki), each next to a stone of the other colour
// that is not living: none out of the space it encloses.
template <int S>
bool shut_in(const Board<S>& b, const Analysis<S>& a, const int8_t* live, int z) {
  const AnalysisString& s = a.str[a.rn[z]];
  const int g = s.status == STATUS_ALIVE ? s.group : 0;
  int first = g ? a.group[g].ren_first : 0, strings = g ? a.group[g].in_ren_num : 1;
  int libs[SEKI_LIBERTIES], num = 0;
  for (int q = first; q < first + strings; q++) {
    const auto& r = b.ren[g ? a.group_strings[q] : a.rn[z]];
    for (int l = 0; l < r.lib_num; l++) {
      int p = r.libs[l];
      if (std::find(libs, libs + num, p) != libs + num) continue;
      if (num == SEKI_LIBERTIES) return false;
      bool inner = false;
      for (int d : kDir4<S>) inner |= b.ban[p + d] == opponent(s.color) && !live[p + d];
      if (!inner) return false;
      libs[num++] = p;
    }
  }
  return num == SEKI_LIBERTIES;
}

// A string still dead at the end, short of liberties, with an eye of its own
// and next to a living string that is shut in with it, that the opponent
// cannot capture even moving first: taking it would cost him his own string
// first. It lives in seki with the strings it touches, and its liberties are
// no one's.
template <int S>
void find_seki(Board<S>& b, const Analysis<S>& a, int8_t* live, bool* seki, ReadingState& rs) {
  int found[REN_MAX], num = 0;
  for (int i = 0; i < a.str_num; i++) {
    const auto& r = b.ren[a.str_list[i]];
    if (live[r.first] || r.lib_num > SEKI_LIBERTIES) continue;
    const int color = r.color;
    bool next_to_shut_in = false;
    for (int z = r.first; z; z = b.next_stone[z]) {
      for (int d : kDir4<S>) {
        int q = z + d;
        next_to_shut_in |= b.ban[q] == opponent(color) && live[q] && shut_in(b, a, live, q);
      }
    }
    bool own_eye = false;
    for (int l = 0; l < r.lib_num; l++) {
      bool eye = true;
      for (int d : kDir4<S>) eye &= b.ban[r.libs[l] + d] == color || b.ban[r.libs[l] + d] == EDGE;
      own_eye |= eye;
    }
    if (next_to_shut_in && own_eye && kill_string(b, r.first, rs) == READ_LIVE) found[num++] = a.str_list[i];
  }
  // The strings it touches touch no other stones given up: those would be
  // taken first and free them.
  bool candidate[REN_MAX + 1] = {};
  for (int i = 0; i < num; i++) candidate[found[i]] = true;
  auto touches_only_seki = [&](int z, int color) {
    for (int t = b.ren[string_of(b, z)].first; t; t = b.next_stone[t]) {
      for (int d : kDir4<S>) {
        int q = t + d;
        if (b.ban[q] == color && !live[q] && !candidate[string_of(b, q)]) return false;
      }
    }
    return true;
  };
  int kept = 0;
  for (int i = 0; i < num; i++) {
    const auto& r = b.ren[found[i]];
    bool keep = true;
    for (int z = r.first; z && keep; z = b.next_stone[z]) {
      for (int d : kDir4<S>) {
        if (b.ban[z + d] == opponent(r.color)) keep = keep && touches_only_seki(z + d, r.color);
      }
    }
    if (keep) found[kept++] = found[i];
  }
  for (int i = 0; i < kept; i++) {
    const auto& r = b.ren[found[i]];
    const int color = r.color;
    for (int z = r.first; z; z = b.next_stone[z]) {
      live[z] = int8_t(color);
      seki[z] = true;
      for (int d : kDir4<S>) {
        int q = z + d;
        if (b.ban[q] == EMPTY) seki[q] = true;
        if (b.ban[q] != opponent(color) || seki[q]) continue;
        for (int t = b.ren[string_of(b, q)].first; t; t = b.next_stone[t]) seki[t] = true;
      }
    }
  }
}

// A group left unsettled with one eye space that holds the opponent's
// stones, its other liberties all against living enemy stones, lives in seki
// with those stones when, once the opponent has filled those outside
// liberties, it cannot capture any of them even moving first: the space is
// no one's.
template <int S>
void find_seki_in_eye_space(Board<S>& b, const Analysis<S>& a, int8_t* live, bool* seki, ReadingState& rs) {
  for (int g = 1; g <= a.group_num; g++) {
    const Group& gr = a.group[g];
    const int first = a.str[a.group_strings[gr.ren_first]].z;
    if (gr.status != STATUS_UNSETTLED || gr.eyes != AREA_EYE_IF_FIRST || gr.in_ji_num != 1 || !live[first]) continue;
    const int k = a.group_areas[gr.ji_first];
    const Area& ar = a.area[k];
    if (ar.num == ar.empty) continue;
    const int o = opponent(gr.color);
    int outside[LIB_MAX], num = 0;
    bool enclosed = true;
    for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num && enclosed; q++) {
      const auto& r = b.ren[a.group_strings[q]];
      for (int l = 0; l < r.lib_num; l++) {
        int p = r.libs[l];
        if (a.area_no[p] == k) continue;
        bool faced = false;
        for (int d : kDir4<S>) faced |= b.ban[p + d] == o && live[p + d];
        enclosed = enclosed && faced;
        add_unique(outside, num, LIB_MAX, p);
      }
    }
    if (!enclosed || num > SEKI_OUTSIDE_MAX) continue;
    int filled = 0;
    while (filled < num && put_stone(b, outside[filled], o) == PUT_OK) filled++;
    bool holds = filled == num;
    for (int i = 0; i < ar.num && holds; i++) {
      int p = a.area_points[ar.first + i];
      if (b.ban[p] != o) continue;
      holds = b.ren[string_of(b, p)].lib_num <= SEKI_INSIDE_LIBERTIES && kill_string(b, p, rs) == READ_LIVE;
    }
    while (filled) take_back(b, outside[--filled], o);
    if (!holds) continue;
    for (int i = 0; i < ar.num; i++) {
      int p = a.area_points[ar.first + i];
      seki[p] = true;
      if (b.ban[p] == o) live[p] = int8_t(o);
    }
    for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
      for (int z = b.ren[a.group_strings[q]].first; z; z = b.next_stone[z]) seki[z] = true;
    }
  }
}

template <int S>
void evaluate(const Board<S>& b, Analysis<S>& a, const int8_t* live) {
  const int n = b.size;
  if (a.phase != phase_weight_phase || n != phase_weight_size) build_phase_weights(a.phase, n);
  int value = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int c = b.ban[z];
      if (c == BLACK || c == WHITE) {
        // As the score counts them: under territory rules a living stone is
        // no point and a dead one is a prisoner plus a point of territory,
        // so filling one's own space costs and killing is worth capturing.
        if (live[z]) {
          if (fChineseRule) value += sign_of(c) * SECURE;
        } else {
          value -= sign_of(c) * (fChineseRule ? 1 : 2) * SECURE;
        }
      } else if (a.kakutei[z] && a.phase == PHASE_OPEN) {
        // Space bordered by one colour is not yet closed while the board is
        // open: when the other colour's few stones are judged dead, the
        // whole board would turn secure at once. Its owner gets the
        // influence the nearby stones give it.
        int v = a.kakutei[z] > 0 ? std::max(a.potential[z], 0) : std::min(a.potential[z], 0);
        if (std::abs(v) >= POTENTIAL_MIN) {
          value += std::clamp(v, -OWNER_VALUE_MAX, OWNER_VALUE_MAX) * phase_weight[make_z(x, y)] / SECURE;
        }
      } else if (a.kakutei[z]) {
        value += a.kakutei[z];
      } else {
        value += a.owner_value[z] * phase_weight[make_z(x, y)] / SECURE;
      }
    }
  }
  // 9x9 groups still without a sure life cost their owner early in the game.
  const int small_board_penalty = std::max(0, 300 - 15 * a.density / 2);
  for (int g = 1; g <= a.group_num; g++) {
    const Group& gr = a.group[g];
    // On an open board no group is in danger yet.
    if (gr.status == STATUS_UNSETTLED && a.phase != PHASE_OPEN) value -= sign_of(gr.color) * gr.stones * (SECURE - gr.safety);
    if (n == 9 && gr.status != STATUS_DEAD && gr.in_ren_num > 1 && gr.eyes < 6) {
      value -= sign_of(gr.color) * small_board_penalty;
    }
  }
  if (!fChineseRule) value += (b.captured[BLACK] - b.captured[WHITE]) * SECURE;
  a.evaluation = value;
}

}  // namespace

template <int S>
bool stone_lives(const Analysis<S>& a, int z) {
  return living_stone(a, z);
}

int game_phase(int density) { return density < 15 ? 0 : density < 35 ? 1 : 2; }

template <int S>
void judge_points(const Board<S>& b, Analysis<S>& a) {
  const int n = b.size;
  int8_t live[Analysis<S>::ARRAY];
  memset(live, 0, sizeof live);
  int stones = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int c = b.ban[z];
      if (c != BLACK && c != WHITE) continue;
      stones++;
      if (living_stone(a, z)) live[z] = int8_t(c);
    }
  }
  a.density = stones * 100 / (n * n);
  a.phase = game_phase(a.density);
  if constexpr (S == 256) {
    // The evaluation lets no group likely to die close space: one weak stone
    // must not turn a whole open side into secure territory for a move. Nor
    // do stones given up only because they stand in a large claimed area:
    // while the game goes on they may still live or break it.
    int8_t firm[Analysis<S>::ARRAY];
    memcpy(firm, live, sizeof firm);
    bool weak = false;
    for (int y = 1; y <= n; y++) {
      for (int x = 1; x <= n; x++) {
        int z = y * S + x;
        const AnalysisString& s = a.str[a.rn[z]];
        const Area& area = a.area[a.area_no[z]];
        if (!live[z] && b.ban[z] != EMPTY && s.kari == opponent(s.color) && a.area_no[z] && area.num > OPEN_CLAIM &&
            area.num - area.empty >= OPEN_CLAIM_STONES) {
          firm[z] = int8_t(s.color | WEAK_STONE), weak = true;
          continue;
        }
        if (!live[z] || s.status != STATUS_ALIVE) continue;
        const Group& g = a.group[s.group];
        if (g.status == STATUS_UNSETTLED && g.safety < FIRM_SAFETY) firm[z] |= WEAK_STONE, weak = true;
      }
    }
    if (weak) territory(b, a, firm);
    else territory(b, a, live);
    evaluate(b, a, live);
    if (weak) territory(b, a, live);
  } else {
    territory(b, a, live);
  }
}

template <int S>
void settle_final_status(Board<S>& b, Analysis<S>& a, ReadingState& rs) {
  const int n = b.size;
  int8_t live[Analysis<S>::ARRAY];
  memset(live, 0, sizeof live);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      if ((b.ban[z] == BLACK || b.ban[z] == WHITE) && living_stone(a, z)) live[z] = int8_t(b.ban[z]);
    }
  }
  // The game is over when the final status is asked: an unsettled group
  // without two eyes, no race to win and no way to a living friend gets no
  // more moves.
  // Candidates that reach each other are no way out for one another: a
  // candidate is saved only through a chain to a friend that is no candidate.
  bool hopeless[GROUP_MAX + 1] = {}, saved[GROUP_MAX + 1] = {};
  for (int g = 1; g <= a.group_num; g++) {
    const Group& gr = a.group[g];
    hopeless[g] = gr.status == STATUS_UNSETTLED && gr.eyes < AREA_EYE_IF_FIRST && !owns_room(b, a, gr) &&
                  !owns_walled_room(b, a, g) && loses_every_race(b, a, g) &&
                  !liberties_cannot_be_filled(b, a, g, rs);
  }
  auto way_out = [&](int og) { return a.group[og].status != STATUS_DEAD && (!hopeless[og] || saved[og]); };
  for (bool changed = true; changed;) {
    changed = false;
    for (int g = 1; g <= a.group_num; g++) {
      if (hopeless[g] && !saved[g] &&
          (liberty_touches_friend(b, a, g, way_out) || joined_through_quiet_space(b, a, g, way_out))) {
        saved[g] = changed = true;
      }
    }
  }
  for (int g = 1; g <= a.group_num; g++) hopeless[g] = hopeless[g] && !saved[g];
  // Stones may join a group the analysis left unsettled but the end of the
  // game has saved as well as one it judged alive.
  bool alive[GROUP_MAX + 1] = {}, joined[GROUP_MAX + 1] = {};
  for (int g = 1; g <= a.group_num; g++) alive[g] = a.group[g].status == STATUS_ALIVE || saved[g];
  for (int g = 1; g <= a.group_num; g++) joined[g] = a.group[g].status == STATUS_DEAD && safely_joined(b, a, alive, g, rs);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      const AnalysisString& s = a.str[a.rn[z]];
      if (live[z] && s.status == STATUS_ALIVE && hopeless[s.group]) live[z] = 0;
      if (b.ban[z] != EMPTY && s.status == STATUS_ALIVE && joined[s.group]) live[z] = int8_t(b.ban[z]);
    }
  }
  revive_around_hopeless(b, a, hopeless, live);
  join_dead_strings(b, a, live);
  take_hopeless_ataris(b, a, live);
  bool seki[Analysis<S>::ARRAY] = {};
  find_seki(b, a, live, seki, rs);
  find_seki_in_eye_space(b, a, live, seki, rs);
  int16_t to_black[Analysis<S>::ARRAY], to_white[Analysis<S>::ARRAY];
  distances(b, live, BLACK, to_black);
  distances(b, live, WHITE, to_white);
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = y * S + x;
      int c = b.ban[z];
      int owner = c == EMPTY ? point_owner(a, z, to_black, to_white) : 0;
      int8_t st;
      if (seki[z]) {
        st = c == EMPTY ? FINAL_DAME : FINAL_SEKI;
      } else if (c == BLACK || c == WHITE) {
        st = live[z] ? FINAL_ALIVE : FINAL_DEAD;
      } else if (owner == BLACK) {
        st = FINAL_BLACK_TERRITORY;
      } else if (owner == WHITE) {
        st = FINAL_WHITE_TERRITORY;
      } else {
        st = FINAL_DAME;
      }
      a.final_status[z] = st;
    }
  }
  a.refilled[BLACK] = a.refilled[WHITE] = 0;
}

template <int S>
int classic_score(const Board<S>& b, const Analysis<S>& a, bool chinese) {
  int score = 0;
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) {
      int z = y * S + x;
      int c = b.ban[z];
      switch (a.final_status[z]) {
        case FINAL_ALIVE:
        case FINAL_SEKI:
          if (chinese) score += sign_of(c);
          break;
        case FINAL_DEAD:
          score -= sign_of(c) * (chinese ? 1 : 2);
          break;
        case FINAL_BLACK_TERRITORY:
          score++;
          break;
        case FINAL_WHITE_TERRITORY:
          score--;
          break;
        default:
          break;
      }
    }
  }
  if (!chinese) score += b.captured[BLACK] - b.captured[WHITE] - a.refilled[BLACK] + a.refilled[WHITE];
  return score;
}

template <int S>
void print_analysis_strings(const Analysis<S>& a) {
  for (int i = 0; i < a.str_num; i++) {
    int n = a.str_list[i];
    const AnalysisString& s = a.str[n];
    int alive = 0, dead = 0;
    for (int k = 0; k < s.enemy_num; k++) (a.str[s.enemy[k]].status == STATUS_ALIVE ? alive : dead)++;
    PRT("[%2d] 仮=%2d,数=%d,群=%d,先死=%d(%04x,%04x),呼=%d,位置=%04x,%04x, 連絡=%d,連=%d,%d,%d,開=%04x\n", n, s.kari,
        s.stones, s.group, s.sente_dead, to_point_code<S>(s.death_z), to_point_code<S>(s.life_z), s.libs,
        to_point_code<S>(s.z), to_point_code<S>(s.death_z), s.link_num, s.enemy_num, alive, dead,
        to_point_code<S>(s.lib_z));
  }
}

template <int S>
void print_analysis_groups(const Analysis<S>& a) {
  for (int g = 1; g <= a.group_num; g++) {
    const Group& gr = a.group[g];
    PRT("%2d:数=%2d,眼数=%d,修正数=%d,", g, gr.stones, gr.eyes, gr.safety);
    PRT("色=%d,連=%d,地=%d,ダメ=%d,状態=%d\n", gr.color, gr.in_ren_num, gr.in_ji_num, gr.libs, gr.status);
  }
}

namespace {
template <int S>
void print_array(const Analysis<S>& a, const char* title, const int32_t* v) {
  PRT("%s\n", title);
  for (int y = 1; y <= a.size; y++) {
    for (int x = 1; x <= a.size; x++) PRT("%4d", std::clamp(v[y * S + x], -PRINT_CLAMP, PRINT_CLAMP));
    PRT("\n");
  }
}
}  // namespace

template <int S>
void print_point_arrays(const Analysis<S>& a) {
  print_array(a, "--- 確定地 ---", a.kakutei);
  int32_t percent[Analysis<S>::ARRAY];
  for (int i = 0; i < Analysis<S>::ARRAY; i++) percent[i] = a.kakutei[i] ? a.kakutei[i] : a.owner_value[i];
  print_array(a, "--- 確定地（確率表示） ---", percent);
  print_array(a, "--- 石のポテンシャル ---", a.potential);
  print_array(a, "--- 接続ポイント ---", a.connect);
  print_array(a, "--- 欠け眼 ---", a.false_eye);
}

#define INSTANTIATE(S)                                                              \
  template void judge_points<S>(const Board<S>&, Analysis<S>&);                            \
  template void settle_final_status<S>(Board<S>&, Analysis<S>&, ReadingState&);                     \
  template bool stone_lives<S>(const Analysis<S>&, int);                            \
  template int classic_score<S>(const Board<S>&, const Analysis<S>&, bool);         \
  template void print_analysis_strings<S>(const Analysis<S>&);                      \
  template void print_analysis_groups<S>(const Analysis<S>&);                       \
  template void print_point_arrays<S>(const Analysis<S>&);
INSTANTIATE(256)
INSTANTIATE(32)
