#include <gtest/gtest.h>

#include <random>

#include "knowledge/analysis.h"
#include "knowledge/life_death.h"
#include "position_setup.h"

namespace {

bool linked(const GlobalAnalysis& a, int z1, int z2) {
  const AnalysisString& s = a.str[a.rn[z1]];
  for (int i = 0; i < s.link_num; i++) {
    if (s.link[i] == a.rn[z2]) return true;
  }
  return false;
}

class Analysis : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { load_eyes(); }
  void SetUp() override { log_clear(); }
};

TEST_F(Analysis, three_stones_around_a_point_link_only_with_three_liberties_each) {
  engine_setup(19);
  put_stone(gban, make_z(4, 4), BLACK);
  put_stone(gban, make_z(6, 4), BLACK);
  put_stone(gban, make_z(5, 6), BLACK);
  analyze(gban, ban_analysis);
  EXPECT_TRUE(linked(ban_analysis, make_z(4, 4), make_z(5, 6)));
  EXPECT_TRUE(linked(ban_analysis, make_z(6, 4), make_z(5, 6)));
  EXPECT_GT(ban_analysis.connect[make_z(5, 5)], 0);
  // Two white stones leave the upper left stone two liberties.
  put_stone(gban, make_z(3, 4), WHITE);
  put_stone(gban, make_z(4, 3), WHITE);
  analyze(gban, ban_analysis);
  EXPECT_FALSE(linked(ban_analysis, make_z(4, 4), make_z(5, 6)));
  EXPECT_FALSE(linked(ban_analysis, make_z(4, 4), make_z(6, 4)));
}

TEST_F(Analysis, strings_around_a_point_the_opponent_cannot_hold_are_linked) {
  // White J11, L11 and K12-K13 around the empty K11, Black J12 and L12 on
  // its diagonals: Black K11 would have one liberty, K10, and take nothing.
  engine_setup(19);
  for (int z : {make_z(9, 9), make_z(11, 9), make_z(10, 8), make_z(10, 7)}) put_stone(gban, z, WHITE);
  for (int z : {make_z(9, 8), make_z(11, 8)}) put_stone(gban, z, BLACK);
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
  EXPECT_TRUE(linked(ban_analysis, make_z(9, 9), make_z(11, 9)));
  EXPECT_TRUE(linked(ban_analysis, make_z(9, 9), make_z(10, 8)));
  // Black M11 leaves L11 two liberties, L10 away from its friends: Black L10
  // would put it in atari.
  put_stone(gban, make_z(12, 9), BLACK);
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
  EXPECT_FALSE(linked(ban_analysis, make_z(9, 9), make_z(11, 9)));
  EXPECT_TRUE(linked(ban_analysis, make_z(9, 9), make_z(10, 8)));
}

TEST_F(Analysis, a_group_joined_across_such_a_point_lives_with_the_eyes_of_both_parts) {
  // A professional game at move 150. White's lower right (O4 to S3) has one
  // eye at R4; S6-S8 above it has the edge. Black S5 would be taken at once,
  // so they are one group, which lives to the end of the game.
  set_position({
      "...................",  // 19
      "........X..........",  // 18
      "..O...X............",  // 17
      ".XXO.OX.O..XX..X...",  // 16
      ".OXOX.X.OX..OXX..X.",  // 15
      "..XOO..OXX.O.O..OX.",  // 14
      ".OOX..OOO.X.OO.O...",  // 13
      ".XOXO..X.OX.....X..",  // 12
      ".OXXXXX.XOX.O..OO..",  // 11
      ".OO....XO.X.XX.XOO.",  // 10
      ".......OOX..X...XXO",  // 9
      "....OO...O.OOX.XXO.",  // 8
      "..O.OXX..O.OXX...O.",  // 7
      "....X.....XOOOOXXO.",  // 6
      ".....XOO.OXXXXXOO..",  // 5
      "..O..XXO.OO.XOOO.O.",  // 4
      ".OX.X....X.OXXXXOO.",  // 3
      "..X....O...OOX..XXX",  // 2
      "...................",  // 1
  });
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
  EXPECT_EQ(&group_at("Q5"), &group_at("S8"));
  EXPECT_EQ(group_at("Q5").status, STATUS_ALIVE);
}

TEST_F(Analysis, two_space_jump_across_an_empty_block_is_recorded_without_enemy_on_the_ring) {
  auto has_pair = [](int z1, int z2) {
    for (int i = 0; i < ban_analysis.two_space_num; i++) {
      int p = ban_analysis.two_space[i][0], q = ban_analysis.two_space[i][1];
      if ((p == z1 && q == z2) || (p == z2 && q == z1)) return true;
    }
    return false;
  };
  engine_setup(19);
  put_stone(gban, make_z(5, 4), BLACK);
  put_stone(gban, make_z(5, 7), BLACK);
  analyze(gban, ban_analysis);
  EXPECT_TRUE(has_pair(make_z(5, 4), make_z(5, 7)));
  EXPECT_TRUE(linked(ban_analysis, make_z(5, 4), make_z(5, 7)));
  put_stone(gban, make_z(7, 5), WHITE);  // on the ring of every block between them
  put_stone(gban, make_z(4, 6), WHITE);
  analyze(gban, ban_analysis);
  EXPECT_FALSE(has_pair(make_z(5, 4), make_z(5, 7)));
}

TEST_F(Analysis, eye_totals_of_three_are_dead_and_four_alive) {
  static GlobalAnalysis a;
  a.group_num = 1;
  a.group[1] = Group{};
  a.group[1].in_ji_num = 1;
  a.group[1].ji_first = 0;
  a.group_areas[0] = 1;
  a.group_areas[1] = 2;
  a.area[1].eye = AREA_EYE_IF_FIRST;
  a.area[2].eye = AREA_ONE_EYE;
  group_eye_totals(a);
  EXPECT_EQ(a.group[1].eyes, 3);
  EXPECT_EQ(a.group[1].status, STATUS_DEAD);
  a.group[1].in_ji_num = 2;
  group_eye_totals(a);
  EXPECT_EQ(a.group[1].eyes, 5);
  EXPECT_EQ(a.group[1].status, STATUS_ALIVE);
}

TEST_F(Analysis, a_board_of_single_stones_holds_more_groups_than_the_old_table) {
  // A checkerboard of single stones, black on even columns and white on odd
  // ones: every empty point sees both colours, nothing links, 181 groups.
  engine_setup(19);
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) {
      if ((x + y) % 2 == 0) put_stone(gban, make_z(x, y), x % 2 ? WHITE : BLACK);
    }
  }
  analyze(gban, ban_analysis);
  EXPECT_GT(ban_analysis.group_num, 127);
  EXPECT_LE(ban_analysis.group_num, ban_analysis.str_num);
}

// Plays n random legal moves, avoiding eye-filling, from an empty board.
void random_position(int size, int n, unsigned seed) {
  engine_setup(size);
  std::mt19937 rng(seed);
  int color = BLACK;
  for (int i = 0; i < n; i++) {
    for (int tries = 0; tries < 50; tries++) {
      int z = make_z(1 + int(rng() % size), 1 + int(rng() % size));
      if (gban.ban[z] != EMPTY) continue;
      if (put_stone(gban, z, color) == PUT_OK) break;
    }
    color = opponent(color);
  }
  compact_strings(gban);
  gban.fukasa = 0;
}

TEST_F(Analysis, both_boards_judge_every_point_alike) {
  static SearchBoard sb;
  static SearchAnalysis sa;
  int positions = 0, differing = 0;
  for (unsigned seed = 1; seed <= 12; seed++) {
    int size = seed % 3 == 0 ? 19 : seed % 3 == 1 ? 9 : 13;
    random_position(size, size * size / 2, seed);
    analyze(gban, ban_analysis);
    load_search_board(sb, gban, BLACK);
    analyze(sb, sa);
    positions++;
    for (int y = 1; y <= size; y++) {
      for (int x = 1; x <= size; x++) {
        int z = make_z(x, y), zc = zc_from_z(z);
        EXPECT_EQ(ban_analysis.final_status[z], sa.final_status[zc]) << "seed " << seed << " at " << x << "," << y;
        differing += ban_analysis.final_status[z] != sa.final_status[zc];
      }
    }
  }
  EXPECT_EQ(differing, 0) << positions << " positions";
}

TEST_F(Analysis, a_full_analysis_does_not_change_the_board) {
  random_position(19, 200, 7);
  Hash96 before = gban.hash;
  int fukasa = gban.fukasa, ren_num = gban.ren_num;
  int8_t stones[21 * 256];
  for (int z = 0; z < 21 * 256; z++) stones[z] = int8_t(gban.ban[z]);
  analyze(gban, ban_analysis);
  EXPECT_EQ(gban.hash, before);
  EXPECT_EQ(gban.fukasa, fukasa);
  EXPECT_EQ(gban.ren_num, ren_num);
  for (int z = 0; z < 21 * 256; z++) ASSERT_EQ(stones[z], gban.ban[z]);
  // And a second analysis finds the same.
  static GlobalAnalysis again;
  analyze(gban, again);
  for (int z = 0; z < 21 * 256; z++) ASSERT_EQ(again.final_status[z], ban_analysis.final_status[z]);
  EXPECT_EQ(again.evaluation, ban_analysis.evaluation);
}

}  // namespace
