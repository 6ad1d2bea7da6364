// Positions for the analysis tests, drawn row by row from the top:
// 'X' black, 'O' white, anything else empty.
#pragma once
#include <initializer_list>
#include <string>

#include "core/board.h"
#include "knowledge/eye_database.h"
#include "support/engine_setup.h"

inline void set_position(std::initializer_list<const char*> rows) {
  engine_setup(int(rows.size()));
  int y = 1;
  for (const char* row : rows) {
    for (int x = 1; row[x - 1]; x++) {
      char c = row[x - 1];
      if (c == 'X') put_stone(gban, make_z(x, y), BLACK);
      if (c == 'O') put_stone(gban, make_z(x, y), WHITE);
    }
    y++;
  }
  compact_strings(gban);
  gban.fukasa = 0;
}

// Column letter and row number as GTP prints them ("D4").
inline int at(const char* vertex) {
  int x = vertex[0] - 'A' + 1;
  if (vertex[0] > 'I') x--;
  return make_z(x, ban_size - std::stoi(vertex + 1) + 1);
}

// Other suites reload the database without its corner patches: load afresh.
inline void load_eyes() {
  engine_setup(19);
  load_eye_database();
  patch_corner_shapes();
}
