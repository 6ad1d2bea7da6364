#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "knowledge/analysis.h"
#include "knowledge/life_death.h"
#include "position_setup.h"

namespace {

class LifeDeath : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { load_eyes(); }
  void SetUp() override { log_clear(); }
};

// 19x19: White's wall down column H with an eye at each end, Black's down
// column N. White's side is too large to count as claimed, so stones left on
// it stay unsettled for the search. `stones` lists "X F11 G11 O J9 ..." and
// "." empties a point.
void set_walls(const char* stones) {
  std::vector<std::string> rows(19, ".......O....X......");
  rows[0] = rows[18] = ".....O.O....X......";
  rows[1] = rows[17] = ".....OOO....X......";
  std::istringstream words(stones);
  std::string w;
  char c = '.';
  while (words >> w) {
    if (w.size() == 1) c = w[0];
    else rows[19 - std::stoi(w.substr(1))][w[0] - 'A' - (w[0] > 'I')] = c;
  }
  set_rows(rows);
}

TEST(Chances, combine_and_semeai_table) {
  EXPECT_EQ(combine(0, 50), 50);
  EXPECT_EQ(combine(60, 50), 80);
  EXPECT_EQ(combine(50, 50), 75);
  EXPECT_EQ(combine(100, 0), 100);
  EXPECT_EQ(semeai_percent(0), 50) << "equal liberties: half the base";
  EXPECT_EQ(semeai_percent(1), 70);
  EXPECT_EQ(semeai_percent(-1), 30);
  EXPECT_EQ(semeai_percent(-9), 0);
  EXPECT_EQ(semeai_percent(12), 100);
}

TEST_F(LifeDeath, group_with_two_eyes_lives_and_its_eyes_are_territory) {
  set_position({
      ".........",
      ".........",
      ".........",
      ".........",
      "OOOOOO...",
      "XXXXXOO..",
      "X.X.XXO..",
      "XXXXXXO..",
      ".....XO..",
  });
  judge();
  EXPECT_EQ(group_at("A4").status, STATUS_ALIVE);
  EXPECT_EQ(final_at("A4"), FINAL_ALIVE);
  EXPECT_EQ(final_at("B3"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("D3"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("A1"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("F5"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_real_eye_and_a_false_eye_make_a_dead_group) {
  // C2 has white stones on two diagonals (D3, D1) that live outside.
  set_position({
      ".........",
      ".........",
      ".........",
      ".........",
      "OOOOO....",
      "OOOOO....",
      "XXXOO....",
      ".X.XO....",
      "XXXOO....",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(a.false_eye[at("C2")], BLACK);
  EXPECT_EQ(a.false_eye[at("A2")], 0);
  EXPECT_EQ(final_at("A3"), FINAL_DEAD);
  EXPECT_EQ(final_at("D2"), FINAL_DEAD);
  EXPECT_EQ(final_at("A2"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("E5"), FINAL_ALIVE);
}

TEST_F(LifeDeath, dead_stones_inside_territory_link_the_strings_around_them) {
  set_position({
      "..X.O....",
      "..X.O....",
      "XXX.OO...",
      "...XXOOOO",
      ".O.X.XXXX",
      "..XX.X...",
      "XXX..X...",
      "..X..X...",
      "..X..X...",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("B5"), FINAL_DEAD);
  EXPECT_EQ(final_at("A5"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("E9"), FINAL_ALIVE);
  // The strings that touch the dead stone belong to one group.
  EXPECT_EQ(a.str[a.rn[at("A3")]].group, a.str[a.rn[at("C4")]].group);
  EXPECT_EQ(a.str[a.rn[at("A3")]].group, a.str[a.rn[at("C7")]].group);
}

TEST_F(LifeDeath, classic_score_counts_dead_stones_as_prisoner_and_point) {
  set_dead_stone_position();
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("B6"), FINAL_DEAD);
  // Black: 13 points and the dead stone twice; white: 21 points.
  EXPECT_EQ(classic_score(gban, a, false), 15 - 21);
  // Area: 7 + 13 + 1 against 7 + 21.
  EXPECT_EQ(classic_score(gban, a, true), 21 - 28);
  gban.captured[BLACK] = 3;
  gban.captured[WHITE] = 1;
  EXPECT_EQ(classic_score(gban, a, false), 15 - 21 + 2) << "prisoners count without Chinese rules only";
  EXPECT_EQ(classic_score(gban, a, true), 21 - 28);
}

TEST_F(LifeDeath, seki_between_two_groups_sharing_liberties_keeps_both_alive) {
  // Six white and four black stones inside each other's walls share their
  // only two liberties, E9 and E7: whoever fills one is captured.
  set_position({
      "XXXO.XOO.",
      "X.XOOXO.O",
      "XXXO.XOOO",
      "X.XOOXO.O",
      "XXXXXOOOO",
      ".........",
      ".........",
      ".........",
      ".........",
  });
  judge();
  EXPECT_EQ(final_at("D9"), FINAL_ALIVE);
  EXPECT_EQ(final_at("F9"), FINAL_ALIVE);
  EXPECT_EQ(group_at("D9").status, STATUS_UNSETTLED);
  EXPECT_EQ(group_at("F9").status, STATUS_UNSETTLED);
  EXPECT_EQ(final_at("E9"), FINAL_DAME);
  EXPECT_EQ(final_at("E7"), FINAL_DAME);
  EXPECT_EQ(final_at("B8"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("H8"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, semeai_won_by_one_liberty) {
  // Black's four inner stones have three liberties (two shared), White's
  // four have the two shared ones only.
  set_position({
      "XXOO.XX.O",
      "XXOO.XXOO",
      "XXXXXOOOO",
      "X.X.XO.O.",
      "XXXXXOOOO",
      ".........",
      ".........",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("C9"), FINAL_DEAD);
  EXPECT_EQ(final_at("F9"), FINAL_ALIVE);
  const Group& black = group_at("F9");
  EXPECT_NE(black.status, STATUS_DEAD) << "no eyes: alive by the race";
  EXPECT_GT(black.safety, 0);
  EXPECT_EQ(a.str[a.rn[at("C9")]].status, STATUS_DEAD);
  EXPECT_EQ(final_at("A9"), FINAL_ALIVE);
  EXPECT_EQ(final_at("J9"), FINAL_ALIVE);
}

TEST_F(LifeDeath, open_boundary_gives_points_behind_the_walls_and_leaves_the_gap_dame) {
  // The walls stop short of the lower edge: one empty region touches both
  // colours, yet the points beside each wall are reached by the other colour
  // only around its end.
  set_position({
      "...XO....",
      "...XO....",
      "...XO....",
      "...XO....",
      "...XO....",
      "...XO....",
      "...X.O...",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("D9"), FINAL_ALIVE);
  EXPECT_EQ(final_at("F3"), FINAL_ALIVE);
  EXPECT_EQ(final_at("C5"), FINAL_BLACK_TERRITORY) << "two steps from white only through the wall";
  EXPECT_EQ(final_at("F5"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("A1"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("J1"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("E3"), FINAL_DAME) << "between the walls' ends";
  EXPECT_EQ(final_at("E2"), FINAL_DAME) << "as near to both";
  EXPECT_EQ(final_at("D2"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("F2"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("E1"), FINAL_DAME);
  // Black: three columns, D2 and D1; white: four columns to the fourth row,
  // G3 to J3, and F2 to J2, F1 to J1.
  EXPECT_EQ(classic_score(gban, a, false), (27 + 2) - (24 + 3 + 4 + 4));
}

TEST_F(LifeDeath, unsettled_groups_that_lose_every_race_are_dead_when_the_game_is_over) {
  // Each black group on White's side touches only living white stones and
  // reaches no black friend: the search still sees it unsettled, the final
  // status gives it up and the side becomes White's.
  struct Case {
    const char* name;
    const char* stones;
    const char* revived = nullptr;  // a white stone dead only while Black lived
  };
  const Case cases[] = {
      {"no eye, the wall has more liberties", "X F11 G11"},
      {"one eye is not enough", "X E10 F10 G10 E11 G11 E12 F12 G12"},
      // H11 has three liberties, fewer than Black's five, but the wall
      // around it holds it.
      {"the short string it touches is part of the living wall", "X F11 G11 . H10 H12 O J9 J10 K10 K11 K12 J12 J13"},
      // Two such groups share the liberty G10: neither is a way out for the other.
      {"a friend given up itself", "X G12 G11 G9 G8"},
      // Taking F11 only makes the one eye Black already counts.
      {"one eye holding a stone in atari", "X E10 F10 G10 E11 G11 E12 G12 E13 F13 G13 O F11", "F11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    set_walls(c.stones);
    judge();
    EXPECT_EQ(group_at("G11").status, STATUS_UNSETTLED);
    EXPECT_EQ(group_at("H15").status, STATUS_ALIVE);
    EXPECT_EQ(final_at("G11"), FINAL_DEAD);
    EXPECT_EQ(final_at("H11"), FINAL_ALIVE);
    EXPECT_EQ(final_at("D11"), FINAL_WHITE_TERRITORY);
    EXPECT_EQ(final_at("A10"), FINAL_WHITE_TERRITORY);
    if (c.revived) {
      EXPECT_EQ(final_at(c.revived), FINAL_ALIVE);
    }
  }
  // Black: column M and six behind its wall; White: 125 empty points, the
  // two dead stones twice and column J (K and L are as near to both).
  set_walls("X F11 G11");
  EXPECT_EQ(classic_score(gban, judge(), false), 7 * 19 - (125 + 4 + 19));
}

TEST_F(LifeDeath, a_dead_looking_group_joined_across_a_point_the_opponent_cannot_fill_lives) {
  // The final position of a professional game. White E11 F11 E10 reach the
  // living white stones across D10, where a black stone would be in atari at
  // once: White need not connect, and the stones count as alive.
  set_position({
      ".OXX...XXOO....O...",
      ".OOXX...OXOO.XXOO.O",
      "..OOX....XXOOOXXO..",
      "..OX.X...XOO.O.XO.O",
      "..OX...X.XX.OO.XOOX",
      ".OXX.XXOXXXXO.XXOXX",
      "O.O.X.OOO.OXOOOXXX.",
      ".OXXXX.XOOOXOXXX...",
      ".OX.OO.XOXOOXOXOX..",
      "O.O.OXX.XXXO.OOOX.X",
      "XO.OXO...XXO.OOXXXO",
      "XXOOX.XXXOOXO.OOXOO",
      ".XXXX.XO.OXXOOXX.XO",
      "OOOXOXX.OOX.XX...XO",
      "O.OOOOOOOXX.XO.OXOO",
      "XOXO.O..XOXXXX.XXOO",
      "X.XOOXO..OOOOXXXOO.",
      ".XXXOXO.O..O.XOO.O.",
      "X.XXXXO....O.XXOO..",
  });
  judge();
  EXPECT_EQ(final_at("E11"), FINAL_ALIVE);
  EXPECT_EQ(final_at("E10"), FINAL_ALIVE);
  EXPECT_EQ(final_at("D10"), FINAL_DAME);
  EXPECT_EQ(final_at("F9"), FINAL_DEAD) << "the lone white stone inside Black's wall stays dead";
}

TEST_F(LifeDeath, a_point_its_owner_must_fill_is_no_territory_under_territory_counting) {
  // White F5 keeps two liberties: the dame F4 and F6 inside white's area.
  // Black fills F4 with atari and white connects at F6.
  set_position({
      "...XO....",
      "...XO....",
      "...XO....",
      "...XO.OOO",
      "...XXOXXX",
      "....X.X..",
      ".....X...",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("F4"), FINAL_DAME);
  EXPECT_EQ(final_at("F6"), FINAL_DAME);
  EXPECT_EQ(final_at("G7"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("A1"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(classic_score(gban, a, false), 47 - 12);
  // Area counting: the stone white adds at F6 is a point as the empty point was.
  fChineseRule = 1;
  const GlobalAnalysis& area = judge();
  fChineseRule = 0;
  EXPECT_EQ(final_at("F6"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(classic_score(gban, area, true), (47 + 12) - (13 + 8));
}

TEST_F(LifeDeath, a_string_left_in_atari_costs_its_owner_the_connecting_point) {
  // White F5 is in atari at the end; White must connect at F6 in his area.
  set_position({
      "...XO....",
      "...XO....",
      "...XO....",
      "...XO.OOO",
      "...XXOXXX",
      "....XXX..",
      ".....X...",
      ".........",
      ".........",
  });
  judge();
  EXPECT_EQ(final_at("F5"), FINAL_ALIVE);
  EXPECT_EQ(final_at("F6"), FINAL_DAME);
  EXPECT_EQ(final_at("G7"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, no_connection_is_needed_where_taking_would_be_a_snapback) {
  // Black C5 would take B5 but leave B6-C6-C5 in atari at B5.
  set_position({
      ".........",
      ".........",
      "OOOOOOOOO",
      "OXXOOOOOO",
      "XO.O.....",
      "XXOO.....",
      "XXXOO....",
      "...XO....",
      "...XO....",
  });
  judge();
  EXPECT_EQ(final_at("B6"), FINAL_DEAD);
  EXPECT_EQ(final_at("B5"), FINAL_ALIVE);
  EXPECT_EQ(final_at("C5"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, no_connection_is_needed_where_taking_would_start_a_ko_among_dead_stones) {
  // A professional game's last position, top left: White B15 would take
  // Black B16 as a ko, his stone alone among Black's and next to his own
  // dead stones only. Black does not connect at B15; A17, where he could
  // take those stones, stays his point too.
  set_position({
      "...XXXO......OOX...",
      "OXXXOO.O.....OXXX..",
      ".OOOXOO...OO.OXOXX.",
      "OXOXXXXOOOXXO.OOX.X",
      "X.X.XX.XXXXO..O.OXX",
      "XXXXOOX.XOXO.....OO",
      "XOOOOO.XXO.OO.O.O..",
      "XO.O.O...OOOXOOO.OO",
      ".XOOOXXXXOXOXOXOXXO",
      ".XXXXOOOOXXXX.X.X.X",
      ".XOOOO..X..X..XX.XX",
      "XXXOOXXX.XXOOXXX.XO",
      "XOOO.OX.XO.O.XOXXOO",
      "O..X.OOXXOO.OXOOOO.",
      ".OX..OXX.XOOOO..OX.",
      ".XOXXOOXXXXOXOOOX.X",
      ".OOOOOXX.OOOXXXXXX.",
      "...OXXX.XXXOX.X....",
      "..OXX....XOOOX.X...",
  });
  judge();
  EXPECT_EQ(final_at("B15"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("A17"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("B16"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_string_short_of_liberties_costs_its_owner_a_point_inside) {
  // Black fills J9 and White connects at J7. Black H9-H8 keeps G9 and G8 in
  // his area, but White at G8 would leave connecting at G9 in atari: Black
  // adds a stone at G8 first. White at G9 needs no such answer, nor does the
  // wall, whose liberties are many.
  set_position({
      ".......X.",
      ".......XO",
      "XXXXXXXO.",
      "OOOOOOOOO",
      ".........",
      ".........",
      ".........",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("J9"), FINAL_DAME);
  EXPECT_EQ(final_at("J7"), FINAL_DAME);
  EXPECT_EQ(final_at("G8"), FINAL_DAME);
  EXPECT_EQ(final_at("G9"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(classic_score(gban, a, false), 13 - 45);
}

TEST_F(LifeDeath, a_connection_that_puts_the_filler_in_atari_costs_him_his_point) {
  // A professional game's last position: Black fills M13 with atari, White
  // connects at L12, which leaves Black J14-J13-J12-K12-K11 in atari at J15
  // in his own area.
  set_position({
      "....OOX..........X.",
      "....OXX........XX.X",
      ".....OXX..X....XOX.",
      "...OOOOXX......XOXO",
      ".OO.XXOX.X...X.XOO.",
      ".OXXOX.OXOXXXOXXO..",
      "O.OXOX.OXOO.OOOXXO.",
      "OOOX.X.OXX.O.OXXO.O",
      "XXXXXXO.OXO..OXO.O.",
      "..XOOXO..O....O..O.",
      ".XOOOOOOOOO..X.OO.O",
      "XXXX.OXOXOXO...OXOO",
      "OOOXX.XXXOX.OXO.XXO",
      "OXOOXX...X..O.OOXXX",
      "XXOOOOX.XXXXOOXXX..",
      "X.XOO.OX.O.OXOOOX..",
      "..XOO.O.XOO..OOXX.X",
      "X.XO.OXX.XXO.O.OOX.",
      "..XXOOX...XXO.O.X.X",
  });
  judge();
  EXPECT_EQ(final_at("M13"), FINAL_DAME);
  EXPECT_EQ(final_at("L12"), FINAL_DAME);
  EXPECT_EQ(final_at("J15"), FINAL_DAME);
  EXPECT_EQ(final_at("K15"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_string_whose_other_liberties_are_all_dame_ends_in_atari) {
  // A professional game's last position, right side: White S8-S7-T7-T6 keeps
  // T5 in his area and the dame R8 and T8, where a white stone would gain
  // nothing. Black fills R8, then T8 with atari, and White connects at T5.
  set_position({
      "...OOX.........XXOO",
      "..OOXX......XOX.XXO",
      "..OXX.......XOXXOOO",
      "..OOX.XXX...XXOO.O.",
      "..OX.XOOOXXXOO..O..",
      ".OXX.XXOOO..O......",
      "..OOXXOOXOXXXO.....",
      "..O.OXXOXOOX.OOOOO.",
      "OOOOOOXXX.OXXO.XO.O",
      "XOXXXXX.X.OX.XX.XOO",
      "XXO..XOXXOOO.XOXXXX",
      ".X.O.XOOO..OOOOX.O.",
      ".OXOX.X.OOOX..OXXOO",
      "XXX..XXXXOOXXXO.XXO",
      ".OXXXOOXOXOOXOOXXO.",
      "OOOOOOXXOXXOX..XO.O",
      ".OXXOOXO..XXXOOOO.O",
      "OOXXXXO.X...XO...O.",
      ".OOX..X....XOO.....",
  });
  judge();
  EXPECT_EQ(final_at("R8"), FINAL_DAME);
  EXPECT_EQ(final_at("T8"), FINAL_DAME);
  EXPECT_EQ(final_at("T5"), FINAL_DAME);
  EXPECT_EQ(final_at("S4"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, a_fill_that_needs_another_dame_filled_first_still_ataris) {
  // A professional game's last position, bottom: White N1 would have one
  // liberty until White fills the dame M2; then it puts Black O1 in atari,
  // and Black connects at P1 inside his area.
  set_position({
      ".O.........OXX.....",
      "XXO.O...O...OXX....",
      ".OXO..OOXOOOOOX....",
      ".XXO..OXXXXX..X.X.X",
      ".XOO.OX..XOXOOX..XO",
      "XXXOOXX.XOOOOXX.XOO",
      ".XXXOOX.XOO.OOXXOOO",
      "..XOOXX.XO..XO.XXO.",
      "..XXXO.XOO.OOX.OOO.",
      "..XOXOXXXO.OXX..O..",
      "..XOOX.XOO..OX.OXO.",
      ".XXXOXXXXXO.O.XXXO.",
      "XXO.O.OOOXXO.X.XOO.",
      "XOOO.O..OOO.O.XXXO.",
      "O..XOXOOXO.OOXXOO..",
      "..OOOXXXXXOOX.XXO..",
      ".O.OX.X..XO.XXX.XO.",
      "..OXXX...XO.OOX.XO.",
      "..OOX....XXO.X.XOO.",
  });
  const std::vector<int> stones(std::begin(gban.ban), std::end(gban.ban));
  const Hash96 hash = gban.hash;
  judge();
  EXPECT_EQ(final_at("N1"), FINAL_DAME);
  EXPECT_EQ(final_at("P1"), FINAL_DAME);
  EXPECT_EQ(final_at("O1"), FINAL_ALIVE);
  EXPECT_EQ(final_at("T1"), FINAL_WHITE_TERRITORY);
  EXPECT_TRUE(std::equal(std::begin(gban.ban), std::end(gban.ban), stones.begin())) << "the filling is taken back";
  EXPECT_EQ(gban.hash, hash);
}

TEST_F(LifeDeath, a_string_one_fill_from_atari_is_saved_on_the_dame_first) {
  // A professional game's last position, centre: once Black fills N14,
  // White K14-K13-L13-K12 keeps M13 in his area and the dame L12, where
  // Black would put it in atari. White fills L12 before any other dame
  // that only adds liberties, and M13 stays his.
  set_position({
      "......OXX...XXO....",
      "......OOX..XXOOXO..",
      "OO.O...OX..XOOXOOO.",
      "OXOOOOO..XX.OXXXXO.",
      "XXOXOX.OOXOXX..XOO.",
      ".XXXXXXXXOOO.X..XOO",
      ".X.XXOOXXOO.OOXX.XO",
      "..X.XOX.XO.O..O.X.X",
      "XXOXXOX.XOXO.OOX...",
      "OXOXOOXX.XXOOXXX...",
      "OOOOOX...XXOX......",
      "....OXX...OXXX.....",
      "...OOOOXO.OXOOX....",
      "...OOXXXXXXX.OX....",
      ".OO.O.X.OXOXXOOX...",
      ".X.O.X.O.OOOO..X...",
      "..X.OXXXOO...OXX...",
      "....OOOO.....OOXX..",
      "..............OOX..",
  });
  judge();
  EXPECT_EQ(final_at("L12"), FINAL_DAME);
  EXPECT_EQ(final_at("M13"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, a_string_that_can_take_stones_in_atari_is_not_short_of_liberties) {
  // A professional game's last position, left side: White B14 keeps A14 and
  // B13 only, but Black in either is answered by taking A15-B15-C15 at A14.
  set_position({
      ".......OXX.......X.",
      ".......OOX.X.XXOX.X",
      "..O.....OOX.XXOXXXO",
      "OOO......OOXX.OOX.O",
      "XXXO...OOO.OXO.OXOO",
      ".OXXO.XOXOO.OOO.XXO",
      "..OXOOOXXOXOOXXXXXO",
      "OOOOXXXXXXXXOOOXOOO",
      "X.OXX.OXXOXO..OXOXX",
      "XOOOXOOXOOOO..OOOX.",
      ".XOXXOOO.O.OOOXXOX.",
      ".XXXXXXOO.OXOX.X.X.",
      "..X...X..OXXXXXXX..",
      "...XXX.XXOOX.X.X.XX",
      "...XOOOOXOOOXOOXXOX",
      "..X.XXO.OO.OXXXOOOO",
      ".....X.OXXOOOOXXO.X",
      "..X.OXXOXXXXXOXOOOO",
      ".....XOOOX.OXXXXO..",
  });
  judge();
  EXPECT_EQ(final_at("A15"), FINAL_DEAD);
  EXPECT_EQ(final_at("A14"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("A13"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, a_string_short_of_liberties_before_the_last_passes_keeps_its_points) {
  // As above with J9 and J7 played: White could have taken G8 before
  // passing, so the count takes the board as it is.
  set_position({
      ".......XX",
      ".......XO",
      "XXXXXXXOO",
      "OOOOOOOOO",
      ".........",
      ".........",
      ".........",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("G8"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(classic_score(gban, a, false), 14 - 45);
}

TEST_F(LifeDeath, an_atari_is_answered_where_it_also_saves_the_next_string) {
  // A professional game's last position, bottom: Black's fill L4 puts White
  // M4 in atari, and his next fill J4 would do the same to K4-K3-L3. Taking
  // the dead N4 at N3 saves only M4; the connection at M3 saves both, so
  // White pays one point there and N3 stays his.
  set_position({
      "....OOX..........X.",
      "....OXX........XX.X",
      ".....OXX..X....XOX.",
      "...OOOOXX......XOXO",
      ".OO.XXOX.X...X.XOO.",
      ".OXXOX.OXOXXXOXXO..",
      "O.OXOX.OXOO.OOOXXO.",
      "OOOX.X.OXX.O.OXXO.O",
      "XXXXXXO.OXO..OXO.O.",
      "..XOOXO..O....O..O.",
      ".XOOOOOOOOO..X.OO.O",
      "XXXX.OXOXOXO...OXOO",
      "OOOXX.XXXOX.OXO.XXO",
      "OXOOXX...X..O.OOXXX",
      "XXOOOOX.XXXXOOXXX..",
      "X.XOO.OX.O.OXOOOX..",
      "..XOO.O.XOO..OOXX.X",
      "X.XO.OXX.XXO.O.OOX.",
      "..XXOOX...XXO.O.X.X",
  });
  judge();
  EXPECT_EQ(final_at("M3"), FINAL_DAME);
  EXPECT_EQ(final_at("N3"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("N4"), FINAL_DEAD);
}

TEST_F(LifeDeath, a_group_whose_outside_liberties_are_filled_adds_a_stone_at_its_vital_point) {
  // A professional game's last position, centre: once the dame H9 and N10
  // are filled, White's long string has only its eye space J8-K8-K9-L9 left,
  // and Black at K9 then kills it (White L9, Black K8). White adds the stone
  // at K9 himself and loses that point; J8 and L9 stay his.
  set_position({
      "....OXX............",
      "....OOX............",
      "...OOXX.......XX...",
      "....OOX..X..XXOXX.X",
      ".O..O.OX....XOOOXXO",
      "..XXOOOX....XO.OOOO",
      "...OXXX......XO....",
      ".OOO..OX...X.XXO..O",
      ".OXXXXOXXXXOXXO.OOX",
      "OOOX.XOXXOOO.XO.O.X",
      "XOX.XXO.O..OX.X.XXX",
      "XXXXOOOO..OXXOXXXOO",
      "X.XXXXOOOOOXOXXOO.O",
      "XOXOOOOOXXXOO.XXOO.",
      "XOXXOXXXX.XXOXXOO..",
      "XOXOXX.XOX..O.OXXOO",
      "OOOOOXXOO.XO.OOX.XO",
      "XO...OOOXXXOXOXX.XX",
      ".O......OOOO.OOX...",
  });
  judge();
  EXPECT_EQ(final_at("K9"), FINAL_DAME);
  EXPECT_EQ(final_at("J8"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("L9"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, a_dame_whose_fill_forces_a_stone_inside_is_filled_before_plain_dame) {
  // A professional game's last position, bottom left: Black E1-F1-F2-G2-H2
  // has the liberties D1 (his area), G1 and H1. After White H1 Black cannot
  // fill G1 (it would leave him D1 alone), and once White fills G1 Black
  // adds D1. White takes H1 among the first fills, as the players did.
  set_position({
      "XXXXX..XXO...OXX...",
      "XOOXX..XOO...OOXX..",
      "OO.OXX.XXO..O.XOX..",
      "...OXO..XO...OOOX..",
      ".OOOOXXXOO...OXX...",
      "OOXXOOOOXXO.OXX....",
      "XXXOO..OX.O.OX.X...",
      "...XXXXX.XXOOOXXX..",
      "..X..XXX.XO..OXO.X.",
      "..XXXOXOOO....OOOX.",
      ".XOOOOO.......OXXX.",
      ".XXO..OO.O....XOOX.",
      ".XO.OOX.O.O..O..OXX",
      ".XO...X.O.OOXO.O.OO",
      "..XXXXXXOOXXOXOOO.O",
      ".XOOO.OXXXXOOXOXOOX",
      ".XXOOOOOOOOOXXXXXXX",
      ".X.XOXXXO.OXX......",
      "..X.XX..OOXX.......",
  });
  judge();
  EXPECT_EQ(final_at("D1"), FINAL_DAME);
  EXPECT_EQ(final_at("C2"), FINAL_BLACK_TERRITORY);
}

TEST_F(LifeDeath, dead_stones_their_owner_could_join_to_a_living_string_are_taken) {
  // A professional game's last position, top right: White T19 and S18,
  // given up, would join White T17 through T18, where Black cannot play
  // (no liberty). Black takes them with S19 and T18, two stones inside.
  set_position({
      ".......OOOX.....X.O",
      ".....O.OXOXX....XO.",
      "...OO.OXXXX.XXX.XXO",
      ".OXOOOX.X.OXOXOXXOO",
      "OOOXOXX.X.O.OOOOXXO",
      ".OXXXOOXX..O..OXXOO",
      ".XO.O..OXXXO..OOXXO",
      "XXO.OX.OX.O..OXXXO.",
      "XOOX..OOXXO...O.O..",
      ".X.OOOXOOO.O.OOOOOX",
      "XOOOXXXXOXXOOOXXXX.",
      ".XOX..XOO.OXXXXX...",
      "X.XX..XXO.OOXOXX.X.",
      ".X....XO.O.XOOXOXXX",
      "......XO...XO.OOOXO",
      "..X..XO.OOOOOO..OOO",
      "....XXOOOXXXOXOOXXX",
      "......XXXX.OXXXX...",
      "...................",
  });
  judge();
  EXPECT_EQ(final_at("T19"), FINAL_DEAD);
  EXPECT_EQ(final_at("S18"), FINAL_DEAD);
  EXPECT_EQ(final_at("S19"), FINAL_DAME);
  EXPECT_EQ(final_at("T18"), FINAL_DAME);
}

TEST_F(LifeDeath, a_threat_a_dame_fill_removes_costs_no_stone_inside) {
  // Professional games' last positions. Left: White at C8 would leave
  // Black B9-C9 only the dame B8. Black fills B8, joining B7, rather than
  // adding the stone at C8 inside his area.
  set_position({
      ".................O.",
      ".....O..O......OOXX",
      "..OOOXOO.OOO.OOOXO.",
      ".OXXXXXXOOXXOOOXXX.",
      ".OX..XOXXOX.XOXXO..",
      ".OOXXXOOOXXXXX.X...",
      ".OXX.XXO.OOOO.X....",
      "..OXXO.O.....OOX...",
      "...OOO.O.....OX....",
      ".OOO.OXXO.OOOX.X...",
      "OXXOXOOXOOXOXXXX...",
      "...XXX.XXOXOOX..XX.",
      "XX..O.X.XXXO.XOOX.X",
      "XOXXXX...XOOOO.OOX.",
      "OOOXO.XOXXOXXOOOXO.",
      "..OO...XXOOX.XXOX..",
      "....OOO.XOX.X.XX...",
      "......OX.OXX.......",
      ".....OXX.OOX.......",
  });
  judge();
  EXPECT_EQ(final_at("C8"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("B8"), FINAL_DAME);
  // Another, top: Black at L15 would attack White K16-L16, whose way out
  // through K15 joins the long string H14-K14 short of liberties. White
  // fills that string's dame H12 rather than adding L15.
  set_position({
      "......OOXXO.O......",
      "OOO..OOX.XOOOOOOOOO",
      ".XXOO.OX.XXXOXOXXOX",
      "X..XXOOXXOOXXXX.XXX",
      ".XX.XOOXO..OX..X...",
      "...X.XXOOO.OOX.....",
      "....XXOOXOOO.XXXXXX",
      "X.XXO...XO.OXXOOXOO",
      "XXOX.OOOXOXOXOOOXO.",
      "XOOXXXOXXX.XOX..O.O",
      "O.OXOOOOXX.XOO..OOX",
      "..OO.O.XXOOO.O...O.",
      "....OOOX.XOOO..O...",
      ".OOOOXOOX.XXOO.....",
      "OOXOXXXXXX.XOXOO...",
      "XOXXX......XX.XXO..",
      "XX.....X.....X.XO..",
      "..X...........X.XOO",
      ".................X.",
  });
  judge();
  EXPECT_EQ(final_at("L15"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("H12"), FINAL_DAME);
}

TEST_F(LifeDeath, an_intrusion_threat_the_owner_can_fill_away_costs_him_nothing) {
  // A professional game's last position, bottom: White at H3 leaves Black
  // H2-H1 one liberty, but that one is the dame J2, where Black connects at
  // no cost.
  set_position({
      "...XOOX...X........",
      "..XXXOXX.X.XXX.....",
      ".X.XOOOXXOXXOOXXO..",
      ".XXO.O.OOOOXOXOXXX.",
      ".XOO.......OO.OOX.X",
      ".XO..........O.OOXX",
      "..XO.......OOXO..OX",
      "..XO......OXXX.O..O",
      ".XXO.OO....OOXXXOO.",
      "XXOOO.OO..O.OXOXXO.",
      "OOO.XOXXO.OOX.OX.O.",
      "XXOOX.XO.OOXX.OX.O.",
      ".XOXXXXO.OXXO.OXXOO",
      ".XOXXOXOOXOXXXOX.XO",
      ".XOXOOXXOX..XOXX.XX",
      "..XO.OX.X.XXOOOX..X",
      "..XO.OX..XXO.OXXXXO",
      "..XXO.OX.XOOO.OXOOO",
      "...XOOOX.O.O...O...",
  });
  judge();
  EXPECT_EQ(final_at("H3"), FINAL_BLACK_TERRITORY);
}

TEST_F(LifeDeath, strings_in_atari_that_connecting_cannot_save_are_dead_at_the_end) {
  // A professional game's last position, top left: White's B7-C7-D7-C6 and
  // A6 are in atari at A7, where connecting leaves them in atari with A8.
  set_position({
      "...XXXO..",
      "OXXXOO.O.",
      ".OOOXOO..",
      "OXOXXXXOO",
      "X.X.XX.XX",
      "XXXXOOX.X",
      "XOOOOO.XX",
      "XO.O.O...",
      ".XOOOXXXX",
  });
  judge();
  for (const char* v : {"B7", "C7", "D7", "C6", "A6"}) EXPECT_EQ(final_at(v), FINAL_DEAD) << v;
  EXPECT_EQ(final_at("B6"), FINAL_ALIVE) << "the black stone they held in atari";
  // White A8 shares A7 with them: Black's B8 string, with two liberties of
  // its own, takes them first whoever moves, and A8 is left in atari.
  EXPECT_EQ(final_at("A8"), FINAL_DEAD);
  EXPECT_EQ(final_at("B8"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_dead_looking_string_joined_across_a_point_the_opponent_cannot_fill_lives) {
  // A professional game's last position: Black's D19-E19-D18 keeps C19 and
  // C18, and White at C18 would be in atari beside Black's living B18.
  set_position({
      ".X.XXO...OOX.......",
      ".X.XOO...OXX.......",
      "XXXOOX.X.OOXXXX..X.",
      "OXOO.OO.O..OOO.XXO.",
      "OOOOO.XOOO...O.XO..",
      "OXXOXXXXXOO..OXXX..",
      "OOXX.XXOO....OOOOXX",
      "OOX.XOO..OOOOOXXXXO",
      "XX..XO.OOXXXOX.XXOO",
      "....XXOOX..XXXXXO.O",
      "XXX.XOO.XXX.XOOOO..",
      "OXOX.O.XOXOXXO.....",
      "OXOXXO.XOOOOXXOX...",
      "OOOXOOOXXO..OXOOOO.",
      ".OXXXOXXO.O.OXXXXOO",
      "..O.XXXOOOOOX...XXO",
      ".O.OOX.XXXXOX..X.XX",
      "....OOX..XOOOX.....",
      "....OXX...X..X.....",
  });
  judge();
  for (const char* v : {"D19", "E19", "D18"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("C18"), FINAL_BLACK_TERRITORY);
}

TEST_F(LifeDeath, bent_four_in_the_corner_is_one_eye) {
  if (!eye_database_loaded()) GTEST_SKIP() << "eye database not beside the tests";
  // White has played three of the five points of black's corner space.
  set_position({
      "OO.X.....",
      "OXX......",
      ".X.......",
      "X........",
      ".........",
      ".........",
      ".........",
      ".........",
      ".........",
  });
  const GlobalAnalysis& a = judge();
  int k = a.area_no[at("C9")];
  ASSERT_NE(k, 0);
  EXPECT_EQ(a.area_no[at("A7")], k);
  EXPECT_EQ(a.area[k].num, 5);
  EXPECT_EQ(a.area[k].eye, AREA_ONE_EYE);
  EXPECT_EQ(a.area[k].vital1, 0);
}

TEST_F(LifeDeath, taking_a_stone_inside_its_own_eye_is_no_chance_of_life) {
  // Black's 23 stones are walled in by living White: one eye of three points
  // with White's F5 in its middle, their only liberties E5 and F6. Taking F5
  // gives only the eye already counted.
  set_position({".OXXXXXO.", "XOXXXXOO.", "XOOXXXXO.", "XOOXX.XO.", "OOOX.OXO.", ".OXXXXXO.", "OOOOOOO..",
                ".........", "........."});
  judge();
  EXPECT_EQ(group_at("C9").status, STATUS_DEAD);
  EXPECT_EQ(final_at("C9"), FINAL_DEAD);
  EXPECT_LT(ban_analysis.evaluation, -5000);
}

TEST_F(LifeDeath, stones_that_have_a_wall_string_in_atari_are_not_claimed_dead) {
  // White's B9-D9 and B8, D8 stand in a small region Black surrounds, but
  // Black's C8 and E8 are in atari among them: White is capturing, so the
  // region is no eye of Black's and his upper left group lacks two eyes.
  set_position({".OOO.X...", "XOXOXO...", "XX.XOO...", ".XXXOXOO.", "XXOOOXX..", "OO..OOX..", ".O.OOX.X.",
                ".XO.O.XX.", "........."});
  judge();
  EXPECT_NE(ban_analysis.kari[at("A9")], BLACK);
  EXPECT_NE(ban_analysis.str[ban_analysis.rn[at("B9")]].status, STATUS_DEAD);
  EXPECT_NE(group_at("A7").status, STATUS_ALIVE);
  EXPECT_LT(ban_analysis.evaluation, -2000);
}

TEST_F(LifeDeath, stones_whose_cutting_points_the_opponent_cannot_hold_are_connected) {
  // A professional game's final position. Black's B9 C9 and A6 A7 B7 have no
  // eyes, but White cannot cut them from Black's living D8 group: White C8 is
  // taken after Black B8 (C7 then D7), White C7 after Black C8 (D7 then F7).
  set_position({
      ".................O.",  // 19
      ".....O..O......OOXX",  // 18
      "..OOOXOO.OOO.OOOXO.",  // 17
      ".OXXXXXXOOXXOOOXXX.",  // 16
      ".OX..XOXXOX.XOXXO..",  // 15
      ".OOXXXOOOXXXXX.X...",  // 14
      ".OXX.XXO.OOOO.X....",  // 13
      "..OXXO.O.....OOX...",  // 12
      "...OOO.O.....OX....",  // 11
      ".OOO.OXXO.OOOX.X...",  // 10
      "OXXOXOOXOOXOXXXX...",  // 9
      "...XXX.XXOXOOX..XX.",  // 8
      "XX..O.X.XXXO.XOOX.X",  // 7
      "XOXXXX...XOOOO.OOX.",  // 6
      "OOOXO.XOXXOXXOOOXO.",  // 5
      "..OO...XXOOX.XXOX..",  // 4
      "....OOO.XOX.X.XX...",  // 3
      "......OX.OXX.......",  // 2
      ".....OXX.OOX.......",  // 1
  });
  judge();
  for (const char* v : {"B9", "C9", "A7", "B7", "A6"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("B6"), FINAL_ALIVE);
  EXPECT_EQ(final_at("E7"), FINAL_DEAD);
}

TEST_F(LifeDeath, a_group_joined_to_a_friend_along_two_paths_of_empty_points_lives) {
  // A professional game's final position. Black's upper side group (D16 to
  // L18) has only a false eye at J19, but it reaches Black's living N17 group
  // through L19 M19 N19 and through M18 N18, points no white stone touches:
  // White cannot fill both ways.
  set_position({
      "..O.O.XX.X....XOO..",  // 19
      ".O.OXXXOXXX..XXXO..",  // 18
      ".O.OXOXOOXO.XXXOO..",  // 17
      ".OOXXOO.OOOOOXOX.O.",  // 16
      "O.OX.OOO.OOXXXO....",  // 15
      ".OXXO.XOXOX..XO....",  // 14
      "OXX.OX.OOXX.XOO.O..",  // 13
      ".OOO.XOOX....XXO...",  // 12
      "..O.X...X.....XOO.O",  // 11
      "OOXXX.OOX.....XXO.X",  // 10
      "OXX.OOOX......XOOOO",  // 9
      "X.XXOXOX.......XXOX",  // 8
      ".X.XOXX.........XXX",  // 7
      "X.X.X..XX......XOOX",  // 6
      "OXXXXXXO.X.....XOOX",  // 5
      "OOOOXOXOOX..XO.XO.O",  // 4
      "....OOO..OX..XXOOO.",  // 3
      ".......OOOX...XXO..",  // 2
      ".......OXXX...XOO..",  // 1
  });
  judge();
  for (const char* v : {"G19", "K19", "L18", "D16", "B13"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("L19"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("H18"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_string_with_a_living_friend_beyond_each_liberty_is_connected) {
  // A professional game's final position. Black's N9 O9 has two liberties:
  // N8 next to Black's M8, O8 next to his O7. White filling one, even joined
  // to his N7, is answered at the other.
  set_position({
      "..........XOO..OXX.",  // 19
      "XXXXX.....XXO.OOOX.",  // 18
      ".OXOOXXX..XOOO.OXX.",  // 17
      "OOOO.OXOXXXXO.OXX.X",  // 16
      "OXXO..OO..XOOOOOOX.",  // 15
      "X.XOXO.OOOO....OXXX",  // 14
      "X.XXOOX.XO.O..OOOX.",  // 13
      ".XOOXOXXXXO.OXOXXX.",  // 12
      ".XO.XXX.OXOO.OXXXXX",  // 11
      "XXOX.OOX.XXOOOX.OOO",  // 10
      "XOOOOOXXXXOOXXOO...",  // 9
      "OO....OXX.XX...OXO.",  // 8
      ".....OOOXXXOOXXO.OO",  // 7
      "....OXO.OXO.OX.OOXO",  // 6
      "..X.OXXOOO.OOXOOXXX",  // 5
      ".XO.O..OXOOXOXXX...",  // 4
      ".OOOOXXXXXOXXO..X..",  // 3
      ".O.OXX..X.XOX......",  // 2
      "..OOOX...X.........",  // 1
  });
  judge();
  EXPECT_EQ(final_at("N9"), FINAL_ALIVE);
  EXPECT_EQ(final_at("O9"), FINAL_ALIVE);
  EXPECT_EQ(final_at("R8"), FINAL_DEAD);
}

TEST_F(LifeDeath, a_connection_that_would_leave_the_joined_string_in_atari_does_not_save_it) {
  // A professional game's final position. White's S18 has two liberties and
  // Black cannot play T18, but after Black S19 White cannot connect there
  // either: his T13-T17 string would be left with T12 alone. S18 stays dead.
  set_position({
      ".......OOOX.....X.O",  // 19
      ".....O.OXOXX....XO.",  // 18
      "...OO.OXXXX.XXX.XXO",  // 17
      ".OXOOOX.X.OXOXOXXOO",  // 16
      "OOOXOXX.X.O.OOOOXXO",  // 15
      ".OXXXOOXX..O..OXXOO",  // 14
      ".XO.O..OXXXO..OOXXO",  // 13
      "XXO.OX.OX.O..OXXXO.",  // 12
      "XOOX..OOXXO...O.O..",  // 11
      ".X.OOOXOOO.O.OOOOOX",  // 10
      "XOOOXXXXOXXOOOXXXX.",  // 9
      ".XOX..XOO.OXXXXX...",  // 8
      "X.XX..XXO.OOXOXX.X.",  // 7
      ".X....XO.O.XOOXOXXX",  // 6
      "......XO...XO.OOOXO",  // 5
      "..X..XO.OOOOOO..OOO",  // 4
      "....XXOOOXXXOXOOXXX",  // 3
      "......XXXX.OXXXX...",  // 2
      "...................",  // 1
  });
  judge();
  EXPECT_EQ(final_at("S18"), FINAL_DEAD);
  EXPECT_EQ(final_at("T17"), FINAL_ALIVE);
}

TEST_F(LifeDeath, stones_whose_only_chance_is_a_ko_the_opponent_ends_by_connecting_are_dead) {
  // A professional game's final position. Black's R9, S8 and R7 inside
  // White's lower right hold White's R8 in atari, but taking it at Q8 is a ko
  // and White simply connects there: the black stones are dead and the
  // corner is White's.
  set_position({
      ".X.......X.X.......",  // 19
      "X.XOXXXXXOXXOX.....",  // 18
      "OXXXOXOOOO.OXXXX...",  // 17
      "OOOOOOO.XO.OOOOOX..",  // 16
      "..OO..XOOX..OXX.X..",  // 15
      ".OXXO.XO..XXXO.X.X.",  // 14
      ".OXXXX..XX.XOO.X.XX",  // 13
      "..O.XOXXX...X.OX.XO",  // 12
      "..OXXOOX.XXXOO.OXXO",  // 11
      "...OXXOXXXOOOX.OOOO",  // 10
      "...OOXOOX.XXXO.OX..",  // 9
      ".....O.OOX..XOO.OX.",  // 8
      ".......OXXX.XOXOX..",  // 7
      "...O....OOOXXXXOOO.",  // 6
      "......OO.OXXOOOOXOO",  // 5
      ".OOOOOXXOO..OXO.XXO",  // 4
      "O.OXOXXXXOOXXXXX.XO",  // 3
      ".OXXX.XXO.OX....X.X",  // 2
      ".X...XXOO.OOX......",  // 1
  });
  judge();
  for (const char* v : {"R9", "S8", "R7"}) EXPECT_EQ(final_at(v), FINAL_DEAD) << v;
  EXPECT_EQ(final_at("R8"), FINAL_ALIVE);
  EXPECT_EQ(final_at("T8"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, stones_with_an_eye_inside_a_group_shut_in_with_them_live_in_seki) {
  // A professional game's final position. Black's lower left string has only
  // the liberties A3 and D1, shared with White's A2 and B1 C1, which have
  // the eye A1. Neither side can fill A3 or D1 without being taken: a seki,
  // whose empty points count for no one.
  set_position({
      "............OXXXO..",  // 19
      ".....O...OOX.OXOOO.",  // 18
      "OOOOOXOOOXOOOOXXO..",  // 17
      "OXOXXXXXOXXO.OXXOO.",  // 16
      "XXXXX..XXXOXXXX.XOO",  // 15
      "XOOXXXXOX.O.X...XXO",  // 14
      "OOOOO..OXXX.XO.XO.X",  // 13
      "XOOXOOOOXOX.X..X...",  // 12
      "XXXXXO.OOO.X.XOOXX.",  // 11
      ".O.X.XO.O.OXOXXOOO.",  // 10
      "...XXXXOX.XXOXOX.X.",  // 9
      "..X..OOOX.XXXOOXX..",  // 8
      "XXXO.O.OOOOOXOX.X.O",  // 7
      "OXX.OXOO.XXXXOXXXXX",  // 6
      "OOOOOXXXXXOXOOOOXXO",  // 5
      "XXOOXOXOXOOO.OOXXOO",  // 4
      ".XXOXOOOOO..OOXXOO.",  // 3
      "OXXXXOOXO.....OO...",  // 2
      ".OO.XXXXO..........",  // 1
  });
  judge();
  for (const char* v : {"A2", "B1", "C1", "B2", "H1"}) EXPECT_EQ(final_at(v), FINAL_SEKI) << v;
  for (const char* v : {"A1", "A3", "D1"}) EXPECT_EQ(final_at(v), FINAL_DAME) << v;
  EXPECT_EQ(final_at("C4"), FINAL_ALIVE);
  // Counted by area, stones in seki are points on the board (GNU Go counts
  // this board B+8 too).
  EXPECT_EQ(classic_score(gban, ban_analysis, true), 8);
}

TEST_F(LifeDeath, a_group_that_cannot_take_the_stones_in_its_eye_space_lives_in_seki_with_them) {
  // A professional game's final position. White's top group has one eye
  // space, K19 to O19, holding Black's L19, M18 and N19; its other
  // liberties K16 L16 M16 face Black's living wall. Once Black fills those,
  // White cannot take the stones inside without filling his own liberties:
  // a seki, and the space is no one's.
  set_position({
      ".....XOOO.X.X.OX.O.",  // 19
      ".XX..XXXOO.X.OOXXO.",  // 18
      "X.XOXXOOOOOOOOX.O.O",  // 17
      "XXOXXXOXO...XXXXXO.",  // 16
      "XOOOX.XXXXXX...OO..",  // 15
      ".XXOOXXOXOOOOXXXO..",  // 14
      "X.XXOOOOOOXXXXOO.O.",  // 13
      "OOOO.OXO.OOX.OX.O..",  // 12
      ".XO.OOXOOXXOOOXX...",  // 11
      "OOOOXXXXXXOOXXO..O.",  // 10
      "XXXOOX...XXOXOO....",  // 9
      "XOXXXX...XOO.......",  // 8
      "OOOOOX.XXOO.OOO....",  // 7
      ".O.OX.XOOOXOOXXOOOO",  // 6
      "..OXX..XXXXOXX.OXXO",  // 5
      "..OO.XXOOX.X.XOOXXX",  // 4
      "...OX.OXOOXOOXXXX.O",  // 3
      "..OOX.XXXO.O.OX....",  // 2
      "..OXX.......X......",  // 1
  });
  judge();
  for (const char* v : {"L19", "M18", "N19", "G19", "O18"}) EXPECT_EQ(final_at(v), FINAL_SEKI) << v;
  for (const char* v : {"K19", "M19", "O19", "L18", "N18"}) EXPECT_EQ(final_at(v), FINAL_DAME) << v;
  EXPECT_EQ(final_at("N16"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_group_joined_to_a_friend_through_a_wide_quiet_space_lives) {
  // A professional game's final position. White's H2-K2 and M3 M4 have no
  // eyes of their own, but they reach White's E3 F3 along the first two
  // lines through empty points that no black stone touches, by more than
  // one way: Black cannot cut them off.
  set_position({
      "...O.X...X..OXX....",  // 19
      "..XOOX...XOOOOXOO.O",  // 18
      ".O..OX....XO.OXXO..",  // 17
      "..OOXX..XXXOOX.XO.O",  // 16
      ".O.....XOOO.O..XXO.",  // 15
      ".XOOXX.XO.OX...XOOX",  // 14
      ".XXXOOXXOXO..XXXOX.",  // 13
      "...XXOOOOX.OO.OXX.X",  // 12
      "...X.XOXXXO..OOX.X.",  // 11
      "OX.X.XOOOXO.OXXX...",  // 10
      "X.XX.X.OXXXO.OOX...",  // 9
      ".XX.XO.XO.XO..OX...",  // 8
      "XOX.XOOXXXX.OO.OX..",  // 7
      ".O.....OO.....OXX..",  // 6
      ".OO.X.....XXXOOOX..",  // 5
      ".XOOXOO..X.OXX.XXXX",  // 4
      "..X.OO.XX..OXOXXOXX",  // 3
      ".O.....OOO..OOOXOOX",  // 2
      ".............O.O.O.",  // 1
  });
  judge();
  for (const char* v : {"H2", "K2", "M3", "M4"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("K1"), FINAL_WHITE_TERRITORY);
  EXPECT_EQ(final_at("C3"), FINAL_DEAD);
}

TEST_F(LifeDeath, a_group_whose_eye_space_the_opponent_touches_only_at_its_mouths_lives) {
  // A professional game's final position. White's right side group, Q18 to
  // R13 with T18 and T16, walls in R19 to T17 and S16 along the edge. Black's
  // P19 and T14 touch that space only at Q19 and T15, next to White's own
  // stones: the seven points they do not touch make two eyes.
  set_position({
      "...O.X...X..OXX....",  // 19
      "..XOOX...XOOOOXOO.O",  // 18
      ".O..OX....XO.OXXO..",  // 17
      "..OOXX..XXXOOX.XO.O",  // 16
      ".O.....XOOO.O..XXO.",  // 15
      ".XOOXX.XO.OX...XOOX",  // 14
      ".XXXOOXXOXO..XXXOX.",  // 13
      "...XXOOOOX.OO.OXX.X",  // 12
      "...X.XOXXXO..OOX.X.",  // 11
      "OX.X.XOOOXO.OXXX...",  // 10
      "X.XX.X.OXXXO.OOX...",  // 9
      ".XX.XO.XO.XO..OX...",  // 8
      "XOX.XOOXXXX.OO.OX..",  // 7
      ".O.....OO.....OXX..",  // 6
      ".OO.X.....XXXOOOX..",  // 5
      ".XOOXOO..X.OXX.XXXX",  // 4
      "..X.OO.XX..OXOXXOXX",  // 3
      ".O.....OOO..OOOXOOX",  // 2
      ".............O.O.O.",  // 1
  });
  judge();
  for (const char* v : {"Q18", "R17", "T18", "T16", "S15", "R13"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("T14"), FINAL_ALIVE);
}

TEST_F(LifeDeath, stones_joined_to_a_group_the_final_status_saves_live_with_it) {
  // A professional game's final position. White's N2 O2 P2 with O1 and O3,
  // taken as dead by the analysis, touch M3 across M2, and a black stone
  // cut in at M2 is captured. M3's group is no living group to the analysis
  // but reaches White's lower left through the empty lower side, so the
  // stones live with it.
  set_position({
      "...O.X...X..OXX....",  // 19
      "..XOOX...XOOOOXOO.O",  // 18
      ".O..OX....XO.OXXO..",  // 17
      "..OOXX..XXXOOX.XO.O",  // 16
      ".O.....XOOO.O..XXO.",  // 15
      ".XOOXX.XO.OX...XOOX",  // 14
      ".XXXOOXXOXO..XXXOX.",  // 13
      "...XXOOOOX.OO.OXX.X",  // 12
      "...X.XOXXXO..OOX.X.",  // 11
      "OX.X.XOOOXO.OXXX...",  // 10
      "X.XX.X.OXXXO.OOX...",  // 9
      ".XX.XO.XO.XO..OX...",  // 8
      "XOX.XOOXXXX.OO.OX..",  // 7
      ".O.....OO.....OXX..",  // 6
      ".OO.X.....XXXOOOX..",  // 5
      ".XOOXOO..X.OXX.XXXX",  // 4
      "..X.OO.XX..OXOXXOXX",  // 3
      ".O.....OOO..OOOXOOX",  // 2
      ".............O.O.O.",  // 1
  });
  judge();
  for (const char* v : {"N2", "O1", "O3", "P2"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("M3"), FINAL_ALIVE);
  EXPECT_EQ(final_at("N3"), FINAL_ALIVE);
}

TEST_F(LifeDeath, enemy_groups_shut_in_together_race_with_their_liberties_together) {
  // A professional game's final position. White's upper left group, C15 to
  // H16 with the eye D17 E17, touches Black's corner strings A17-B16 (in
  // atari at B19) and C18 C19. These reach each other at B19 but nothing
  // else: together they have B19 and D19 and no eye, too few to take White.
  set_position({
      "X.X.OXX...XXOOOOOOO",  // 19
      "XOXOOOXXXX.XXOOXXXX",  // 18
      "XXO..OOO.XXOXOOX.X.",  // 17
      "OXOOOXXOXXOOXOOXOOO",  // 16
      "OOOOOX.X.XOOOOOXXOX",  // 15
      "XOXOXXX.X.XO.OXOOOX",  // 14
      "XXXX..OOXXXOXOXXXXX",  // 13
      "XOOX.XXXOOOOXXXO.O.",  // 12
      "XOOXXXOXO...OX..XX.",  // 11
      ".XOOOOOOOOX.OOXXOXX",  // 10
      ".X.OXXO..XOOOXXXOOX",  // 9
      "..XXXOX..X.O.OXX.OO",  // 8
      "...XOOX.X.XOO.OXXO.",  // 7
      "XXX.XO..OX.XOOOXOO.",  // 6
      ".XO.X.OOOXXXXXOOX..",  // 5
      "XOOOOOOXOO..X.XOXOO",  // 4
      "XXO.O.OXXOOOOX.XOO.",  // 3
      ".XO...OXXXXXX.XXXXO",  // 2
      ".O.O..OOX........X.",  // 1
  });
  judge();
  for (const char* v : {"C16", "E19", "F17", "H16", "B14", "A15"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  EXPECT_EQ(final_at("E17"), FINAL_WHITE_TERRITORY);
}

TEST_F(LifeDeath, taking_a_lone_stone_in_atari_gives_a_shut_in_group_only_a_liberty) {
  // A professional game's final position. Black's corner A17-B16 can take
  // White's B18 at B19, but that gives it one point and no life: with C18
  // C19 it still has too few liberties against White's upper left group,
  // whose eye D17 E17 it cannot fill. The corner is dead, B18 lives.
  set_position({
      "X.X.OXX...XXOOOOOOO",  // 19
      "XOXOOOXXXX.XXOOXXXX",  // 18
      "XXO..OOO.XXOXOOX.X.",  // 17
      "OXOOOXXOXXOOXOOXOOO",  // 16
      "OOOOOX.X.XOOOOOXXOX",  // 15
      "XOXOXXX.X.XO.OXOOOX",  // 14
      "XXXX..OOXXXOXOXXXXX",  // 13
      "XOOX.XXXOOOOXXXO.O.",  // 12
      "XOOXXXOXO...OX..XX.",  // 11
      ".XOOOOOOOOX.OOXXOXX",  // 10
      ".X.OXXO..XOOOXXXOOX",  // 9
      "..XXXOX..X.O.OXX.OO",  // 8
      "...XOOX.X.XOO.OXXO.",  // 7
      "XXX.XO..OX.XOOOXOO.",  // 6
      ".XO.X.OOOXXXXXOOX..",  // 5
      "XOOOOOOXOO..X.XOXOO",  // 4
      "XXO.O.OXXOOOOX.XOO.",  // 3
      ".XO...OXXXXXX.XXXXO",  // 2
      ".O.O..OOX........X.",  // 1
  });
  judge();
  for (const char* v : {"A19", "A17", "B16", "C19", "C18"}) EXPECT_EQ(final_at(v), FINAL_DEAD) << v;
  EXPECT_EQ(final_at("B18"), FINAL_ALIVE);
}

TEST_F(LifeDeath, an_eye_holding_enemy_stones_is_no_eye_in_a_race_when_it_holds_every_liberty) {
  // A professional game's final position. White's N19 to S19 group, shut in
  // by Black's upper right wall, has only O19 and R19, both in its eye
  // space beside Black's P19 Q19. Taking those stones would fill its last
  // liberties, so that space wins White no race: the group is dead and
  // P19 Q19 live.
  set_position({
      ".O......O..XO.XX.OX",  // 19
      "XO.....O.OXXOOOOOOX",  // 18
      ".XOO....OXXXXOXXOXX",  // 17
      ".XXXO..XOOOXXXXXXXX",  // 16
      "..XOO.....OXXOXX.OO",  // 15
      ".XO.OX...O.XOOOXOO.",  // 14
      ".XOOO...O.XXOO.O...",  // 13
      ".XXO.OOO.OOO.O.O...",  // 12
      ".XOOXXOXOO..O.OO...",  // 11
      "..XOXOOXXO.XOXOXO..",  // 10
      "XXX..XXXXOOXX.XXOO.",  // 9
      "OOOXX..XO.OX.XXO.OO",  // 8
      ".O.O.X.XO.O.X.XOOOX",  // 7
      "..OOOX.XO.OXXXOOOXX",  // 6
      "..OXXO.XOOX..XOOX.X",  // 5
      "..O.X.X.OXX..OXXX..",  // 4
      "...OOX.OOOX..O.X...",  // 3
      ".O.OX.XXOXX........",  // 2
      "..OXX...X..........",  // 1
  });
  judge();
  for (const char* v : {"N19", "O18", "Q18", "S19", "R17"}) EXPECT_EQ(final_at(v), FINAL_DEAD) << v;
  for (const char* v : {"P19", "Q19", "M18", "S17"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
}

TEST_F(LifeDeath, a_group_whose_liberties_neither_side_can_fill_lives_in_seki) {
  // A professional game's final position. Black's upper right group, O19 to
  // R16, has the eye P18 and the liberty Q19, which it shares with White's
  // R19. White at Q19 would be in atari, also after first joining R19 to
  // S18 and T19 at S19, and Black there would keep only his eye: neither
  // side can fill Q19, a seki.
  set_position({
      "............OXX.O.O",  // 19
      "O.O.O.......OX.XXO.",  // 18
      "XOOOXOO...OOOOXXXOX",  // 17
      "XXOXXO.OOOXOXOOOXOO",  // 16
      ".XXXOOOXOX.XXO.OOXO",  // 15
      ".XOXOXXXXXX.OOXXXXX",  // 14
      ".XOO..XOXOOO.OXO.X.",  // 13
      ".XXOO.X..X..XOOXX..",  // 12
      "..XXOOOXXXXXXXXO...",  // 11
      ".XOOOXXXOXOOXOXXX..",  // 10
      ".XO..OOOOXO.OOOOX..",  // 9
      ".XXO.OXXOXOOO.OXX..",  // 8
      "XXOO.OOXX.XXXXOOOX.",  // 7
      "XOO.OXOX.XX..OOXX..",  // 6
      "O.XOXXX.XOOOO.X.X..",  // 5
      "....OX.X.XXOOOOXX..",  // 4
      ".O.OOXXOXX.OXXXX...",  // 3
      "..OXXXOOOXO.OOOXX..",  // 2
      ".OXXX.X.OO....OOX..",  // 1
  });
  judge();
  for (const char* v : {"O19", "P19", "O18", "Q18", "R16"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
  for (const char* v : {"R19", "S18", "T19"}) EXPECT_EQ(final_at(v), FINAL_ALIVE) << v;
}

TEST_F(LifeDeath, filling_the_point_of_a_dead_stone_taken_in_the_fill_out_costs_the_point) {
  // A professional game's last position, upper right: Black's Q16 fill takes
  // White's dead P16-P15, and Black must then fill P15 as well. He keeps the
  // prisoner but loses the point: W+1.5 with 4.5 komi (both sides took two
  // stones in the game), so Black leads by three on the board.
  set_position({
      ".O......OXX........",  // 19
      "XO.O....OOXXXOXX...",  // 18
      ".XO......OO.XOXOX..",  // 17
      ".XXOO.....OXXXO.X..",  // 16
      "..XXO....O.OXXOXX..",  // 15
      "..XO.....O.OOOXOOX.",  // 14
      "..XO...OOX.OXOX.OX.",  // 13
      ".XOO..OXOX.OXXX.OXX",  // 12
      "..XXOOXXXOO.OO.XOOX",  // 11
      ".XXO.OOOXX.OXOX.OOO",  // 10
      ".XOOO.OX.XO..XOOOX.",  // 9
      "..X.OOXXXOOX.X.....",  // 8
      "XXXXOX.XO.O....O..O",  // 7
      "OXO.X..XO.......OOX",  // 6
      "OOOOX..XXOO.OOOOXXX",  // 5
      ".OXXX....XOOXXOXX..",  // 4
      "..OOX....XXOOXXX...",  // 3
      "O.OXX......XX......",  // 2
      ".OXX...............",  // 1
  });
  const GlobalAnalysis& a = judge();
  EXPECT_EQ(final_at("P15"), FINAL_DEAD);
  EXPECT_EQ(final_at("Q16"), FINAL_DAME);
  EXPECT_EQ(classic_score(gban, a, false), 3);
}

TEST_F(LifeDeath, dead_stones_that_one_stone_would_join_into_a_seki_cost_the_point) {
  // A professional game's last position, lower left: White at D1 would join
  // his dead B3-C3-D3-D2 to B1-C1, with the liberties C4 and A1, where
  // Black's strings have two liberties each and can close in on neither
  // without putting himself in atari: a seki. Black adds D1, as the players
  // did (B+4.5).
  set_position({
      ".O.XX.......XOO....",  // 19
      "OXXXOX..X..XXXO....",  // 18
      "OOO.OXXXXOXXOOOOOO.",  // 17
      "..OOOOXOOXX.OOXXXOO",  // 16
      ".OXXXOO..OOX.XXXXXX",  // 15
      "OOOX.X.O...OXXX....",  // 14
      "OXXXXXXO...OXOOXXXX",  // 13
      "X..XOXOX...OXOXXXX.",  // 12
      ".XXOOXOO..OXXOXOXXO",  // 11
      "OXO.OXXOOOOXOOXOOO.",  // 10
      ".OOOOOOOX.OOO.XOO.O",  // 9
      "OXXXXXX..XXXXXXXXO.",  // 8
      "OOO.X.XXXOXOO..OXOO",  // 7
      "OXOOOXX.XOOOXXXOOOX",  // 6
      "XXXXOOOXXXOOOOXXXXX",  // 5
      ".X.XXOOOOX.O..OOX..",  // 4
      "XOOOX.OXXX.OXO.OOX.",  // 3
      "XXXOXXOXOXXXOOX.OX.",  // 2
      ".OO.X.OOOX.XXOOOXX.",  // 1
  });
  judge();
  EXPECT_EQ(final_at("D1"), FINAL_DAME);
  EXPECT_EQ(final_at("C4"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("D2"), FINAL_DEAD);
}

TEST_F(LifeDeath, a_string_the_opponent_could_take_from_a_dame_before_the_end_is_kept_alive) {
  // A professional game's last position, top right: Black S19 and T18
  // share T19, and White R19, a dame, would take S19. It stood so at the
  // last passes, but the kill costs White nothing: Black adds T19 and T17.
  set_position({
      "...OXXXXX....XX..X.",  // 19
      "..O.OOXOXXXXX.XOOOX",  // 18
      ".OO...OO.OOXOXXOOX.",  // 17
      "OOXOOOO.OO.OOOOOXXX",  // 16
      "OXXXXXXXXO..O...OX.",  // 15
      "X.X....XOOOOXO..OX.",  // 14
      ".OX.OO.XXXOXXOOOXO.",  // 13
      ".XXXXOOX.XXXOXXXXXX",  // 12
      ".OXOOO.OXXOOOOOXXOX",  // 11
      ".XOOXXOOOOOXXXXXOOO",  // 10
      ".XXOXOOX.O.OX..XXO.",  // 9
      ".XOOXXOXOO.OOXXXOO.",  // 8
      "XXXXXOOXO.OOXXOXXO.",  // 7
      ".XOOOXXXXOO...OOO..",  // 6
      "OXXO....X.OXXXXO.O.",  // 5
      ".OXXXXXOXOOOO.XO..O",  // 4
      "OOOXO.XXOOOXX.XXOOX",  // 3
      ".OOO.OOXXXO..X..XXX",  // 2
      "OXX..XX..O.OOOX....",  // 1
  });
  judge();
  EXPECT_EQ(final_at("T19"), FINAL_DAME);
  EXPECT_EQ(final_at("T17"), FINAL_DAME);
  EXPECT_EQ(final_at("S19"), FINAL_ALIVE);
}

TEST_F(LifeDeath, plain_dame_beside_the_shortest_string_are_filled_first) {
  // A professional game's last position, right side. Black fills the dame
  // beside White's short strings first (P13, N12, M12, then P12), and White
  // must add O12, T10 and T8, as the players did (B+5.5). Filled from the
  // top down instead, White takes those dame himself and adds nothing.
  set_position({
      "..OOX..............",  // 19
      "OO.OX...X..........",  // 18
      "OXOOX.X............",  // 17
      ".XXOXOX.O.XXX..XXX.",  // 16
      "X.XOX.XXOXOOOXX.OX.",  // 15
      ".XXOOXXOXXXOOOX.OX.",  // 14
      ".OOXOXOOO.XXOO.OOOX",  // 13
      "O.OXOX.XOOX....OXX.",  // 12
      ".OXXXXXXXOXXOO.OO..",  // 11
      ".OOOXX.XOOXXXXXXOO.",  // 10
      "....OO.OO.OOX...XXO",  // 9
      "..OOOOO..OOOOXXXXO.",  // 8
      "..OXOXXO.OXOXXOOXO.",  // 7
      ".OXXXXO.OXXOOOOXXO.",  // 6
      ".....XOO.OXXXXXOO.O",  // 5
      "OOOO.XXO.OOOXOOO.OX",  // 4
      "XOXOX.XO.X.OXXXXOOX",  // 3
      "XXXXXOXO...OOX..XXX",  // 2
      "....XOO....OXX.....",  // 1
  });
  judge();
  for (const char* v : {"O12", "T10", "T8"}) EXPECT_EQ(final_at(v), FINAL_DAME) << v;
  EXPECT_EQ(final_at("T9"), FINAL_ALIVE);
}

TEST_F(LifeDeath, a_dame_whose_fill_by_the_opponent_would_force_a_stone_inside_is_taken_first) {
  // A professional game's last position. White filling P8 and P10 would
  // leave Black's P9 string only O9, inside his area: Black fills P10 first
  // and adds nothing at O9 (B+2.5, the recorded result). Ranked as a plain
  // dame, P10 is left to White and Black must add O9.
  set_position({
      "...OOOX............",  // 19
      "..OOOXX............",  // 18
      "..XOXX.X...XX......",  // 17
      ".OOX.XXOXXXXXX.X.XX",  // 16
      "..OX.XOOXOOXOOXXXOX",  // 15
      ".OXXXXOOXXOO.OOXOOO",  // 14
      "O.OX.OO.OOO..OXOO..",  // 13
      "..OXOX.OOXXOOOXXXO.",  // 12
      ".XXOO.OXXOXXOXXXO..",  // 11
      "OOOO.OX..OXXXX.OOO.",  // 10
      "XXOOOXXXXXO.X.XXXO.",  // 9
      "X.XOOOX..XOOOX.OXO.",  // 8
      "XXXXOX...XXXOXXOOOO",  // 7
      "XOX.X...XXOXOOOOXXO",  // 6
      "XOOX.XXXOOOO.OXOXXX",  // 5
      "XOOXXOOXOX..OXXXXO.",  // 4
      "O.OOXXOOXOOO.OOX...",  // 3
      ".O.OOX.OXOX.OOX.X..",  // 2
      "....O.......OXXX...",  // 1
  });
  judge();
  EXPECT_EQ(final_at("O9"), FINAL_BLACK_TERRITORY);
  EXPECT_EQ(final_at("P10"), FINAL_DAME);
}

}  // namespace
