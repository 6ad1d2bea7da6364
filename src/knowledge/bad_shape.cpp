#include "knowledge/bad_shape.h"

#include <cstring>

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/log.h"
#include "knowledge/move_gen.h"

namespace {

const char* const patterns[BAD_SHAPE_NUM][5] = {
    {"？？？？？", "？┼●●？", "？┼★┼？", "？┼┼┼？", "？？？？？"},  // 1
    {"？？？？？", "┼┼●┼┼", "┼┼★┼┼", "┼？┼┼┼", "？┼？┼？"},  // 2
    {"？？？？？", "┼┼┼●┼", "┼┼★┼┼", "┼？┼┼┼", "？┼┼┼？"},  // 3
    {"┼┼┼┼┼", "┼●○┼┼", "┼┼★○┼", "┼┼┼┼┼", "┼┼┼┼┼"},  // 4
    {"┼┼┼┼┼", "●┼○┼┼", "┼┼★┼┼", "┼●┼┼┼", "┼┼┼┼┼"},  // 5
    {"┼┼┼┼？", "┼┼┼┼┼", "┼●★○┼", "┼┼┼┼┼", "┼┼●┼┼"},  // 6
    {"？┼┼┼┼", "┼●┼○┼", "┼┼★┼┼", "┼┼●┼┼", "？┼┼┼？"},  // 7
    {"？┼┼○┼", "┼┼●┼┼", "┼┼★┼○", "┼┼┼┼┼", "？┼┼┼？"},  // 8
    {"？┼┼┼？", "┼┼┼┼┼", "┼○★●┼", "┼┼┼┼┼", "？┼┼┼？"},  // 9
    {"？┼┼┼？", "┼┼┼┼┼", "┼┼★┼┼", "┼┼┼┼┼", "？┼○┼●"},  // 10
    {"┼┼┼┼○", "┼┼○┼┼", "●┼★┼○", "┼┼●┼┼", "┼┼┼┼┼"},  // 11
    {"┼○┼┼┼", "┼┼┼┼┼", "┼●★┼┼", "┼┼┼○┼", "┼┼┼┼┼"},  // 12
    {"？？？？？", "？●●┼？", "？┼★┼？", "？┼○┼？", "？？？？？"},  // 13
    {"？┼┼┼？", "┼┼┼┼？", "┼○★┼┼", "┼┼●●？", "？？？？？"},  // 14
    {"？？？？？", "？┼●┼？", "？●★┼？", "┼┼○┼┼", "？┼┼┼？"},  // 15
    {"？？？？？", "？○○○？", "┼┼★┼┼", "┼┼┼┼┼", "┼┼●┼┼"},  // 16
    {"？┼○┼●", "？┼┼┼┼", "┼┼★●┼", "┼┼┼┼？", "？┼┼？？"},  // 17
    {"？┼┼？？", "┼┼●┼○", "┼┼★┼？", "？┼┼┼？", "？？？？？"},  // 18
    {"？？？？？", "？┼┼●？", "？○★●？", "？┼┼┼？", "？？？？？"},  // 19
    {"？┼┼┼？", "？○┼○？", "？●★┼？", "？┼●┼？", "？？？？？"},  // 20
    {"？┼○○？", "┼○●┼？", "┼┼★●？", "┼┼○┼？", "？？？？？"},  // 21
    {"？？？？？", "？┼┼┼？", "？┼★┼？", "？┼●┼？", "？？？？？"},  // 22
    {"┼┼？┼？", "┼┼┼┼┼", "？┼★┼┼", "┼┼┼●┼", "？┼┼┼？"},  // 23
    {"□┼┼┼┼", "□┼┼┼┼", "□┼★┼┼", "□┼┼●？", "□？┼？？"},  // 24
    {"□□□□□", "□□□□□", "┼┼★┼┼", "┼┼┼┼●", "？？？●？"},  // 25
    {"□┼┼●┼", "□┼┼┼┼", "□┼★┼┼", "□┼┼┼┼", "□？┼┼┼"},  // 26
    {"？？？？？", "？┼○┼？", "┼┼★┼┼", "┼┼┼┼？", "┼●┼？？"},  // 27
    {"？┼┼○○", "？┼┼┼●", "┼┼★┼┼", "┼┼┼┼？", "□□□□□"},  // 28
    {"？┼○○┼", "？┼┼●┼", "┼┼★┼┼", "┼┼┼┼？", "□□□□□"},  // 29
    {"？？？？？", "┼┼○○？", "┼┼★┼┼", "┼┼●┼？", "？？？？？"},  // 30
    {"？┼┼？□", "┼┼┼┼□", "┼┼★┼□", "●┼┼┼□", "┼┼┼┼□"},  // 31
    {"？┼┼┼？", "┼┼┼┼┼", "┼┼★┼┼", "●┼┼┼┼", "○┼┼●？"},  // 32
    {"？┼┼┼？", "┼┼┼┼┼", "┼┼★┼┼", "┼┼┼┼┼", "●┼┼┼？"},  // 33
    {"？？┼□□", "┼┼┼□□", "┼┼★□□", "┼┼┼□□", "？？┼□□"},  // 34
    {"？？┼□□", "？●┼□□", "○┼★□□", "？┼┼□□", "？？┼□□"},  // 35
    {"？┼┼？？", "？┼┼●┼", "？┼★┼┼", "？┼●┼┼", "？┼？？？"},  // 36
    {"？┼┼？？", "？┼┼●？", "？┼★┼？", "？┼┼●？", "？┼┼？？"},  // 37
    {"？？┼□□", "？┼┼□□", "？●★□□", "？┼┼□□", "？？┼□□"},  // 38
    {"？○┼□□", "○●┼□□", "●┼★□□", "？┼┼□□", "？┼┼□□"},  // 39
    {"？┼┼□□", "？○┼□□", "○●★□□", "●┼┼□□", "？┼┼□□"},  // 40
    {"？┼┼┼？", "┼┼┼┼┼", "○●★○┼", "？○┼┼┼", "┼┼┼┼┼"},  // 41
    {"？┼┼┼？", "？●┼┼？", "？┼★●？", "？┼┼●？", "？？○？？"},  // 42
    {"┼┼○┼？", "┼●┼┼┼", "┼┼★┼┼", "┼┼┼┼┼", "□□□□□"},  // 43
    {"？？┼？？", "┼●┼┼┼", "┼┼★┼┼", "□□□□□", "□□□□□"},  // 44
    {"┼┼┼┼┼", "┼┼○┼┼", "┼┼★┼┼", "┼┼●○┼", "？┼┼┼？"},  // 45
    {"？？？？？", "？┼○○？", "┼┼★┼┼", "┼┼┼┼┼", "？●┼┼？"},  // 46
    {"？？？？？", "？○○○？", "┼┼★┼┼", "┼┼┼┼┼", "？●┼┼？"},  // 47
    {"？？？？？", "？┼○○？", "┼┼★┼┼", "┼┼┼┼┼", "？┼┼●？"},  // 48
    {"？？？？？", "？○○○？", "┼┼★┼┼", "？┼┼┼？", "？┼●┼？"},  // 49
    {"？？？？？", "？┼●●？", "？┼★┼？", "？┼┼○？", "？？？？？"},  // 50
    {"？？？？？", "？┼●┼？", "？┼★●？", "？●┼┼？", "？？？？？"},  // 51
    {"？？？？？", "？┼●┼？", "？┼★●？", "？┼┼┼？", "？？？？？"},  // 52
    {"？？┼□□", "？●┼□□", "┼┼★□□", "●┼┼□□", "？┼┼□□"},  // 53
    {"？？？？？", "？┼●┼？", "？●★┼？", "？？┼？？", "？？？？？"},  // 54
    {"？？？？？", "？┼┼○？", "？●★○？", "？┼┼○？", "？？？？？"},  // 55
    {"？？┼□□", "？┼┼□□", "┼┼★□□", "？┼┼□□", "？？○□□"},  // 56
    {"┼┼┼？？", "┼●┼┼？", "┼┼★○○", "┼┼┼○？", "┼┼┼？？"},  // 57
    {"┼●┼○？", "┼┼┼┼┼", "┼┼★○？", "┼┼┼┼？", "□□□□□"},  // 58
    {"□？┼┼？", "□┼┼┼┼", "□┼★┼○", "□┼┼┼●", "□？┼┼？"},  // 59
    {"？？●？┼", "？○○┼┼", "？┼★┼┼", "？┼┼┼？", "？？？？？"},  // 60
    {"？？？？？", "┼┼○○┼", "┼┼★┼┼", "●┼┼┼？", "？？？？？"},  // 61
    {"？？┼□□", "？┼┼□□", "●┼★□□", "？┼┼□□", "？？┼□□"},  // 62
    {"？┼┼□□", "？●┼□□", "●┼★□□", "？┼┼□□", "？┼┼□□"},  // 63
    {"□┼┼┼┼", "□┼┼┼●", "□┼★┼┼", "□┼┼┼●", "□┼┼┼┼"},  // 64
    {"？？┼□□", "●┼┼□□", "┼┼★□□", "？┼┼□□", "？？┼□□"},  // 65
    {"？？┼□□", "？┼┼□□", "┼┼★□□", "┼┼┼□□", "□□□□□"},  // 66
    {"？？？？●", "┼┼┼┼●", "┼┼★●○", "□□□□□", "□□□□□"},  // 67
    {"？？？？？", "？┼┼┼？", "？●★●？", "？┼┼┼？", "？？？？？"},  // 68
    {"？？？？？", "？●┼┼？", "？┼★●？", "？┼┼┼？", "？？？？？"},  // 69
    {"□？┼┼？", "□┼┼┼┼", "□┼★┼？", "□┼┼┼┼", "□？┼┼●"},  // 70
    {"□？┼┼●", "□┼┼┼┼", "□┼★┼┼", "□？┼┼？", "□□□□□"},  // 71
};

const char* const symbols[] = {"┼", "●", "○", "□", "★", "？"};
constexpr int SYMBOL_BYTES = 3;  // each symbol is one three-byte UTF-8 character
constexpr int NEIGHBOUR_CELLS[4] = {7, 11, 13, 17};  // up, left, right, down

struct ShapeEntry {
  int key;
  int cells[BAD_SHAPE_CELLS];
};
ShapeEntry table[BAD_SHAPE_NUM * BAD_SHAPE_ORIENTATIONS];
bool table_made;

int neighbour_key(const int cells[BAD_SHAPE_CELLS]) {
  int key = 0;
  for (int i : NEIGHBOUR_CELLS) key = key * 4 + cells[i];
  return key;
}

void quarter_turn(const int in[BAD_SHAPE_CELLS], int out[BAD_SHAPE_CELLS]) {
  for (int r = 0; r < 5; r++)
    for (int c = 0; c < 5; c++) out[r * 5 + c] = in[(4 - c) * 5 + r];
}

void mirror(const int in[BAD_SHAPE_CELLS], int out[BAD_SHAPE_CELLS]) {
  for (int r = 0; r < 5; r++)
    for (int c = 0; c < 5; c++) out[r * 5 + c] = in[r * 5 + 4 - c];
}

}  // namespace

int parse_bad_shape(const char* const rows[5], int cells[BAD_SHAPE_CELLS]) {
  for (int r = 0; r < 5; r++) {
    const char* p = rows[r];
    for (int c = 0; c < 5; c++, p += SYMBOL_BYTES) {
      int code = -1;
      for (int s = 0; s < 6; s++) {
        if (strncmp(p, symbols[s], SYMBOL_BYTES) == 0) code = s;
      }
      if (code < 0) {
        PRT("not found\n");
        return SHAPE_PARSE_UNKNOWN_SYMBOL;
      }
      cells[r * 5 + c] = code;
    }
  }
  for (int i : NEIGHBOUR_CELLS) {
    if (cells[i] > SHAPE_OFF) {
      PRT("悪形4hasu\n");
      return SHAPE_PARSE_WILD_NEIGHBOUR;
    }
  }
  return SHAPE_PARSE_OK;
}

void bad_shape_pattern(int p, int cells[BAD_SHAPE_CELLS]) {
  if (parse_bad_shape(patterns[p], cells) != SHAPE_PARSE_OK) INTERNAL_STOP("bad shape %d\n", p + 1);
}

void make_bad_shape_table() {
  for (int p = 0; p < BAD_SHAPE_NUM; p++) {
    ShapeEntry* e = &table[p * BAD_SHAPE_ORIENTATIONS];
    if (parse_bad_shape(patterns[p], e[0].cells) != SHAPE_PARSE_OK) INTERNAL_STOP("bad shape %d\n", p + 1);
    for (int o = 1; o < BAD_SHAPE_ORIENTATIONS; o++) {
      if (o == 4) mirror(e[3].cells, e[4].cells);
      else quarter_turn(e[o - 1].cells, e[o].cells);
    }
    for (int o = 0; o < BAD_SHAPE_ORIENTATIONS; o++) e[o].key = neighbour_key(e[o].cells);
  }
  table_made = true;
}

bool bad_shape_match(int z, int color) {
  if (!table_made) INTERNAL_STOP("bad-shape table not made\n");
  int window[BAD_SHAPE_CELLS];
  int x0 = z_x(z), y0 = z_y(z);
  for (int r = 0; r < 5; r++) {
    for (int c = 0; c < 5; c++) {
      int x = x0 + c - 2, y = y0 + r - 2;
      int cell = SHAPE_OFF;
      if (x >= 1 && x <= ban_size && y >= 1 && y <= ban_size) {
        cell = gban.ban[make_z(x, y)];
        // Seen from the mover: 1 is always the side to move.
        if (color == WHITE && (cell == BLACK || cell == WHITE)) cell = opponent(cell);
      }
      window[r * 5 + c] = cell;
    }
  }
  for (int i : NEIGHBOUR_CELLS) {
    if (window[i] > SHAPE_OFF) {
      PRT("悪形4hash\n");
      internal_stop();
    }
  }
  int key = neighbour_key(window);
  for (const ShapeEntry& e : table) {
    if (e.key != key) continue;
    bool same = true;
    for (int i = 0; i < BAD_SHAPE_CELLS && same; i++) {
      same = e.cells[i] >= SHAPE_CANDIDATE || e.cells[i] == window[i];
    }
    if (same) return true;
  }
  return false;
}

int bad_shape_filter(SearchMove* list, int n, int color) {
  for (int i = 0; i < n;) {
    if (list[i].z > 0 && bad_shape_match(list[i].z, color)) {
      list[i] = list[--n];
    } else {
      i++;
    }
  }
  return n;
}
