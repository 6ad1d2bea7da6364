#include "core/opening.h"

#include "core/board.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/random.h"
#include "core/think.h"

namespace {

constexpr int MIMIC_MOVES = 14;
constexpr int OPENING_MOVES_MAX = 15;
constexpr int SMALL_BOARD = 9;
constexpr int SMALL_BOARD_LAST_MOVE = 3;
constexpr int MEDIUM_BOARD = 13;
constexpr int MEDIUM_BOARD_LAST_MOVE = 6;
constexpr int LARGE_BOARD = 19;
constexpr int DRAWS_MAX = 100;
constexpr int NEAR_CORNER_DIST2 = 10;  // squared distance from the 4-4 point

// Right, down, left, up, then the diagonals down-right, down-left, up-left, up-right.
constexpr int DIR8[8] = {1, 256, -1, -256, 257, 255, -257, -255};

bool on_board(int x, int y) { return x >= 1 && x <= ban_size && y >= 1 && y <= ban_size; }

int count_neighbours(int z, int n, int color) {
  int k = 0;
  for (int i = 0; i < n; i++) k += gban.ban[z + DIR8[i]] == color;
  return k;
}

// Empty, inside the board and with all n neighbours empty.
bool open_point(int z, int n) {
  if (!on_board(z_x(z), z_y(z)) || gban.ban[z] != EMPTY) return false;
  return count_neighbours(z, n, EMPTY) == n;
}

int small_board_move(int color, int moves) {
  int h = moves / 2;
  int side = 2 * h + 3, first = 4 - h;
  for (int draws = 1; draws <= DRAWS_MAX; draws++) {
    int x = first + (rand_next() >> 8) % side;
    int y = first + (rand_next() >> 8) % side;
    int z = make_z(x, y);
    if (!open_point(z, 4)) continue;
    // Contact with an enemy stone is fine; contact with an own stone is slow.
    if (count_neighbours(z, 8, opponent(color)) > 0 || count_neighbours(z, 8, color) == 0) return z;
  }
  return 0;
}

struct Corner {
  int x, y, dx, dy;  // the 4-4 point and the direction towards the corner
};

void corners(Corner out[4]) {
  int n = ban_size;
  out[0] = {4, 4, -1, -1};
  out[1] = {n - 3, 4, 1, -1};
  out[2] = {n - 3, n - 3, 1, 1};
  out[3] = {4, n - 3, -1, 1};
}

int empty_corner_points(int candidates[], int count) {
  Corner c[4];
  corners(c);
  for (const Corner& k : c) {
    int z = make_z(k.x, k.y);
    if (!open_point(z, 8)) continue;
    candidates[count++] = make_z(k.x + k.dx, k.y + k.dy);  // 3-3
    candidates[count++] = make_z(k.x + k.dx, k.y);         // 3-4
    candidates[count++] = make_z(k.x, k.y + k.dy);         // 4-3
    candidates[count++] = z;
  }
  return count;
}

bool is_three_three(int x, int y) {
  int n = ban_size;
  return (x == 3 || x == n - 2) && (y == 3 || y == n - 2);
}

int edge_line(int x, int y) {
  int n = ban_size;
  int a = x < n + 1 - x ? x : n + 1 - x;
  int b = y < n + 1 - y ? y : n + 1 - y;
  return a < b ? a : b;
}

// Approaches to a lone enemy stone near a 4-4 point.
int approach_moves(int color, int candidates[], int count) {
  Corner c[4];
  corners(c);
  constexpr int ORTHO[4] = {1, 256, -1, -256};
  for (const Corner& k : c) {
    int near = 0;
    for (int y = 1; y <= ban_size; y++) {
      for (int x = 1; x <= ban_size; x++) {
        int d2 = (x - k.x) * (x - k.x) + (y - k.y) * (y - k.y);
        if (d2 < NEAR_CORNER_DIST2 && gban.ban[make_z(x, y)] != EMPTY) near++;
      }
    }
    if (near >= 2) continue;
    int star = make_z(k.x, k.y), p = 0;
    for (int d : DIR8) {
      if (gban.ban[star + d] == opponent(color)) {
        p = star + d;
        break;
      }
    }
    if (!p && gban.ban[star] == opponent(color)) p = star;
    if (!p) continue;
    for (int i = 0; i < 4; i++) {
      int e = ORTHO[i], f = ORTHO[(i + 1) % 4];
      for (int t : {p + 2 * e + f, p + 2 * e, p + 2 * e - f}) {
        if (!open_point(t, 8)) continue;
        int tx = z_x(t), ty = z_y(t);
        if (is_three_three(tx, ty)) {
          // From the 3-3 point move onto the stone's column or row instead.
          int along_row = make_z(z_x(p), ty);
          if (gban.ban[along_row] == EMPTY && count_neighbours(along_row, 8, EMPTY) == 8) {
            t = along_row;
          } else {
            t = make_z(tx, z_y(p));
            if (gban.ban[t] != EMPTY) continue;
          }
          tx = z_x(t), ty = z_y(t);
        }
        int line = edge_line(tx, ty);
        if (line >= 3 && line <= 4 && count < OPENING_CANDIDATE_MAX) candidates[count++] = t;
      }
    }
  }
  return count;
}

// The opening answers only with a move the board accepts.
int if_legal(int z, int color) {
  if (z <= 0 || put_stone(gban, z, color) != PUT_OK) return 0;
  take_back(gban, z, color);
  return z;
}

}  // namespace

int mimic_check(int count, int color, int candidates[OPENING_CANDIDATE_MAX]) {
  int c = ban_size / 2 + 1;
  int centre = make_z(c, c);
  if (tesuu != MIMIC_MOVES || color != BLACK || gban.ban[centre] != EMPTY) return count;
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int a = gban.ban[make_z(x, y)];
      int b = gban.ban[make_z(ban_size + 1 - x, ban_size + 1 - y)];
      bool mirrored = (a == EMPTY && b == EMPTY) || (a != EMPTY && b != EMPTY && a != b);
      if (!mirrored) return count;
    }
  }
  PRT("白が真似碁！\n");
  candidates[count++] = centre;
  return count;
}

int opening_move(int color) {
  if (!opening_enabled) return 0;
  int stones = 0;
  for (int y = 1; y <= ban_size; y++)
    for (int x = 1; x <= ban_size; x++) stones += gban.ban[make_z(x, y)] != EMPTY;
  // Captures, handicap or set-up stones end the opening.
  if (stones != tesuu || tesuu > OPENING_MOVES_MAX || ban_size < SMALL_BOARD) return 0;

  int candidates[OPENING_CANDIDATE_MAX];
  int count = mimic_check(0, color, candidates);
  if (count == 0) {
    if (ban_size == SMALL_BOARD) {
      return tesuu < SMALL_BOARD_LAST_MOVE ? if_legal(small_board_move(color, tesuu), color) : 0;
    }
    if (ban_size < MEDIUM_BOARD) return 0;
    if (ban_size == MEDIUM_BOARD && tesuu >= MEDIUM_BOARD_LAST_MOVE) return 0;
    count = empty_corner_points(candidates, count);
    if (count == 0 && ban_size == LARGE_BOARD) count = approach_moves(color, candidates, count);
  }
  if (count == 0) return 0;
  int k = (rand_next() >> 8) % count;
  PRT("序盤の手 %d/%d z=%04x\n", k, count, candidates[k]);
  return if_legal(candidates[k], color);
}
