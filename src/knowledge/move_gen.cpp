#include "knowledge/move_gen.h"

#include <algorithm>

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/position_table.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/analysis.h"
#include "knowledge/bad_shape.h"

MoveList move_list[PLY_LIST_NUM];

namespace {

constexpr int DIR4[4] = {1, 256, -1, -256};
constexpr int DIR8[8] = {1, 256, -1, -256, 257, 255, -257, -255};
constexpr int POINT_ARRAY = 21 * 256;
constexpr int SMALL_BOARD = 9;
constexpr int LEVEL_ITERATIVE = 1;
constexpr int LEVEL_ROOT = 2;

// Provisional values of the generators.
constexpr int KARI_CAPTURE = 500;
constexpr int KARI_ESCAPE = 400;
constexpr int KARI_PER_STONE = 50;
constexpr int KARI_DEFEND_FIRST = 450;
constexpr int KARI_ATARI = 150;
constexpr int KARI_EXTEND = 120;
constexpr int KARI_CUT = 90;
constexpr int KARI_CONNECT = 80;
constexpr int KARI_NEAR_REPLY = 70;
constexpr int KARI_NEAR_LAST = 50;
constexpr int KARI_NEAR_OWN = 30;
constexpr int KARI_BIG_POINT = 60;
constexpr int KARI_LIFE_DEATH = 300;
constexpr int KARI_HISTORY = 40;
constexpr int KARI_HASH_MOVE = 100000;

// Candidates of one generation before the merge, indexed by point.
int gen_kari[POINT_ARRAY];
int gen_flags[POINT_ARRAY];
int gen_stamp[POINT_ARRAY];
int stamp_now;
int gen_points[MOVE_LIST_MAX];
int gen_num;

bool on_board(int z) {
  int x = z_x(z), y = z_y(z);
  return x >= 1 && x <= ban_size && y >= 1 && y <= ban_size;
}

int line_of(int z) {
  int x = z_x(z), y = z_y(z), n = ban_size;
  return std::min(std::min(x, n + 1 - x), std::min(y, n + 1 - y));
}

void add(int z, int kari, int flags, int color) {
  if (z <= 0 || !on_board(z) || gban.ban[z] != EMPTY || own_eye(z, color)) return;
  if (gen_stamp[z] != stamp_now) {
    if (gen_num >= MOVE_LIST_MAX - 1) return;
    gen_stamp[z] = stamp_now;
    gen_kari[z] = kari;
    gen_flags[z] = flags;
    gen_points[gen_num++] = z;
    return;
  }
  // Several generators agreeing on a point make it more urgent.
  gen_kari[z] = std::max(gen_kari[z], kari) + 5;
  gen_flags[z] |= flags;
}

const StringRecord<256>& string_at(int z) { return gban.ren[string_of(gban, z)]; }

// Liberties a stone of color at z would have (own strings joined, no captures counted).
int liberties_after(int z, int color) {
  int seen[LIB_MAX + 8], n = 0;
  auto note = [&](int p) {
    if (p == z) return;
    for (int i = 0; i < n; i++)
      if (seen[i] == p) return;
    if (n < LIB_MAX + 8) seen[n++] = p;
  };
  for (int d : DIR4) {
    int p = z + d;
    if (gban.ban[p] == EMPTY) note(p);
    else if (gban.ban[p] == color) {
      const auto& r = string_at(p);
      for (int i = 0; i < r.lib_num; i++) note(r.libs[i]);
    } else if (gban.ban[p] == opponent(color) && string_at(p).lib_num == 1) {
      note(p);  // a capture opens the point
    }
  }
  return n;
}

// Captures, escapes, ataris and extensions of every string.
void tactical_generator(int color) {
  for (int n = 1; n <= gban.ren_num; n++) {
    const auto& r = gban.ren[n];
    if (!r.alive || r.id != n) continue;
    bool mine = r.color == color;
    if (r.lib_num == 1) {
      int lib = r.libs[0];
      if (!mine) {
        add(lib, KARI_CAPTURE + KARI_PER_STONE * r.stones, MOVE_KILLS, color);
      } else if (liberties_after(lib, color) >= 2) {
        add(lib, KARI_ESCAPE + KARI_PER_STONE * r.stones, MOVE_SAVES, color);
      }
      if (mine) {
        // Capturing an attacker in atari saves the string as well.
        for (int z = r.first, k = 0; k < r.stones; z = gban.next_stone[z], k++) {
          for (int d : DIR4) {
            int p = z + d;
            if (gban.ban[p] == opponent(color) && string_at(p).lib_num == 1) {
              add(string_at(p).libs[0], KARI_ESCAPE + KARI_PER_STONE * r.stones, MOVE_SAVES | MOVE_KILLS, color);
            }
          }
        }
      }
    } else if (r.lib_num == 2) {
      for (int i = 0; i < 2; i++) {
        int lib = r.libs[i];
        if (!mine) add(lib, KARI_ATARI + 20 * r.stones, 0, color);
        else if (liberties_after(lib, color) >= 3) add(lib, KARI_EXTEND + 10 * r.stones, 0, color);
      }
    }
  }
}

void near_points(int z, int kari, int color) {
  if (z <= 0) return;
  for (int d : DIR8) add(z + d, kari, 0, color);
  for (int d : DIR4) add(z + 2 * d, kari - 10, 0, color);
}

// Points that join two own strings or separate two enemy strings.
void connection_generator(int color) {
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int z = make_z(x, y);
      if (gban.ban[z] != EMPTY) continue;
      int own[4], enemy[4], no = 0, ne = 0;
      for (int d : DIR4) {
        int c = gban.ban[z + d];
        if (c != BLACK && c != WHITE) continue;
        int s = string_of(gban, z + d);
        int* list = c == color ? own : enemy;
        int& num = c == color ? no : ne;
        if (std::find(list, list + num, s) == list + num) list[num++] = s;
      }
      if (ne >= 2) add(z, KARI_CUT, 0, color);
      else if (no >= 2) add(z, KARI_CONNECT, 0, color);
    }
  }
}

// Open points on the third and fourth lines: the second mode's root looks at the whole board.
void big_point_generator(int color) {
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int z = make_z(x, y), line = line_of(z);
      if (line < 3 || line > 4) continue;
      bool open = true;
      for (int dy = -2; dy <= 2 && open; dy++)
        for (int dx = -2; dx <= 2 && open; dx++) {
          int c = gban.ban[z + dy * 256 + dx];
          open = c == EMPTY || c == EDGE;
        }
      if (open) add(z, KARI_BIG_POINT, 0, color);
    }
  }
}

// Killing and saving points of the strings the reading finds dead only when
// attacked first: the analysis of this node's position names them.
void life_death_generator(int color) {
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
  for (int i = 0; i < ban_analysis.str_num; i++) {
    const AnalysisString& s = ban_analysis.str[ban_analysis.str_list[i]];
    if (!s.sente_dead) continue;
    int flags = s.color == color ? MOVE_SAVES : MOVE_KILLS;
    for (int iti : {s.death_z, s.color == color ? s.life_z : 0}) {
      if (iti == 0) {
        if (flags == MOVE_KILLS) PRT("活きる位置、殺す位置が0, iti=%04x\n", s.z);
        continue;
      }
      if (gban.ban[iti] != EMPTY) {
        PRT("殺す場所に石!z=%04x\n", iti);
        PRT("殺す位置Err\n");
        internal_stop();
      }
      add(iti, KARI_LIFE_DEATH + KARI_PER_STONE * s.stones, flags, color);
    }
  }
}

// Answers around the move just played: its neighbours' liberties.
void reply_generator(int color) {
  int last = previous_move(1);
  if (last <= 0 || gban.ban[last] == EMPTY) return;
  const auto& r = string_at(last);
  for (int i = 0; i < r.lib_num; i++) add(r.libs[i], KARI_NEAR_REPLY, 0, color);
}

// The first move puts one of our strings in atari: every way out is a candidate.
void defend_first_move(int color) {
  int first = previous_move(1);
  if (first <= 0 || gban.ban[first] != opponent(color)) return;
  for (int d : DIR4) {
    int p = first + d;
    if (gban.ban[p] != color || string_at(p).lib_num != 1) continue;
    PRT("初手が連を殺す手！受ける手を追加 z=%04x\n", first);
    int lib = string_at(p).libs[0];
    add(lib, KARI_DEFEND_FIRST, MOVE_SAVES, color);
    if (string_at(first).lib_num == 1) add(string_at(first).libs[0], KARI_DEFEND_FIRST, MOVE_SAVES | MOVE_KILLS, color);
  }
}

// Every open point by its line: the small board's iterative deepening sees the whole board.
void whole_board_generator(int color) {
  constexpr int LINE_VALUE[6] = {0, -20, 5, 20, 15, 10};
  for (int y = 1; y <= ban_size; y++)
    for (int x = 1; x <= ban_size; x++) {
      int z = make_z(x, y);
      add(z, LINE_VALUE[std::min(line_of(z), 5)], 0, color);
    }
}

}  // namespace

bool own_eye(int z, int color) {
  for (int d : DIR4) {
    int c = gban.ban[z + d];
    if (c != color && c != EDGE) return false;
  }
  int enemy = 0, edge = 0;
  for (int i = 4; i < 8; i++) {
    int c = gban.ban[z + DIR8[i]];
    enemy += c == opponent(color);
    edge += c == EDGE;
  }
  return edge ? enemy == 0 : enemy < 2;
}

int previous_move(int back) {
  int ply = gban.fukasa;
  if (back <= ply) return gban.te[ply - back].z;
  int i = tesuu - (back - ply) + 1;
  return i >= 1 ? kifu[i].z : -1;
}

int generate_moves(int remaining, int color) {
  int ply = gban.fukasa;
  stamp_now++;
  gen_num = 0;
  if (remaining >= 1) {
    tactical_generator(color);
    near_points(previous_move(1), KARI_NEAR_LAST, color);
    near_points(previous_move(2), KARI_NEAR_OWN, color);
  }
  if (remaining >= 2) connection_generator(color);
  if (remaining >= 3) {
    if (ThinkLevel == LEVEL_ROOT && ply == 0) big_point_generator(color);
    life_death_generator(color);
    if (ply == 1) {
      reply_generator(color);
      defend_first_move(color);
    }
  }
  if (ThinkLevel == LEVEL_ITERATIVE && (ply == 0 || ban_size <= SMALL_BOARD)) whole_board_generator(color);

  MoveList& list = move_list[ply];
  list.n = 0;
  for (int i = 0; i < gen_num; i++) {
    int z = gen_points[i];
    const HistoryTable& h = history[color];
    int bonus = KARI_HISTORY * h.good[z] / (h.total[z] + h.bad[z] + 1);
    list.m[list.n++] = {z, color, gen_kari[z] + bonus, gen_flags[z]};
  }
  if (ban_size > SMALL_BOARD) list.n = bad_shape_filter(list.m, list.n, color);

  int hash_move = transposition_move(color);
  if (hash_move > 0) {
    SearchMove* found = std::find_if(list.m, list.m + list.n, [&](const SearchMove& m) { return m.z == hash_move; });
    if (found != list.m + list.n) found->kari += KARI_HASH_MOVE;
    else if (gban.ban[hash_move] != EMPTY) PRT("find_hash errz=%04x\n", hash_move);
    else if (list.n < MOVE_LIST_MAX) list.m[list.n++] = {hash_move, color, KARI_HASH_MOVE, 0};
  }
  std::stable_sort(list.m, list.m + list.n, [](const SearchMove& a, const SearchMove& b) { return a.kari > b.kari; });
  for (int i = 0; i < list.n; i++) {
    const SearchMove& m = list.m[i];
    if (m.z < 0 || (m.z > 0 && (!on_board(m.z) || gban.ban[m.z] != EMPTY))) {
      PRT("%2d z=%04x, kari=%4d, 死OK=%d, generate_move error()\n", i, m.z, m.kari, m.flags);
      internal_stop();
    }
  }
  return list.n;
}
