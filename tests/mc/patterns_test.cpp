#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "mc/patterns.h"
#include "support/engine_setup.h"

namespace {

// Stones at (x, y) offsets from the centre, on a fresh global board.
void place(std::initializer_list<std::array<int, 3>> stones) {
  board_reset(gban, 19);
  for (auto& s : stones) ASSERT_EQ(put_stone(gban, make_z(s[0], s[1]), s[2]), PUT_OK);
}

// The board turned by symmetry g (the same transform as the pattern's).
void transformed_board(int g, GlobalBoard& out) {
  board_reset(out, 19);
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) {
      int c = gban.ban[make_z(x, y)];
      if (c != BLACK && c != WHITE) continue;
      int dx = x - 10, dy = y - 10;
      if (g >= 4) dx = -dx;
      for (int r = 0; r < (g & 3); r++) {
        int t = dx;
        dx = -dy, dy = t;
      }
      ASSERT_EQ(put_stone(out, make_z(10 + dx, 10 + dy), c), PUT_OK);
    }
  }
}

}  // namespace

TEST(Pattern3x3, digit_order_and_last_move_neighbour_index) {
  engine_setup(19);
  place({{{11, 10, BLACK}}, {{10, 11, WHITE}}});
  const int z = make_z(10, 10);
  EXPECT_EQ(pattern3x3_code(gban, z), 1 * 1 + 2 * 3);
  EXPECT_EQ(pattern3x3_swap(pattern3x3_code(gban, z)), 2 * 1 + 1 * 3);
  EXPECT_EQ(pattern_neighbour_index<256>(z, make_z(11, 10)), 0);
  EXPECT_EQ(pattern_neighbour_index<256>(z, make_z(9, 9)), 6);
  EXPECT_EQ(pattern_neighbour_index<256>(z, make_z(12, 10)), NEIGHBOUR_NONE);
  EXPECT_EQ(pattern_neighbour_index<32>(zc_from_z(z), zc_from_z(make_z(10, 11))), 1);
}

TEST(BigPattern, symmetric_keys_are_the_keys_of_the_turned_board) {
  engine_setup(19);
  make_big_pattern_tables();
  place({{{11, 10, BLACK}}, {{12, 8, WHITE}}, {{10, 13, BLACK}}, {{7, 11, WHITE}}, {{9, 9, WHITE}}});
  const int z = make_z(10, 10);
  uint8_t content[BIG_PATTERN_POINTS];
  big_pattern_content(gban, z, BLACK, content);
  for (int size = BIG_PATTERN_SIZE_MIN; size <= BIG_PATTERN_SIZE_MAX; size++) {
    uint64_t sym[8];
    big_pattern_symmetric_keys(content, size, sym);
    std::set<uint64_t> images;
    static GlobalBoard turned;
    for (int g = 0; g < 8; g++) {
      transformed_board(g, turned);
      uint8_t c2[BIG_PATTERN_POINTS];
      uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];
      big_pattern_content(turned, z, BLACK, c2);
      big_pattern_keys(c2, keys);
      images.insert(keys[size]);
    }
    EXPECT_EQ(images, std::set<uint64_t>(sym, sym + 8)) << size;
  }
  // From White's side the colours are exchanged.
  uint8_t white_view[BIG_PATTERN_POINTS];
  big_pattern_content(gban, z, WHITE, white_view);
  EXPECT_EQ(white_view[0], content[0]);  // (10, 9) is empty
  for (int i = 0; i < BIG_PATTERN_POINTS; i++) {
    if (content[i] == 1 || content[i] == 2) {
      EXPECT_EQ(white_view[i], 3 - content[i]);
    }
  }
}

TEST(BigPattern, factor_uses_ratios_and_a_missing_size_counts_its_minimum_times_1000) {
  engine_setup(19);
  make_big_pattern_tables();
  place({{{11, 10, BLACK}}, {{10, 12, WHITE}}});
  const int z = make_z(10, 10);
  uint8_t content[BIG_PATTERN_POINTS];
  big_pattern_content(gban, z, BLACK, content);
  std::vector<HashpatList> list;
  auto add = [&](int size, uint32_t seen, uint32_t played, const uint8_t* c) {
    HashpatList r{};
    big_pattern_symmetric_keys(c, size, r.key);
    r.seen = seen, r.played = played, r.size = uint32_t(size);
    list.push_back(r);
  };
  uint8_t other[BIG_PATTERN_POINTS] = {};  // the empty pattern
  add(2, 400, 100, content);               // 0.25
  add(3, 1000, 10, other);                 // size 3: only another pattern, min 0.01
  add(4, 200000, 50000, content);          // halved to 16-bit counts: still 0.25
  add(5, 10, 0, content);                  // played never: the size's minimum
  add(5, 100, 20, other);                  // min of size 5: 0.2
  make_hashpat_uct(list.data(), int(list.size()));
  const HashpatUct* e4 = nullptr;
  {
    uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];
    big_pattern_keys(content, keys);
    e4 = hashpat_lookup(keys[4]);
    ASSERT_NE(e4, nullptr);
    EXPECT_LE(e4->seen, 65535);
    EXPECT_DOUBLE_EQ(double(e4->played) / e4->seen, 0.25);
    EXPECT_EQ(hashpat_lookup(keys[3]), nullptr);
  }
  const double expected = (0.25 * 1000) * (0.01 * 1000 * 1000) * (0.25 * 1000) * (0.2 * 1000);
  EXPECT_NEAR(big_pattern_factor(gban, z, BLACK) / expected, 1.0, 1e-9);
}

TEST(Weak255, byte_255_is_certain_and_edges_share_entries) {
  engine_setup(19);
  if (!load_pattern3x3_log()) GTEST_SKIP() << "weak255.db not beside the tests";
  EXPECT_DOUBLE_EQ(weak_byte_probability[255], 1.0);
  EXPECT_NEAR(weak_byte_probability[0], std::pow(1.04, -255), 1e-15);
  // A stone on the first line next to the point, at the top edge and at the right edge.
  place({{{10, 2, WHITE}}});
  const int top = weak_index(gban, make_z(10, 1), 0, BLACK);
  place({{{18, 10, WHITE}}});
  const int right = weak_index(gban, make_z(19, 10), 0, BLACK);
  EXPECT_EQ(top, right);
  EXPECT_LT(top, WEAK_A_NUM);
  // The last move next to the point changes the entry; colours are the mover's.
  place({{{10, 2, WHITE}}});
  EXPECT_NE(weak_index(gban, make_z(10, 1), make_z(10, 2), BLACK), top);
  EXPECT_NE(weak_index(gban, make_z(10, 1), 0, WHITE), top);
}

TEST(Mm3x3, weights_zero_for_own_eyes_and_colour_two_reads_stay_inside) {
  engine_setup(19);
  if (!load_mm3x3()) GTEST_SKIP() << "mm3x3.db not beside the tests";
  EXPECT_EQ(long(mm3x3.size()), MM3X3_FLOATS);
  EXPECT_EQ(mm3x3_gamma(WHITE, POSITION_CLASS_NUM - 1, NEIGHBOUR_NONE, PATTERN3X3_NUM - 1), 0.0f);
  ASSERT_TRUE(make_pattern_weights(19));
  // Black's eye in the open: four black stones around the point.
  place({{{11, 10, BLACK}}, {{10, 11, BLACK}}, {{9, 10, BLACK}}, {{10, 9, BLACK}}});
  const int z = make_z(10, 10);
  EXPECT_EQ(pattern_weight_at(gban, z, BLACK, 0), 0);
  EXPECT_EQ(pattern_weight_at(gban, z, WHITE, 0), 0);  // suicide for White
  place({{{11, 10, BLACK}}, {{10, 11, BLACK}}, {{9, 10, BLACK}}});
  EXPECT_GT(pattern_weight_at(gban, z, BLACK, 0), 0);
  EXPECT_GT(pattern_weight_at(gban, z, WHITE, 0), 0);
  // Next to the last move the 19x19 weight is the 16-fold of the plain one.
  const int s = 0, p = pattern3x3_code(gban, z);
  EXPECT_EQ(pattern_weight_at(gban, z, WHITE, make_z(11, 10)),
            int32_t(mm3x3_gamma(WHITE, s, 0, p) * 1000.0f) * 16);
}

TEST(WeakChoice, plays_legal_points_captures_in_atari_and_keeps_its_eyes) {
  engine_setup(19);
  if (!load_pattern3x3_log()) GTEST_SKIP() << "weak255.db not beside the tests";
  // Five white stones in atari at (10, 5); a black eye at (1, 1).
  place({{{9, 1, WHITE}}, {{10, 1, WHITE}}, {{11, 1, WHITE}}, {{10, 2, WHITE}}, {{10, 3, WHITE}},
         {{8, 1, BLACK}}, {{12, 1, BLACK}}, {{9, 2, BLACK}}, {{11, 2, BLACK}}, {{9, 3, BLACK}},
         {{11, 3, BLACK}}, {{9, 4, BLACK}}, {{11, 4, BLACK}}, {{10, 4, WHITE}},
         {{2, 1, BLACK}}, {{1, 2, BLACK}}, {{2, 2, BLACK}}});
  gban.fukasa = 0;
  rand_set_seed(12345);
  int captures = 0;
  for (int i = 0; i < 40; i++) {
    const int z = weak_move_choice(BLACK, 1);
    ASSERT_GT(z, 0);
    EXPECT_EQ(gban.ban[z], EMPTY);
    EXPECT_NE(z, make_z(1, 1));
    captures += z == make_z(10, 5);
  }
  EXPECT_GE(captures, 30);
  int plain = 0;
  for (int i = 0; i < 40; i++) plain += weak_move_choice(BLACK, 0) == make_z(10, 5);
  EXPECT_LT(plain, captures);
}
