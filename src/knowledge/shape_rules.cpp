#include "knowledge/shape_rules.h"

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/log.h"
#include "knowledge/move_gen.h"

namespace {

constexpr int DIR4[4] = {1, 256, -1, -256};
constexpr double BONUS_SAVE = 2.0;
constexpr double BONUS_KILL_BIG = 2.0;
constexpr double BONUS_KILL_SMALL = 1.5;
constexpr int KILL_BIG_STONES = 3;

int rule_applied;

struct Context {
  int z, c, o, last;
  int arg1, arg2;
};

int at(int p) { return gban.ban[p]; }
bool is(int p, int color) { return gban.ban[p] == color; }
int libs_of(int p) { return gban.ren[string_of(gban, p)].lib_num; }
int str(int p) { return string_of(gban, p); }
bool adjacent(int a, int b) {
  for (int d : DIR4)
    if (a + d == b) return true;
  return false;
}
int line_of(int p) {
  int x = z_x(p), y = z_y(p), n = ban_size;
  int a = x < n + 1 - x ? x : n + 1 - x, b = y < n + 1 - y ? y : n + 1 - y;
  return a < b ? a : b;
}
int perpendicular(int d, int k) { return (d == 1 || d == -1) ? (k ? 256 : -256) : (k ? 1 : -1); }

// The candidate's effect on liberties, measured by playing it.
struct Trial {
  bool ok;
  int own_libs;       // of the string the move joins
  bool atari_last;    // the last move's string is left with one liberty
  bool atari_any;     // some adjacent enemy string is left with one liberty
};
Trial try_move(const Context& k) {
  Trial t{};
  if (put_stone(gban, k.z, k.c) != PUT_OK) return t;
  t.ok = true;
  t.own_libs = libs_of(k.z);
  t.atari_last = at(k.last) == k.o && libs_of(k.last) == 1;
  for (int d : DIR4) t.atari_any |= at(k.z + d) == k.o && libs_of(k.z + d) == 1;
  take_back(gban, k.z, k.c);
  return t;
}

// Own strings next to z (distinct).
int own_strings_around(const Context& k, int out[4]) {
  int n = 0;
  for (int d : DIR4) {
    if (!is(k.z + d, k.c)) continue;
    int s = str(k.z + d);
    bool seen = false;
    for (int i = 0; i < n; i++) seen |= out[i] == s;
    if (!seen) out[n++] = s;
  }
  return n;
}
int enemy_strings_around(const Context& k) {
  int list[4], n = 0;
  for (int d : DIR4) {
    if (!is(k.z + d, k.o)) continue;
    int s = str(k.z + d);
    bool seen = false;
    for (int i = 0; i < n; i++) seen |= list[i] == s;
    if (!seen) list[n++] = s;
  }
  return n;
}
// Two of the own strings touch diagonally: the cut point lies inside one group.
bool own_diagonal_pair(const Context& k) {
  for (int i = 0; i < 4; i++) {
    int a = DIR4[i], b = DIR4[(i + 1) % 4];
    if (is(k.z + a, k.c) && is(k.z + b, k.c) && str(k.z + a) != str(k.z + b) && is(k.z + a + b, k.c)) return true;
  }
  return false;
}

// A knight's-move pair of stones of colour col with one end at p: the two
// points between them (first next to p).
bool knight_gap(int p, int col, int z_in_gap, int other_in_gap_color) {
  for (int a : DIR4) {
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(a, kk);
      int q = p + 2 * a + b;
      if (!is(q, col)) continue;
      int g1 = p + a, g2 = p + a + b;
      if (z_in_gap == g1 && (other_in_gap_color < 0 || is(g2, other_in_gap_color))) return true;
      if (z_in_gap == g2 && (other_in_gap_color < 0 || is(g1, other_in_gap_color))) return true;
    }
  }
  return false;
}

bool lone_stone_next_to_last(const Context& k, int& stone, int& away) {
  for (int d : DIR4) {
    int s = k.last + d;
    if (is(s, k.c) && gban.ren[str(s)].stones == 1 && libs_of(s) <= 2) {
      stone = s;
      away = d;
      return true;
    }
  }
  return false;
}

bool quiet_around(int p, int enemy) {
  for (int d : {1, 256, -1, -256, 257, 255, -257, -255})
    if (is(p + d, enemy)) return false;
  return true;
}

// 1: the opponent pushed into one gap of our knight's move; we close the other.
bool rule_knight_block(Context& k) {
  if (!adjacent(k.z, k.last)) return false;
  for (int dy = -2; dy <= 2; dy++)
    for (int dx = -2; dx <= 2; dx++) {
      int p = k.z + dy * 256 + dx;
      if (is(p, k.c) && knight_gap(p, k.c, k.z, k.o)) return true;
    }
  return false;
}
// 2: a wedge between two own stones, answered from the side.
bool rule_wedge(Context& k) {
  for (int d : DIR4) {
    if (!is(k.last + d, k.c) || !is(k.last - d, k.c)) continue;
    for (int kk = 0; kk < 2; kk++) {
      if (k.z == k.last + perpendicular(d, kk)) {
        k.arg1 = k.last, k.arg2 = k.z;
        return true;
      }
    }
  }
  return false;
}
bool peeped_cut(const Context& k) {
  int s[4];
  return adjacent(k.z, k.last) && own_strings_around(k, s) >= 2;
}
bool rule_peep_connect(Context& k) { return peeped_cut(k) && own_diagonal_pair(k) && !try_move(k).atari_any; }
bool rule_peep_connect_groups(Context& k) { return peeped_cut(k) && !own_diagonal_pair(k) && !try_move(k).atari_any; }
// 5 and 6: the opponent extends from its stone; we block in front of it.
bool block_in_front(const Context& k) {
  for (int d : DIR4) {
    if (!is(k.last - d, k.o) || k.z != k.last + d) continue;
    for (int kk = 0; kk < 2; kk++)
      if (is(k.z + perpendicular(d, kk), k.c)) return true;
  }
  return false;
}
bool rule_block(Context& k) { return line_of(k.z) >= 3 && block_in_front(k); }
bool rule_block_second_line(Context& k) { return line_of(k.z) == 2 && block_in_front(k); }
bool rule_lone_extends(Context& k) {
  int s, away;
  if (!lone_stone_next_to_last(k, s, away)) return false;
  Trial t = try_move(k);
  return adjacent(k.z, s) && t.ok && t.own_libs >= 3;
}
bool one_space_escape(const Context& k, bool& pure) {
  int s, away;
  if (!lone_stone_next_to_last(k, s, away)) return false;
  if (k.z != s + 2 * away || at(s + away) != EMPTY) return false;
  pure = quiet_around(k.z, k.o) && quiet_around(s + away, k.o);
  return true;
}
bool rule_jump_escape(Context& k) {
  bool pure;
  return one_space_escape(k, pure) && !pure;
}
bool rule_jump_escape_pure(Context& k) {
  bool pure;
  return one_space_escape(k, pure) && pure;
}
// 10: z next to the last move and diagonal to an own stone that also touches it.
bool rule_diagonal_block(Context& k) {
  if (!adjacent(k.z, k.last)) return false;
  for (int d : DIR4) {
    int s = k.last + d;
    int diff = k.z - s;
    bool diagonal = diff == 257 || diff == 255 || diff == -257 || diff == -255;
    if (is(s, k.c) && diagonal && libs_of(s) >= 2) return try_move(k).own_libs >= 2;
  }
  return false;
}
// 11 and 13: z diagonal to the last move, next to an own stone beside it.
bool diagonal_variant(const Context& k) {
  for (int a : DIR4)
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(a, kk);
      if (k.z == k.last + a + b && (is(k.last + a, k.c) || is(k.last + b, k.c))) return true;
    }
  return false;
}
bool rule_diagonal_variant(Context& k) { return diagonal_variant(k) && try_move(k).atari_last; }
// 12: a diagonal jump from an own stone towards the last move.
bool rule_diagonal_jump(Context& k) {
  for (int a : DIR4)
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(a, kk);
      int middle = k.z - a - b;
      if (is(k.z - 2 * a - 2 * b, k.c) && at(middle) == EMPTY && (adjacent(middle, k.last) || adjacent(k.z, k.last)))
        return true;
    }
  return false;
}
bool rule_diagonal_variant_shape(Context& k) { return diagonal_variant(k); }
bool rule_peep_connect_atari(Context& k) { return peeped_cut(k) && try_move(k).atari_any; }
// 15: the cut point of two own strings, with the opponent close but not yet peeping.
bool rule_peep_insurance(Context& k) {
  int s[4];
  if (own_strings_around(k, s) < 2 || adjacent(k.z, k.last)) return false;
  int dx = z_x(k.z) - z_x(k.last), dy = z_y(k.z) - z_y(k.last);
  return dx * dx + dy * dy <= 5;
}
bool knight_answer(const Context& k) {
  for (int a : DIR4)
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(a, kk);
      int s = k.last - 2 * a - b;  // our stone a knight's move away
      if (is(s, k.c) && (k.z == s + a || k.z == s + a + b)) return true;
    }
  return false;
}
bool rule_knight_answer_atari(Context& k) { return knight_answer(k) && try_move(k).atari_last; }
bool rule_knight_answer(Context& k) { return knight_answer(k); }
// 18: the opponent pushed between two own stones; we answer with atari.
bool rule_push_through_atari(Context& k) {
  bool between = false;
  for (int d : DIR4) between |= is(k.last + d, k.c) && is(k.last - d, k.c);
  for (int d : DIR4)
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(d, kk);
      between |= is(k.last + d, k.c) && is(k.last + b, k.c) && !is(k.last + d + b, k.c);
    }
  return between && adjacent(k.z, k.last) && try_move(k).atari_last;
}
// 19: we push into the gap of the opponent's knight's move.
bool rule_knight_push(Context& k) {
  bool from_own = false;
  for (int d : DIR4) from_own |= is(k.z + d, k.c);
  return from_own && knight_gap(k.last, k.o, k.z, -1);
}
// 20: we push through the cut point of two enemy strings next to the last move.
bool rule_peep_push(Context& k) {
  bool from_own = false;
  for (int d : DIR4) from_own |= is(k.z + d, k.c);
  return from_own && enemy_strings_around(k) >= 2 && adjacent(k.z, k.last);
}
// 21: the point between the last move and an enemy stone a diagonal jump away.
bool rule_diagonal_middle(Context& k) {
  for (int a : DIR4)
    for (int kk = 0; kk < 2; kk++) {
      int b = perpendicular(a, kk);
      if (is(k.last + 2 * a + 2 * b, k.o) && k.z == k.last + a + b) return true;
    }
  return false;
}
// 22: two enemy strings touch z at a right angle and the corner between them is ours or open.
bool rule_cross_cut(Context& k) {
  if (!adjacent(k.z, k.last) && k.z != k.last) return false;
  for (int i = 0; i < 4; i++) {
    int a = DIR4[i], b = DIR4[(i + 1) % 4];
    if (is(k.z + a, k.o) && is(k.z + b, k.o) && str(k.z + a) != str(k.z + b) && !is(k.z + a + b, k.o)) return true;
  }
  return false;
}
bool rule_empty_triangle(Context& k) {
  for (int axis = 0; axis < 2; axis++) {
    int first = axis == 0 ? 1 : 256, second = axis == 0 ? 256 : 1;
    if (at(k.z + first) != EMPTY || at(k.z - first) != EMPTY) continue;
    for (int s : {second, -second}) {
      if (!is(k.z + s, k.c)) continue;
      if (is(k.z + s + first, k.c) || is(k.z + s - first, k.c)) return true;
    }
  }
  return false;
}
bool rule_fill_diagonal(Context& k) {
  for (int d : {257, 255, -257, -255})
    if (at(k.z + d) != EMPTY) return false;
  constexpr int PAIRS[4][2] = {{1, 256}, {256, -1}, {-1, -256}, {-256, 1}};
  for (auto& p : PAIRS)
    if (is(k.z + p[0], k.c) && is(k.z + p[1], k.c)) return true;
  return false;
}

struct Rule {
  const char* message;
  double factor;
  bool (*test)(Context&);
};

const Rule rules[SHAPE_RULE_NUM] = {
    {"桂馬突き出し防ぐ。ボーナスで2倍！\n", 2.0, rule_knight_block},
    {"割り込みを受ける。ボーナスで2倍！%04x,%04x\n", 2.0, rule_wedge},
    {"ノゾキにツグ手。ボーナスで2.0倍！\n", 2.0, rule_peep_connect},
    {"群が違うノゾキにツグ手。ボーナスで2.0倍！\n", 2.0, rule_peep_connect_groups},
    {"押さえる手。ボーナスで1.5倍！\n", 1.5, rule_block},
    {"２線を押さえる。ボーナスで1.5倍！\n", 1.5, rule_block_second_line},
    {"一子が二子で逃げ出す。ボーナス2倍！\n", 2.0, rule_lone_extends},
    {"一間で逃げ出す。ボーナス1.5倍！\n", 1.5, rule_jump_escape},
    {"一間で逃げ出す。純粋。ボーナス2倍！\n", 2.0, rule_jump_escape_pure},
    {"コスミ押さえ。ボーナスで2.0倍！\n", 2.0, rule_diagonal_block},
    {"コスミ変形押さえ。ボーナスで2.0倍！\n", 2.0, rule_diagonal_variant},
    {"斜め一間。ボーナスで2.0倍！\n", 2.0, rule_diagonal_jump},
    {"コスミ変形押さえ。形のみ。ボーナスで1.5倍！\n", 1.5, rule_diagonal_variant_shape},
    {"ノゾキ継ぎ当たり。ボーナスで1.5倍！\n", 1.5, rule_peep_connect_atari},
    {"ノゾキ継ぎ保険。ボーナスで1.5倍！\n", 1.5, rule_peep_insurance},
    {"桂馬受け当たり。ボーナスで1.5倍！\n", 1.5, rule_knight_answer_atari},
    {"桂馬受ける。ボーナスで1.2倍！\n", 1.2, rule_knight_answer},
    {"ノゾキつき抜け受け当たり。ボーナスで1.5倍！\n", 1.5, rule_push_through_atari},
    {"桂馬突き出す。ボーナスで1.5倍！\n", 1.5, rule_knight_push},
    {"ノゾキ突き出す。ボーナスで1.5倍！\n", 1.5, rule_peep_push},
    {"斜め一間の中央。ボーナスで1.5倍！\n", 1.5, rule_diagonal_middle},
    {"十字連絡を切る。ボーナスで1.5倍！\n", 1.5, rule_cross_cut},
    {"空き三角の愚型。減点で0.5倍\n", 0.5, rule_empty_triangle},
    {"コスミを埋める愚型。減点で0.5倍\n", 0.5, rule_fill_diagonal},
};
constexpr int FIRST_PENALTY = 22;

// Saving an own string that the last move put in atari.
double save_bonus(const Context& k) {
  for (int d : DIR4) {
    int s = k.last + d;
    if (!is(s, k.c) || libs_of(s) != 1) continue;
    int lib = gban.ren[str(s)].libs[0];
    if (at(lib) != EMPTY) {
      PRT("Kawasan Err\n");
      internal_stop();
    }
    Trial t = try_move(k);
    if (!t.ok) continue;
    if (k.z == lib && t.own_libs >= 2) {
      PRT("直前の当(%04x)を守る。ボーナスで2倍！\n", s);
      return BONUS_SAVE;
    }
    // Indirectly: the move captures a neighbour of the string in atari.
    if (put_stone(gban, k.z, k.c) == PUT_OK) {
      bool saved = at(s) == k.c && libs_of(s) >= 2;
      take_back(gban, k.z, k.c);
      if (saved && k.z != lib) {
        PRT("直前の当を間接で守る。ボーナスで2倍！z=%04x,tz=%04x\n", k.z, s);
        return BONUS_SAVE;
      }
    }
  }
  return 1.0;
}

// Taking an enemy string: the point that captures it.
double kill_bonus(const Context& k, double base) {
  for (int d : DIR4) {
    int s = k.z + d;
    if (!is(s, k.o) || libs_of(s) != 1) continue;
    PRT("取れない連を取る手。ボーナス！\n");
    double bonus = gban.ren[str(s)].stones >= KILL_BIG_STONES ? BONUS_KILL_BIG : BONUS_KILL_SMALL;
    return base > bonus ? base : bonus;
  }
  return base;
}

}  // namespace

int last_shape_rule() { return rule_applied; }

double shape_factor(int z, int color) {
  rule_applied = 0;
  int last = previous_move(1);
  if (z <= 0 || last <= 0 || !is(last, opponent(color))) return 1.0;
  Context k{z, color, opponent(color), last, 0, 0};
  double base = kill_bonus(k, save_bonus(k));
  for (int r = 0; r < SHAPE_RULE_NUM; r++) {
    if (r >= FIRST_PENALTY && base != 1.0) break;
    if (rules[r].test(k)) {
      PRT(rules[r].message, k.arg1, k.arg2);
      rule_applied = r + 1;
      return base * rules[r].factor;
    }
  }
  return base;
}
