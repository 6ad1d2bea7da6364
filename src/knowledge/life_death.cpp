#include "knowledge/life_death.h"

#include <algorithm>

#include "core/internal_stop.h"
#include "core/log.h"
#include "knowledge/analysis_detail.h"
#include "knowledge/eye_database.h"

namespace {

constexpr int SEMEAI_TABLE[11] = {0, 0, 5, 20, 30, 50, 70, 80, 87, 95, 100};
constexpr int EYE_LOOKUP_MAX = 8;
constexpr int FLAG_A_CHANCE = 60;
constexpr int FLAG_B_CHANCE = 50;
constexpr int HALF_EYE_CHANCE = 50;
// Liberties outside every claimed area, in empty space this large, that
// give room to run.
constexpr int OPEN_LIBS = 4;
constexpr int OPEN_REGION = 5;
// Empty space around a group too small for two eyes of its own.
constexpr int BOXED_SPACE = 6;

// A one-point eye is false when the opponent holds enough of its diagonals
// with stones that are not already dead.
template <int S>
bool false_single_eye(const Board<S>& b, const Analysis<S>& a, int z, int c) {
  int held = 0;
  for (int i = 4; i < 8; i++) {
    int p = z + kDir8<S>[i];
    if (b.ban[p] == opponent(c) && a.str[a.rn[p]].status != STATUS_DEAD) held++;
  }
  return touches_edge(b, z) ? held >= 1 : held >= 2;
}

struct Box {
  int x0, y0, x1, y1;
};

template <int S>
Box bounding_box(const uint16_t* pts, int n) {
  Box r{99, 99, 0, 0};
  for (int i = 0; i < n; i++) {
    int x = pts[i] % S, y = pts[i] / S;
    r.x0 = std::min(r.x0, x), r.x1 = std::max(r.x1, x);
    r.y0 = std::min(r.y0, y), r.y1 = std::max(r.y1, y);
  }
  return r;
}

template <int S>
bool is_board_corner(int z, int size) {
  int x = z % S, y = z / S;
  return (x == 1 || x == size) && (y == 1 || y == size);
}

template <int S>
int neighbours_in(const uint16_t* pts, int n, int z) {
  int k = 0;
  for (int i = 0; i < n; i++) {
    for (int d : kDir4<S>) k += pts[i] == z + d;
  }
  return k;
}

// Eye value by shape alone, for areas the database does not know.
template <int S>
int shape_value(const Board<S>& b, const uint16_t* pts, int n) {
  if (n <= 2) return AREA_ONE_EYE;
  if (n == 3 || n == 5 || n == 6) return AREA_EYE_IF_FIRST;
  if (n >= 7) return AREA_TWO_EYES;
  Box box = bounding_box<S>(pts, n);
  if (box.x1 - box.x0 == 1 && box.y1 - box.y0 == 1) return AREA_ONE_EYE;  // square four
  for (int i = 0; i < n; i++) {
    int deg = neighbours_in<S>(pts, n, pts[i]);
    if (deg == 3) return AREA_EYE_IF_FIRST;  // pyramid four
    if (deg == 2 && is_board_corner<S>(pts[i], b.size)) return AREA_ONE_EYE;  // bent four in the corner
  }
  return AREA_TWO_EYES;
}

// The six points of a 2x3 block in a corner.
template <int S>
bool corner_six(const Board<S>& b, const uint16_t* pts, int n, int& vital1, int& vital2) {
  if (n != 6) return false;
  Box box = bounding_box<S>(pts, n);
  int w = box.x1 - box.x0 + 1, h = box.y1 - box.y0 + 1;
  if (w * h != 6 || (w != 2 && h != 2)) return false;
  bool corner = false;
  for (int i = 0; i < n; i++) corner |= is_board_corner<S>(pts[i], b.size);
  if (!corner) return false;
  // The middle of the long sides.
  if (w == 3) {
    vital1 = box.y0 * S + box.x0 + 1, vital2 = box.y1 * S + box.x0 + 1;
  } else {
    vital1 = (box.y0 + 1) * S + box.x0, vital2 = (box.y0 + 1) * S + box.x1;
  }
  return true;
}

// Database lookups for the area as it stands and with the opponent's stones
// removed; the smaller nibbles win. Returns -1 when no lookup found the shape.
template <int S>
int lookup_value(const Board<S>& b, const Analysis<S>& a, Area& ar, int context) {
  const uint16_t* pts = &a.area_points[ar.first];
  int variants = ar.num > ar.empty ? 2 : 1;
  int best_high = 99, best_low = 99, v1 = 0, v2 = 0;
  for (int v = 0; v < variants; v++) {
    int points[EYE_LOOKUP_MAX], marks[EYE_LOOKUP_MAX];
    for (int i = 0; i < ar.num; i++) {
      points[i] = pts[i];
      marks[i] = v == 0 && b.ban[pts[i]] != EMPTY;
    }
    EyeLookup r;
    if (!eye_lookup<S>(points, marks, ar.num, context, b.size, r)) continue;
    int high = r.eye_value >> 4, low = r.eye_value & 15;
    if (high < best_high || (high == best_high && low < best_low)) {
      best_high = high, best_low = low, v1 = r.vital1, v2 = r.vital2;
    }
  }
  if (best_high == 99) return -1;
  ar.vital1 = v1, ar.vital2 = v2;
  if (best_high >= 9) return AREA_TWO_EYES;
  return best_low >= 4 ? AREA_EYE_IF_FIRST : AREA_ONE_EYE;
}

// Other areas of the group that count as eyes when this one is looked up.
template <int S>
int eye_context(const Analysis<S>& a, int k, const bool* real) {
  int g = a.area[k].group;
  if (!g) return 0;
  const Group& gr = a.group[g];
  int others = 0;
  for (int i = gr.ji_first; i < gr.ji_first + gr.in_ji_num; i++) {
    int o = a.group_areas[i];
    if (o != k && real[o]) others++;
  }
  return std::min(2, others);
}

}  // namespace

int combine(int a, int b) { return 100 - (100 - a) * (100 - b) / 100; }

int semeai_percent(int liberty_difference) {
  return SEMEAI_TABLE[std::clamp(liberty_difference + 5, 0, 10)];
}

template <int S>
void area_eye_values(const Board<S>& b, Analysis<S>& a) {
  memset(a.false_eye, 0, sizeof a.false_eye);
  bool real[AREA_MAX + 1];
  for (int k = 1; k <= a.area_num; k++) {
    Area& ar = a.area[k];
    int z = a.area_points[ar.first];
    for (int i = 0; i < ar.num; i++) {
      if (b.ban[a.area_points[ar.first + i]] == ar.color) {
        PRT("area col err\n");
        internal_stop();
      }
    }
    real[k] = !(ar.num == 1 && false_single_eye(b, a, z, ar.color));
    if (!real[k]) a.false_eye[z] = ar.color;
  }
  for (int k = 1; k <= a.area_num; k++) {
    Area& ar = a.area[k];
    const uint16_t* pts = &a.area_points[ar.first];
    ar.vital1 = ar.vital2 = 0;
    if (!real[k]) {
      ar.eye = AREA_NO_EYE;
    } else if (ar.empty >= 7) {
      ar.eye = AREA_TWO_EYES;
    } else if (ar.empty >= 5) {
      ar.eye = AREA_EYE_IF_FIRST;
      if constexpr (S == 32) {
        if (ar.num == ar.empty && corner_six(b, pts, ar.num, ar.vital1, ar.vital2)) {
          ar.eye = AREA_ONE_EYE;
          PRT("頻出の隅の6目。1眼に。z=%04x,ka=%d:%04x,%04x,", to_point_code<S>(pts[0]), ar.eye,
              to_point_code<S>(ar.vital1), to_point_code<S>(ar.vital2));
        }
      }
    } else {
      int v = -1;
      if (ar.num <= EYE_LOOKUP_MAX && eye_database_loaded()) v = lookup_value(b, a, ar, eye_context(a, k, real));
      ar.eye = v >= 0 ? v : shape_value(b, pts, ar.num);
    }
  }
}

template <int S>
void group_eye_totals(Analysis<S>& a) {
  for (int g = 1; g <= a.group_num; g++) {
    Group& gr = a.group[g];
    gr.status = STATUS_DEAD;
    gr.eyes = 0;
    for (int i = gr.ji_first; i < gr.ji_first + gr.in_ji_num; i++) gr.eyes += a.area[a.group_areas[i]].eye;
    if (gr.eyes >= AREA_TWO_EYES) gr.status = STATUS_ALIVE;
  }
}

namespace {

template <int S>
int liberty_value(const Group& g) {
  return g.libs + (g.flag_a ? 3 : 0);
}

// Flag A: room outside any secure area to run or make eyes. Flag B: an
// adjacent enemy string to capture (in atari, or judged dead).
template <int S>
void set_flags(const Board<S>& b, Analysis<S>& a, int g) {
  Group& gr = a.group[g];
  uint32_t seen = next_visit(a);
  int open = 0;
  uint16_t stack[POINT_MAX];
  int sp = 0;
  gr.flag_b = false;
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    int s = a.group_strings[q];
    for (int l = 0; l < b.ren[s].lib_num; l++) {
      int p = b.ren[s].libs[l];
      if (a.visit[p] == seen) continue;
      a.visit[p] = seen;
      if (a.kari[p] != opponent(gr.color)) stack[sp++] = uint16_t(p);
      if (!a.kari[p] && a.region_size[a.empty_region[p]] >= OPEN_REGION) open++;
    }
    const AnalysisString& str = a.str[s];
    for (int k = 0; k < str.enemy_num; k++) {
      const AnalysisString& e = a.str[str.enemy[k]];
      // Taking stones that stand in the group's own area gives only the
      // eye already counted there.
      int area = a.area_no[e.z];
      if (area && a.area[area].group == g) continue;
      gr.flag_b |= e.libs == 1 || e.status == STATUS_DEAD;
    }
  }
  // The empty space around the group outside the opponent's area: boxed in
  // when it is small and meets no living group of the same colour.
  int space = 0;
  bool friend_met = false;
  while (sp && space <= BOXED_SPACE && !friend_met) {
    int p = stack[--sp];
    space++;
    for (int d : kDir4<S>) {
      int q = p + d;
      int c = b.ban[q];
      if (c == EMPTY) {
        if (a.visit[q] != seen && a.kari[q] != opponent(gr.color)) a.visit[q] = seen, stack[sp++] = uint16_t(q);
      } else if (c == gr.color) {
        int og = a.str[a.rn[q]].group;
        friend_met |= og && og != g && a.group[og].status == STATUS_ALIVE;
      }
    }
  }
  gr.boxed = !friend_met && space <= BOXED_SPACE;
  gr.flag_a = open >= OPEN_LIBS && !gr.boxed;
}

// A liberty shared with a living group of the same colour.
template <int S>
bool connects_to_living(const Board<S>& b, const Analysis<S>& a, int g) {
  return liberty_touches_friend(b, a, g, [&](int og) { return a.group[og].status == STATUS_ALIVE; });
}

// Every liberty of the group lies in the opponent's claimed area, or its
// empty space is small and closed: it has no way out and no room of its own.
template <int S>
bool enclosed(const Board<S>& b, const Analysis<S>& a, int g) {
  const Group& gr = a.group[g];
  if (gr.boxed) return true;
  for (int q = gr.ren_first; q < gr.ren_first + gr.in_ren_num; q++) {
    int s = a.group_strings[q];
    for (int l = 0; l < b.ren[s].lib_num; l++) {
      if (a.kari[b.ren[s].libs[l]] != opponent(gr.color)) return false;
    }
  }
  return true;
}

// A lone string next to a strong enemy group, directly or across one point.
template <int S>
bool faces_strong_enemy(const Board<S>& b, const Analysis<S>& a, int s) {
  int c = a.str[s].color;
  for (int z = b.ren[s].first; z; z = b.next_stone[z]) {
    for (int d : kDir4<S>) {
      int p = z + d;
      if (b.ban[p] == EMPTY) p += d;
      if (b.ban[p] != opponent(c)) continue;
      int eg = a.str[a.rn[p]].group;
      if (!eg) continue;
      const Group& e = a.group[eg];
      if (e.in_ren_num != 1 && (e.status == STATUS_ALIVE || e.libs > 3)) return true;
    }
  }
  return false;
}

template <int S>
int group_safety(const Board<S>& b, Analysis<S>& a, int g) {
  Group& gr = a.group[g];
  const int strings = gr.in_ren_num;
  const int first = a.group_strings[gr.ren_first];
  int fight = 0, weakest = 100;
  for (int i = 0; i < gr.enemy_num; i++) {
    int eg = gr.enemy[i];
    if (!eg) {
      PRT("群番号が0\n");
      internal_stop();
    }
    const Group& e = a.group[eg];
    if (e.status == STATUS_ALIVE) continue;
    if (e.in_ren_num == 1 && a.str[a.group_strings[e.ren_first]].libs == 1 && !gr.flag_a && !gr.flag_b) continue;
    fight++;
    weakest = std::min(weakest, liberty_value<S>(e));
  }
  int chance = 0;
  if (gr.flag_a) chance = FLAG_A_CHANCE;
  if (gr.flag_b) chance = combine(chance, FLAG_B_CHANCE);
  if (gr.eyes == AREA_EYE_IF_FIRST) chance = combine(chance, HALF_EYE_CHANCE);
  bool connected = connects_to_living(b, a, g);
  const int libs = liberty_value<S>(gr);
  int safety;
  if (!fight && !chance && !connected && enclosed(b, a, g)) {
    safety = 0;
  } else {
    int value;
    if (fight) {
      int base = (5 * gr.eyes + 25) * 2;
      if (strings > 1) base += 5 * libs - 5;
      value = base * semeai_percent(libs - weakest) / 100;
      if (strings > 1 && value) value += libs - weakest;
    } else {
      value = (gr.eyes + gr.flag_a + libs) * 2 + gr.enemy_num;
    }
    safety = value >= 100 ? value : combine(std::max(value, 0), chance);
  }
  if (strings > 4 && safety >= 80) safety = 80 + (safety - 80) * 100 / 400;
  if (strings == 1 && !fight && !gr.flag_a && !gr.flag_b && gr.eyes == 0 && faces_strong_enemy(b, a, first)) {
    if (enclosed(b, a, g)) safety = -100;
  }
  if (strings == 1 && a.str[first].sente_dead && !gr.flag_b && gr.eyes < AREA_EYE_IF_FIRST) {
    bool neighbours_marked = false;
    for (int k = 0; k < a.str[first].enemy_num; k++) neighbours_marked |= a.str[a.str[first].enemy[k]].sente_dead;
    if (!neighbours_marked && enclosed(b, a, g)) safety = -200;
  }
  if (connected && safety < 1 && strings > 2) safety = gr.libs + 2 * strings;
  if (safety > 50 && strings < 5 && gr.eyes < 2) safety = safety * std::clamp(10 * gr.libs, 1, 100) / 100;
  return std::clamp(safety, 0, 100);
}

}  // namespace

template <int S>
void semeai_and_safety(const Board<S>& b, Analysis<S>& a) {
  for (int g = 1; g <= a.group_num; g++) {
    Group& gr = a.group[g];
    set_flags(b, a, g);
    gr.safety = gr.status == STATUS_ALIVE ? 100 : 0;
  }
  for (int g = 1; g <= a.group_num; g++) {
    Group& gr = a.group[g];
    if (gr.status == STATUS_ALIVE) continue;
    gr.new_status = gr.status;
    gr.safety = group_safety(b, a, g);
    if (gr.safety) gr.new_status = STATUS_UNSETTLED;
  }
  for (int g = 1; g <= a.group_num; g++) {
    Group& gr = a.group[g];
    if (gr.status == STATUS_ALIVE) continue;
    gr.status = gr.new_status;
    if (gr.safety >= 100) gr.status = STATUS_ALIVE;
    if (gr.safety < 1 && gr.status != STATUS_DEAD) {
      PRT("攻め合い判定でsafety Err\n");
      internal_stop();
    }
  }
  // A large dead group leaves its unsettled neighbours alive.
  for (int g = 1; g <= a.group_num; g++) {
    const Group& gr = a.group[g];
    if (gr.status != STATUS_DEAD || gr.in_ren_num <= 2 || gr.in_ren_num + gr.libs <= 6) continue;
    for (int i = 0; i < gr.enemy_num; i++) {
      Group& e = a.group[gr.enemy[i]];
      if (e.status == STATUS_UNSETTLED && e.in_ren_num > 3) e.status = STATUS_ALIVE;
    }
  }
  // A string given up as dead lives again when everything around it died.
  for (int i = 0; i < a.str_num; i++) {
    AnalysisString& s = a.str[a.str_list[i]];
    if (s.status == STATUS_ALIVE) continue;
    int area = a.area_no[s.z];
    int owner = area ? a.area[area].group : 0;
    bool killer_lives = owner && a.group[owner].status != STATUS_DEAD;
    for (int k = 0; k < s.enemy_num; k++) {
      const AnalysisString& e = a.str[s.enemy[k]];
      killer_lives |= e.status == STATUS_ALIVE && e.group && a.group[e.group].status != STATUS_DEAD;
    }
    if (!killer_lives) s.mark = MARK_REVIVED;
  }
}

template void area_eye_values<256>(const Board<256>&, Analysis<256>&);
template void area_eye_values<32>(const Board<32>&, Analysis<32>&);
template void group_eye_totals<256>(Analysis<256>&);
template void group_eye_totals<32>(Analysis<32>&);
template void semeai_and_safety<256>(const Board<256>&, Analysis<256>&);
template void semeai_and_safety<32>(const Board<32>&, Analysis<32>&);
