#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/reading.h"

namespace {

using Points = std::vector<std::pair<int, int>>;  // (column, row)

template <int S>
int pt(int x, int y) {
  return S == 256 ? make_z(x, y) : zc_from_z(make_z(x, y));
}

template <int S>
std::unique_ptr<Board<S>> board_with(const Points& black, const Points& white, int size = 19) {
  auto b = std::make_unique<Board<S>>();
  board_reset(*b, size);
  for (auto [x, y] : black) EXPECT_EQ(put_stone(*b, pt<S>(x, y), BLACK), PUT_OK);
  for (auto [x, y] : white) EXPECT_EQ(put_stone(*b, pt<S>(x, y), WHITE), PUT_OK);
  b->fukasa = 0;
  return b;
}

// A ladder from (3,3) that can only run the long way, to the far corner.
const Points LADDER_BLACK = {{3, 2}, {2, 3}, {5, 3}};
const Points LADDER_WHITE = {{3, 3}, {4, 1}};

template <int S>
struct Stride {
  static constexpr int value = S;
};

template <typename T>
class Reading : public ::testing::Test {
 protected:
  static constexpr int S = T::value;
  static void SetUpTestSuite() {
    random_startup();
    make_hashboard64();
  }
  void SetUp() override {
    reading_table_clear();
    rs.max_depth = READ_DEPTH_MAX;
  }
  int kill(Board<S>& b, int x, int y) { return kill_string(b, pt<S>(x, y), rs); }
  int move(const Board<S>& b) { return to_point_code<S>(reading_move(b, rs)); }
  ReadingState& rs = reading_state(0);
};

using Strides = ::testing::Types<Stride<256>, Stride<32>>;
TYPED_TEST_SUITE(Reading, Strides);

TYPED_TEST(Reading, one_liberty_is_taken_at_once_unless_it_is_the_ko_point) {
  constexpr int S = TestFixture::S;
  auto b = board_with<S>({{9, 10}, {10, 9}, {11, 10}}, {{10, 10}});
  long before = this->rs.nodes;
  EXPECT_EQ(this->kill(*b, 10, 10), READ_DEAD);
  EXPECT_EQ(this->move(*b), make_z(10, 11));
  EXPECT_EQ(this->rs.nodes - before, 1);

  // White (3,3) has just taken the black stone at (4,3): its only liberty is
  // the ko point, which black may not retake at once.
  auto ko = board_with<S>({{3, 2}, {2, 3}, {3, 4}}, {{4, 2}, {5, 3}, {4, 4}});
  ASSERT_EQ(put_stone(*ko, pt<S>(4, 3), BLACK), PUT_OK);
  ASSERT_EQ(put_stone(*ko, pt<S>(3, 3), WHITE), PUT_OK);
  ASSERT_EQ(ko->kou_iti, pt<S>(4, 3));
  EXPECT_EQ(this->kill(*ko, 3, 3), READ_LIVE);
  EXPECT_EQ(this->move(*ko), 0);
  ASSERT_EQ(put_stone(*ko, pt<S>(15, 15), BLACK), PUT_OK);
  ASSERT_EQ(put_stone(*ko, pt<S>(16, 16), WHITE), PUT_OK);
  EXPECT_EQ(this->kill(*ko, 3, 3), READ_DEAD);
  EXPECT_EQ(this->move(*ko), make_z(4, 3));
}

TYPED_TEST(Reading, ladder_across_the_board_works_and_a_breaker_stops_it) {
  constexpr int S = TestFixture::S;
  auto b = board_with<S>(LADDER_BLACK, LADDER_WHITE);
  EXPECT_EQ(this->kill(*b, 3, 3), READ_DEAD);
  int killing = reading_move(*b, this->rs);
  EXPECT_EQ(to_point_code<S>(killing), make_z(3, 4));
  EXPECT_EQ(b->fukasa, 0);  // the board is back where it was
  // Moving first, white escapes: extending gives three liberties.
  EXPECT_EQ(save_string(*b, pt<S>(3, 3), killing, this->rs), READ_LIVE);
  int saving = reading_move(*b, this->rs);
  ASSERT_NE(saving, 0);
  ASSERT_EQ(put_stone(*b, saving, WHITE), PUT_OK);
  EXPECT_EQ(this->kill(*b, 3, 3), READ_LIVE);

  Points breaker = LADDER_WHITE;
  breaker.push_back({17, 15});
  auto broken = board_with<S>(LADDER_BLACK, breaker);
  EXPECT_EQ(this->kill(*broken, 3, 3), READ_LIVE);
}

TYPED_TEST(Reading, budgets_and_the_liberty_cut_give_up_as_living) {
  constexpr int S = TestFixture::S;
  // A ladder broken at the far end: the attacker tries all it may within each
  // iteration's budget, 100 nodes at depth 3 and 500 more at depth 5.
  Points breaker = LADDER_WHITE;
  breaker.push_back({17, 15});
  auto b = board_with<S>(LADDER_BLACK, breaker);
  this->rs.max_depth = 3;
  long before = this->rs.nodes;
  EXPECT_EQ(this->kill(*b, 3, 3), READ_LIVE);
  EXPECT_EQ(this->rs.nodes - before, 100);
  EXPECT_EQ(this->move(*b), 0);
  this->rs.max_depth = 5;
  before = this->rs.nodes;
  EXPECT_EQ(this->kill(*b, 3, 3), READ_LIVE);
  EXPECT_GT(this->rs.nodes - before, 100);
  EXPECT_LE(this->rs.nodes - before, 600);
  this->rs.max_depth = 1;
  EXPECT_EQ(this->kill(*b, 3, 3), 0);

  // Four liberties: 2*4-1 = 7 > 5, not read at depth 5 (one node per
  // iteration), read at depth 7.
  auto lone = board_with<S>({}, {{10, 10}});
  this->rs.max_depth = 5;
  before = this->rs.nodes;
  EXPECT_EQ(this->kill(*lone, 10, 10), READ_LIVE);
  EXPECT_EQ(this->rs.nodes - before, 2);
  this->rs.max_depth = 7;
  before = this->rs.nodes;
  EXPECT_EQ(this->kill(*lone, 10, 10), READ_LIVE);
  EXPECT_GT(this->rs.nodes - before, 3);
}

TYPED_TEST(Reading, a_string_whose_liberties_are_both_eyes_needs_no_answer) {
  // A professional game's top left: Black's corner string has only its two
  // eyes (1,1) and (3,1) left, and White can fill neither. A white move
  // elsewhere, such as (7,3) beside Black's (6,3), is left unanswered:
  // filling an eye would be Black's only "defence", and it loses.
  Points black = {{2, 1}, {4, 1}, {5, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {1, 3}, {2, 3}, {3, 3}, {6, 3},
                  {8, 3}, {2, 4}, {7, 5}, {2, 6}, {3, 6}, {5, 6}, {6, 6}, {7, 6}, {8, 6}, {9, 6}};
  Points white = {{6, 1}, {5, 2}, {6, 2}, {4, 3}, {5, 3}, {1, 4}, {3, 4}, {4, 4}, {6, 4}, {7, 4},
                  {9, 4}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {8, 5}, {9, 5}, {1, 6}, {4, 6}};
  auto b = board_with<TestFixture::S>(black, white);
  EXPECT_EQ(this->kill(*b, 2, 1), READ_LIVE);
}

TYPED_TEST(Reading, net_catches_what_ataris_let_escape) {
  constexpr int S = TestFixture::S;
  // White has two liberties, (12,11) and (11,12); an atari on either lets
  // white run (the ladders meet the breaker at (15,15)); the net at (12,12)
  // leaves both extensions in atari.
  Points black = {{9, 10}, {10, 9}, {11, 10}, {9, 11}, {10, 12}, {12, 10}};
  Points white = {{10, 10}, {10, 11}, {11, 11}, {15, 15}};
  auto b = board_with<S>(black, white);
  EXPECT_EQ(this->kill(*b, 10, 10), READ_DEAD);
  EXPECT_EQ(this->move(*b), make_z(12, 12));
  EXPECT_EQ(save_string(*b, pt<S>(10, 10), pt<S>(12, 12), this->rs), READ_LIVE);
  EXPECT_NE(this->move(*b), 0);
  // Each extension out of the net is caught.
  ASSERT_EQ(put_stone(*b, pt<S>(12, 12), BLACK), PUT_OK);
  for (auto [x, y] : Points{{12, 11}, {11, 12}}) {
    ASSERT_EQ(put_stone(*b, pt<S>(x, y), WHITE), PUT_OK);
    EXPECT_EQ(this->kill(*b, 10, 10), READ_DEAD);
    take_back(*b, pt<S>(x, y), WHITE);
  }
}

TYPED_TEST(Reading, defence_strengthens_a_neighbour_to_connect_through_a_liberty) {
  constexpr int S = TestFixture::S;
  // White (1,2)-(1,4) on the edge has liberties (1,1) and (1,5); connecting
  // at (1,1) to the white stone (2,1) only helps once (3,1) joins that stone
  // to the wall at (4,1).
  Points black = {{2, 2}, {2, 3}, {2, 4}, {2, 5}, {1, 6}, {3, 2}};
  Points white = {{1, 2}, {1, 3}, {1, 4}, {2, 1}, {4, 1}, {4, 2}, {4, 3}};
  auto b = board_with<S>(black, white);
  EXPECT_EQ(this->kill(*b, 1, 3), READ_DEAD);
  EXPECT_EQ(save_string(*b, pt<S>(1, 3), reading_move(*b, this->rs), this->rs), READ_LIVE);
  EXPECT_EQ(this->move(*b), make_z(3, 1));
}

TYPED_TEST(Reading, snapback_throw_in_kills_and_cannot_be_answered) {
  constexpr int S = TestFixture::S;
  // White's only liberties are the two points (1,1) and (2,1) of its corner;
  // black throws in, white takes, black takes back the whole string.
  Points white = {{3, 1}, {3, 2}, {2, 2}, {1, 2}};
  Points black = {{4, 1}, {4, 2}, {3, 3}, {2, 3}, {1, 3}};
  auto b = board_with<S>(black, white);
  EXPECT_EQ(this->kill(*b, 3, 1), READ_DEAD);
  int throw_in = reading_move(*b, this->rs);
  EXPECT_TRUE(to_point_code<S>(throw_in) == make_z(1, 1) || to_point_code<S>(throw_in) == make_z(2, 1));
  EXPECT_EQ(save_string(*b, pt<S>(3, 1), throw_in, this->rs), READ_DEAD);
  EXPECT_EQ(this->move(*b), 0);
  // White takes the thrown-in stone and is itself in atari.
  ASSERT_EQ(put_stone(*b, throw_in, BLACK), PUT_OK);
  int other = to_point_code<S>(throw_in) == make_z(1, 1) ? pt<S>(2, 1) : pt<S>(1, 1);
  ASSERT_EQ(put_stone(*b, other, WHITE), PUT_OK);
  EXPECT_EQ(this->kill(*b, 3, 1), READ_DEAD);
  EXPECT_EQ(reading_move(*b, this->rs), throw_in);
}

TYPED_TEST(Reading, stored_kills_are_found_again_and_kept_per_string) {
  constexpr int S = TestFixture::S;
  auto b = board_with<S>(LADDER_BLACK, LADDER_WHITE);
  EXPECT_EQ(this->kill(*b, 3, 3), READ_DEAD);
  EXPECT_GT(reading_table_use().used, 0);
  long before = this->rs.nodes;
  EXPECT_EQ(this->kill(*b, 3, 3), READ_DEAD);
  EXPECT_EQ(this->rs.nodes - before, 1);
  // Another string of the same position does not read the ladder's entry:
  // the edge stone dies to its own move, a block on either side.
  EXPECT_EQ(this->kill(*b, 4, 1), READ_DEAD);
  EXPECT_TRUE(this->move(*b) == make_z(4, 2) || this->move(*b) == make_z(5, 1)) << this->move(*b);
}

// Random games on a 9x9 board: every string gets the same answer and move on
// both boards.
TEST(ReadingBoards, both_strides_agree_on_random_positions) {
  random_startup();
  make_hashboard64();
  reading_table_clear();
  ReadingState& a = reading_state(0);
  ReadingState& c = reading_state(1);
  a.max_depth = c.max_depth = READ_DEPTH_MAX;
  rand_set_seed(12345);
  int compared = 0;
  for (int game = 0; game < 12; game++) {
    auto g = std::make_unique<Board<256>>();
    auto s = std::make_unique<Board<32>>();
    board_reset(*g, 9);
    board_reset(*s, 9);
    int color = BLACK;
    for (int m = 0; m < 40 + game * 3; m++) {
      int x = rand_next() % 9 + 1, y = rand_next() % 9 + 1;
      int z = make_z(x, y);
      if (g->ban[z] != EMPTY) continue;
      int r = put_stone(*g, z, color);
      ASSERT_EQ(put_stone(*s, zc_from_z(z), color), r);
      if (r == PUT_OK) color = opponent(color);
    }
    g->fukasa = s->fukasa = 0;
    for (int y = 1; y <= 9; y++)
      for (int x = 1; x <= 9; x++) {
        int z = make_z(x, y);
        if (g->ban[z] == EMPTY) continue;
        int rg = kill_string(*g, z, a), rsb = kill_string(*s, zc_from_z(z), c);
        ASSERT_EQ(rg, rsb) << std::hex << z;
        EXPECT_EQ(reading_move(*g, a), z_from_zc(reading_move(*s, c)) * (reading_move(*s, c) != 0)) << std::hex << z;
        compared++;
      }
  }
  EXPECT_GT(compared, 300);
}

}  // namespace
