#include "knowledge/bad_shape.h"

#include <gtest/gtest.h>

#include "knowledge/move_gen.h"
#include "support/engine_setup.h"

namespace {

// Cell (r, c) of the pattern turned by t: t % 4 quarter turns, mirrored when
// t >= 4. Built here independently of the table's own construction.
void transformed(const int in[BAD_SHAPE_CELLS], int t, int out[BAD_SHAPE_CELLS]) {
  for (int r = 0; r < 5; r++) {
    for (int c = 0; c < 5; c++) {
      int rr = r, cc = c;
      for (int k = 0; k < t % 4; k++) {
        int nr = cc, nc = 4 - rr;  // clockwise quarter turn
        rr = nr, cc = nc;
      }
      if (t >= 4) cc = 4 - cc;
      out[rr * 5 + cc] = in[r * 5 + c];
    }
  }
}

// The centre coordinate along one axis that puts exactly the marked lines off the board.
int centre_for(bool off_low0, bool off_low1, bool off_high3, bool off_high4) {
  if (off_low1) return 1;
  if (off_low0) return 2;
  if (off_high3) return ban_size;
  if (off_high4) return ban_size - 1;
  return 10;
}

// Puts the pattern's stones on an empty board for the mover; returns the centre.
int realize(const int cells[BAD_SHAPE_CELLS], int mover) {
  engine_setup(19);
  // A line is off the board when it holds off-board cells and nothing that must be on it.
  bool col_off[5], row_off[5];
  for (int k = 0; k < 5; k++) {
    bool col_any = false, row_any = false, col_on = false, row_on = false;
    for (int j = 0; j < 5; j++) {
      int c = cells[j * 5 + k], r = cells[k * 5 + j];
      col_any |= c == SHAPE_OFF, row_any |= r == SHAPE_OFF;
      col_on |= c <= SHAPE_THEIRS || c == SHAPE_CANDIDATE, row_on |= r <= SHAPE_THEIRS || r == SHAPE_CANDIDATE;
    }
    col_off[k] = col_any && !col_on;
    row_off[k] = row_any && !row_on;
  }
  int cx = centre_for(col_off[0], col_off[1], col_off[3], col_off[4]);
  int cy = centre_for(row_off[0], row_off[1], row_off[3], row_off[4]);
  for (int i = 0; i < BAD_SHAPE_CELLS; i++) {
    int x = cx + i % 5 - 2, y = cy + i / 5 - 2;
    bool inside = x >= 1 && x <= ban_size && y >= 1 && y <= ban_size;
    if (cells[i] == SHAPE_OFF) {
      EXPECT_FALSE(inside);
      continue;
    }
    if (cells[i] <= SHAPE_THEIRS) {
      EXPECT_TRUE(inside);
    }
    if (cells[i] == SHAPE_MINE) gban.ban[make_z(x, y)] = mover;
    if (cells[i] == SHAPE_THEIRS) gban.ban[make_z(x, y)] = opponent(mover);
  }
  return make_z(cx, cy);
}

class BadShape : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { make_bad_shape_table(); }
};

TEST_F(BadShape, EveryPatternMatchesInAllEightOrientationsForBothColours) {
  for (int p = 0; p < BAD_SHAPE_NUM; p++) {
    int cells[BAD_SHAPE_CELLS], turned[BAD_SHAPE_CELLS];
    bad_shape_pattern(p, cells);
    EXPECT_EQ(cells[12], SHAPE_CANDIDATE) << "pattern " << p + 1;
    for (int t = 0; t < BAD_SHAPE_ORIENTATIONS; t++) {
      transformed(cells, t, turned);
      for (int mover : {BLACK, WHITE}) {
        int z = realize(turned, mover);
        EXPECT_TRUE(bad_shape_match(z, mover)) << "pattern " << p + 1 << " orientation " << t << " colour " << mover;
      }
    }
  }
  engine_setup(19);
}

TEST_F(BadShape, OpenPointsAndGoodShapesDoNotMatch) {
  engine_setup(19);
  EXPECT_FALSE(bad_shape_match(make_z(10, 10), BLACK));
  EXPECT_FALSE(bad_shape_match(make_z(4, 4), WHITE));
  // A one-space jump from an own stone in open space is good shape.
  gban.ban[make_z(10, 10)] = BLACK;
  EXPECT_FALSE(bad_shape_match(make_z(10, 12), BLACK));
  // The same point next to the own stone is pattern 22 (a plain extension
  // away from nothing) only when directly adjacent.
  EXPECT_TRUE(bad_shape_match(make_z(10, 9), BLACK));
  // The colours are seen from the mover: for White the black stone is an enemy.
  EXPECT_FALSE(bad_shape_match(make_z(10, 9), WHITE));
  engine_setup(19);
}

TEST_F(BadShape, FilterMovesTheLastCandidateIntoAFreedPlaceAndTestsItToo) {
  engine_setup(19);
  gban.ban[make_z(10, 10)] = BLACK;
  SearchMove list[4] = {{make_z(10, 9), BLACK, 5, 0},
                        {make_z(4, 4), BLACK, 4, 0},
                        {make_z(3, 16), BLACK, 3, 0},
                        {make_z(11, 10), BLACK, 2, 0}};
  int n = bad_shape_filter(list, 4, BLACK);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(list[0].z, make_z(3, 16));
  EXPECT_EQ(list[1].z, make_z(4, 4));
  engine_setup(19);
}

TEST_F(BadShape, BrokenPatternsAreReportedAtStartUp) {
  int cells[BAD_SHAPE_CELLS];
  const char* unknown[5] = {"？？？？？", "？┼●●？", "？┼★Ｘ？", "？┼┼┼？", "？？？？？"};
  log_clear();
  EXPECT_EQ(parse_bad_shape(unknown, cells), SHAPE_PARSE_UNKNOWN_SYMBOL);
  EXPECT_NE(log_text().find("not found"), std::string::npos);
  const char* wild[5] = {"？？？？？", "？┼？●？", "？┼★┼？", "？┼┼┼？", "？？？？？"};
  log_clear();
  EXPECT_EQ(parse_bad_shape(wild, cells), SHAPE_PARSE_WILD_NEIGHBOUR);
  EXPECT_NE(log_text().find("悪形4hasu"), std::string::npos);
}

}  // namespace
