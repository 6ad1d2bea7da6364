#include <gtest/gtest.h>

#include <vector>

#include "support/engine_setup.h"

namespace {

int at(int x, int y) { return make_z(x, y); }

std::vector<int> black_stones() {
  std::vector<int> v;
  for (int y = 1; y <= ban_size; y++)
    for (int x = 1; x <= ban_size; x++)
      if (gban.ban[at(x, y)] == BLACK) v.push_back(at(x, y));
  return v;
}

TEST(Kifu, PassesResignationAndFullRecord) {
  engine_setup(9);
  EXPECT_EQ(set_kifu_time(0, BLACK, 1), KIFU_OK) << "a single pass after no move";
  EXPECT_EQ(set_kifu_time(0, WHITE, 1), KIFU_TWO_PASSES);
  EXPECT_EQ(set_kifu_time(-1, BLACK, 0), KIFU_RESIGN);
  EXPECT_EQ(kifu[tesuu].z, 0);
  EXPECT_EQ(set_kifu_time(at(5, 5), 3, 0), KIFU_REFUSED);
  EXPECT_EQ(set_kifu_time(at(10, 5), BLACK, 0), KIFU_REFUSED);

  engine_setup(9);
  for (int i = 1; i <= KIFU_MAX - 2; i++) set_kifu_time(0, i % 2 ? BLACK : WHITE, 0);
  set_kifu_time(at(1, 1), BLACK, 0);
  int result = set_kifu_time(at(9, 9), WHITE, 0);
  EXPECT_EQ(tesuu, KIFU_MAX);
  EXPECT_EQ(result, KIFU_FULL);
  set_kifu_time(0, BLACK, 0);
  EXPECT_EQ(tesuu, KIFU_MAX) << "nothing is recorded past the limit";
}

TEST(Kifu, RefusedMoveLeavesRecordAndBoard) {
  engine_setup(9);
  set_kifu_time(at(1, 2), WHITE, 0);
  set_kifu_time(at(2, 1), WHITE, 0);
  Hash96 h = gban.hash;
  EXPECT_EQ(set_kifu_time(at(1, 1), BLACK, 0), KIFU_REFUSED);
  EXPECT_EQ(set_kifu_time(at(1, 2), BLACK, 0), KIFU_REFUSED);
  EXPECT_EQ(tesuu, 2);
  EXPECT_TRUE(gban.hash == h);
}

TEST(Kifu, TejunSetRebuildsGameAndRecognisesPositions) {
  engine_setup(9);
  int moves[][2] = {{at(3, 3), BLACK}, {at(7, 7), WHITE}, {0, BLACK}, {at(5, 5), WHITE}};
  for (auto& m : moves) set_kifu_time(m[0], m[1], 0);
  Hash96 end = gban.hash;
  kifu_tejun_set();
  EXPECT_EQ(tesuu, 4);
  EXPECT_TRUE(gban.hash == end);
  EXPECT_EQ(tejun_hash_check(gban.fukasa), 1) << "the current position is in the path table";
  put_stone(gban, at(1, 1), BLACK);
  EXPECT_EQ(tejun_hash_check(gban.fukasa), 0);
  tejun_hash_set(gban.fukasa);
  EXPECT_EQ(tejun_hash_check(gban.fukasa), 1);
  tejun_hash_del(gban.fukasa);
  EXPECT_EQ(tejun_hash_check(gban.fukasa), 0);
  take_back(gban, at(1, 1), BLACK);
}

// A position where each side captures in turn: a triple-ko-like cycle back
// to a position seen earlier in the game.
TEST(Kifu, SuperKoRefusesRecreatedPositionWhoeverIsToMove) {
  engine_setup(9);
  // Ko at (2,1)/(3,1) on the top edge.
  int setup[][3] = {{1, 1, WHITE}, {4, 1, BLACK}, {2, 2, WHITE}, {3, 2, BLACK}, {2, 1, BLACK}};
  for (auto& s : setup) set_kifu_time(at(s[0], s[1]), s[2], 0);
  // White takes (2,1) by playing (3,1): a ko capture.
  ASSERT_EQ(set_kifu_time(at(3, 1), WHITE, 0), KIFU_OK);
  ASSERT_EQ(gban.kou_iti, at(2, 1));
  set_kifu_time(at(9, 9), BLACK, 0);  // ko threat elsewhere
  set_kifu_time(at(9, 8), WHITE, 0);
  kifu_tejun_set();
  // Black retakes: a new position (different stones elsewhere), allowed.
  ASSERT_EQ(put_stone(gban, at(2, 1), BLACK), PUT_OK);
  EXPECT_EQ(super_ko_check(), 0);
  take_back(gban, at(2, 1), BLACK);
  // Going back to the position after move 4 with the same stones is refused:
  // remove the threat pair by replaying an order where it is absent.
  engine_setup(9);
  for (auto& s : setup) set_kifu_time(at(s[0], s[1]), s[2], 0);
  set_kifu_time(at(3, 1), WHITE, 0);
  set_kifu_time(0, BLACK, 0);
  set_kifu_time(0, WHITE, 0);
  kifu_tejun_set();
  // Black now retakes at (2,1): the stones equal those after move 5 (black to move then,
  // white now): super-ko compares both sides to move.
  ASSERT_EQ(put_stone(gban, at(2, 1), BLACK), PUT_OK);
  EXPECT_EQ(super_ko_check(), 1);
  take_back(gban, at(2, 1), BLACK);
}

TEST(Handicap, FixedTables) {
  engine_setup(13);
  put_handicap(3);
  EXPECT_EQ(black_stones(), (std::vector<int>{at(10, 4), at(4, 10), at(10, 10)}));
  engine_setup(19);
  put_handicap(13);
  std::vector<int> b = black_stones();
  EXPECT_EQ(b.size(), 13u);
  for (int p : {at(3, 3), at(17, 3), at(3, 17), at(17, 17), at(10, 10), at(4, 10)})
    EXPECT_NE(std::find(b.begin(), b.end(), p), b.end()) << std::hex << p;
  put_handicap(25);
  EXPECT_EQ(black_stones().size(), 25u);
  engine_setup(9);
  put_handicap(5);
  EXPECT_EQ(black_stones(), (std::vector<int>{at(3, 3), at(7, 3), at(5, 5), at(3, 7), at(7, 7)}));
  EXPECT_EQ(side_to_move(), WHITE);
  engine_setup(15);
  set_kifu_time(at(8, 8), BLACK, 0);
  put_handicap(5);
  EXPECT_TRUE(black_stones().empty()) << "other sizes are cleared and get no stones";
  EXPECT_EQ(tesuu, 0);
}

TEST(Handicap, StonesAreTheInitialPositionOfTheGame) {
  engine_setup(9);
  put_handicap(2);
  set_kifu_time(at(5, 5), WHITE, 0);
  replay_kifu(0);
  EXPECT_EQ(black_stones().size(), 2u);
  EXPECT_EQ(gban.ban[at(5, 5)], EMPTY);
}

}  // namespace
