// Positions for the analysis tests, drawn row by row from the top:
// 'X' black, 'O' white, anything else empty.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "core/board.h"
#include "knowledge/analysis.h"
#include "knowledge/eye_database.h"
#include "support/engine_setup.h"

template <typename Rows>
void set_rows(const Rows& rows) {
  engine_setup(int(rows.size()));
  int y = 1;
  for (const auto& row : rows) {
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

inline void set_position(std::initializer_list<const char*> rows) { set_rows(rows); }

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

// The analysis of the global board, as the count of a finished game sees
// it, and what it says of a point.
inline const GlobalAnalysis& judge() {
  analyze(gban, ban_analysis);
  fill_dame_before_count(gban, ban_analysis);
  return ban_analysis;
}
inline int final_at(const char* vertex) { return ban_analysis.final_status[at(vertex)]; }
inline const Group& group_at(const char* vertex) {
  return ban_analysis.group[ban_analysis.str[ban_analysis.rn[at(vertex)]].group];
}

// 7x7: Black's wall on column C, White's on D, a dead white stone at B6.
// Black: 13 points and the dead stone; White: 21 points.
inline void set_dead_stone_position() {
  set_position({
      "..XO...",
      ".OXO...",
      "..XO...",
      "..XO...",
      "..XO...",
      "..XO...",
      "..XO...",
  });
}
