#include "core/opening.h"

#include <gtest/gtest.h>

#include <set>

#include "core/random.h"
#include "core/think.h"
#include "support/engine_setup.h"

namespace {

void play(int x, int y, int color) { ASSERT_EQ(set_kifu_time(make_z(x, y), color, 0), KIFU_OK); }

bool touches(int z, int color) {
  for (int d : {1, -1, 256, -256, 257, 255, -257, -255}) {
    if (gban.ban[z + d] == color) return true;
  }
  return false;
}

TEST(Opening, NineByNineFirstMovesAreCentralAndAvoidOnlyOwnContact) {
  for (int seed = 1; seed <= 200; seed++) {
    engine_setup(9);
    rand_set_seed(seed);
    int z = opening_move(BLACK);
    ASSERT_GT(z, 0);
    EXPECT_TRUE(z_x(z) >= 4 && z_x(z) <= 6 && z_y(z) >= 4 && z_y(z) <= 6) << std::hex << z;
    play(z_x(z), z_y(z), BLACK);
    int w = opening_move(WHITE);
    ASSERT_GT(w, 0);
    EXPECT_TRUE(z_x(w) >= 4 && z_x(w) <= 6 && z_y(w) >= 4 && z_y(w) <= 6) << std::hex << w;
    EXPECT_NE(w, z);
  }
  // Third move: an own stone nearby is avoided unless an enemy stone is next to the point too.
  int own_contact = 0;
  for (int seed = 1; seed <= 300; seed++) {
    engine_setup(9);
    play(5, 5, BLACK);
    play(3, 3, WHITE);
    rand_set_seed(seed);
    int z = opening_move(BLACK);
    if (z == 0) continue;
    EXPECT_TRUE(z_x(z) >= 3 && z_x(z) <= 7 && z_y(z) >= 3 && z_y(z) <= 7);
    if (touches(z, BLACK)) {
      own_contact++;
      EXPECT_TRUE(touches(z, WHITE)) << std::hex << z;
    }
  }
  EXPECT_GT(own_contact, 0);  // (4,4) touches both and stays allowed
  engine_setup(9);
  for (int i = 0; i < 3; i++) play(2 + 2 * i, 2, i % 2 ? WHITE : BLACK);
  EXPECT_EQ(opening_move(WHITE), 0);  // the fourth move is no longer an opening move
}

TEST(Opening, NineteenFirstMoveIsOneOfTheSixteenCornerPoints) {
  std::set<int> corner;
  for (int a : {3, 4, 16, 17})
    for (int b : {3, 4, 16, 17}) corner.insert(make_z(a, b));
  std::set<int> seen;
  for (int seed = 1; seed <= 300; seed++) {
    engine_setup(19);
    rand_set_seed(seed);
    int z = opening_move(BLACK);
    EXPECT_TRUE(corner.count(z)) << std::hex << z;
    seen.insert(z);
  }
  EXPECT_EQ(seen.size(), 16u);
  // 13x13 stops offering corner points after the sixth move.
  engine_setup(13);
  play(4, 4, BLACK), play(10, 10, WHITE), play(10, 4, BLACK), play(4, 10, WHITE);
  play(7, 7, BLACK), play(7, 3, WHITE);
  EXPECT_EQ(opening_move(BLACK), 0);
}

TEST(Opening, NineteenApproachesLoneEnemyCornerStones) {
  std::set<int> allowed = {make_z(6, 4),  make_z(6, 3),  make_z(3, 6),  make_z(4, 6),
                           make_z(6, 17), make_z(6, 16), make_z(4, 14), make_z(3, 14)};
  std::set<int> seen;
  for (int seed = 1; seed <= 200; seed++) {
    engine_setup(19);
    play(16, 4, BLACK), play(4, 4, WHITE), play(16, 16, BLACK), play(4, 16, WHITE);
    rand_set_seed(seed);
    int z = opening_move(BLACK);
    EXPECT_TRUE(allowed.count(z)) << std::hex << z;
    seen.insert(z);
  }
  EXPECT_EQ(seen, allowed);
}

TEST(Opening, NoOpeningMoveAfterACaptureOrWithHandicapStones) {
  engine_setup(19);
  play(1, 2, BLACK), play(1, 1, WHITE), play(2, 1, BLACK);  // captures (1,1)
  EXPECT_EQ(opening_move(WHITE), 0);
  engine_setup(19);
  put_handicap(2);
  EXPECT_EQ(opening_move(WHITE), 0);
  engine_setup(19);
  opening_enabled = 0;
  EXPECT_EQ(opening_move(BLACK), 0);
  opening_enabled = 1;
}

TEST(Opening, MirroredGameGetsTheCentrePoint) {
  for (int size : {9, 19}) {
    engine_setup(size);
    const int moves[7][2] = {{3, 3}, {2, 5}, {4, 2}, {3, 7}, {6, 3}, {2, 2}, {5, 4}};
    for (auto& m : moves) {
      play(m[0], m[1], BLACK);
      play(size + 1 - m[0], size + 1 - m[1], WHITE);
    }
    int c = size / 2 + 1;
    EXPECT_EQ(opening_move(BLACK), make_z(c, c)) << size;
    int candidates[OPENING_CANDIDATE_MAX];
    EXPECT_EQ(mimic_check(0, WHITE, candidates), 0);  // only Black answers a mirror
  }
  // One stone off the mirror: no centre answer from the mimic rule.
  engine_setup(9);
  const int moves[7][2] = {{3, 3}, {2, 5}, {4, 2}, {3, 7}, {6, 3}, {2, 2}, {5, 4}};
  for (auto& m : moves) {
    play(m[0], m[1], BLACK);
    play(10 - m[0], m[0] == 5 ? 1 : 10 - m[1], WHITE);
  }
  int candidates[OPENING_CANDIDATE_MAX];
  EXPECT_EQ(mimic_check(0, BLACK, candidates), 0);
}

}  // namespace
