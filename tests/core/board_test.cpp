#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "support/engine_setup.h"

namespace {

struct Move {
  int z, color;
};

// Snapshot of everything take_back must restore; liberty lists in order.
template <int S>
struct Snapshot {
  std::vector<int> colors, strings, numbers, chains;
  std::vector<std::vector<int>> libs;
  int kou, cap_b, cap_w, ren_num, fukasa;
  typename Board<S>::Hash hash;
  bool operator==(const Snapshot&) const = default;
};

template <int S>
Snapshot<S> snapshot(const Board<S>& b) {
  Snapshot<S> s;
  for (int p = 0; p < Board<S>::ARRAY; p++) {
    s.colors.push_back(b.ban[p]);
    bool stone = b.ban[p] == BLACK || b.ban[p] == WHITE;
    s.strings.push_back(stone ? string_of(b, p) : 0);
    s.numbers.push_back(stone ? b.ren_no[p] : 0);
    s.chains.push_back(stone ? b.next_stone[p] : 0);
  }
  for (int n = 1; n <= b.ren_num; n++) {
    const auto& r = b.ren[n];
    std::vector<int> v = {r.id, r.stones, r.color, r.first, r.last, r.alive, r.lib_num};
    if (r.alive && r.id == n) v.insert(v.end(), r.libs, r.libs + r.lib_num);
    if constexpr (BoardTraits<S>::kEnemyList) v.push_back(r.enemy_num);
    s.libs.push_back(v);
  }
  s.kou = b.kou_iti;
  s.cap_b = b.captured[1];
  s.cap_w = b.captured[2];
  s.ren_num = b.ren_num;
  s.fukasa = b.fukasa;
  s.hash = b.hash;
  return s;
}

// Every stone numbered with its live string, not with a record its string
// absorbed (what lets string_of answer at the first step).
template <int S>
bool numbers_direct(const Board<S>& b) {
  for (int p = 0; p < Board<S>::ARRAY; p++) {
    if ((b.ban[p] == BLACK || b.ban[p] == WHITE) && b.ren[b.ren_no[p]].id != b.ren_no[p]) return false;
  }
  return true;
}

template <int S>
int code(int x, int y) {
  return y * S + x;
}

// A random legal game: moves are tried at random points until one is legal;
// a pass when nothing is found. Returns the moves played.
template <int S>
std::vector<Move> random_game(Board<S>& b, std::mt19937& rng, int length, int color = BLACK) {
  std::vector<Move> moves;
  for (int i = 0; i < length; i++) {
    int z = 0;
    for (int tries = 0; tries < 60; tries++) {
      int p = code<S>(1 + int(rng() % b.size), 1 + int(rng() % b.size));
      if (b.ban[p] != EMPTY) continue;
      // Filling own eyes makes games endless; skip points whose neighbours are all own.
      bool own_eye = true;
      for (int d : {1, -1, S, -S}) own_eye &= b.ban[p + d] == color || b.ban[p + d] == EDGE;
      if (own_eye) continue;
      if (put_stone(b, p, color) == PUT_OK) {
        z = p;
        break;
      }
    }
    if (z == 0) put_stone(b, 0, color);
    moves.push_back({z, color});
    color = opponent(color);
  }
  return moves;
}

// Returns how many moves joined three or more strings.
template <int S>
int check_take_back_restores(int seed, int size) {
  engine_setup(size);
  make_hashboard64();
  auto b = std::make_unique<Board<S>>();
  board_reset(*b, size);
  std::mt19937 rng(seed);
  std::vector<Snapshot<S>> before;
  std::vector<Move> moves;
  int color = BLACK, captures = 0, merges = 0;
  for (int i = 0; i < 900 && b->ren_num < REN_MAX - 4; i++) {
    before.push_back(snapshot(*b));
    std::vector<Move> one = random_game(*b, rng, 1, color);
    if (b->te[b->fukasa - 1].captured_num) captures++;
    if (b->te[b->fukasa - 1].merged_num >= 2) merges++;
    EXPECT_TRUE(numbers_direct(*b)) << "move " << i << " S=" << S;
    moves.push_back(one[0]);
    color = opponent(color);
  }
  EXPECT_GT(captures, 5);
  for (int i = int(moves.size()) - 1; i >= 0; i--) {
    take_back(*b, moves[i].z, moves[i].color);
    Snapshot<S> now = snapshot(*b);
    EXPECT_TRUE(now == before[i] && numbers_direct(*b)) << "move " << i << " z=" << std::hex << moves[i].z << " S=" << S;
    if (!(now == before[i])) break;
  }
  return merges;
}

TEST(Board, TakeBackRestoresEveryFieldAfterLongRandomGames) {
  int multi_merges = 0;
  for (int seed = 1; seed <= 4; seed++) {
    multi_merges += check_take_back_restores<256>(seed, 19);
    multi_merges += check_take_back_restores<32>(seed, 19);
    multi_merges += check_take_back_restores<256>(seed + 100, 9);
    multi_merges += check_take_back_restores<32>(seed + 100, 9);
  }
  EXPECT_GT(multi_merges, 0) << "no move joined three strings";
}

TEST(Board, BothFormsAgreeOnLegalityAndCaptures) {
  for (int seed = 1; seed <= 6; seed++) {
    engine_setup(seed % 2 ? 19 : 9);
    auto s = std::make_unique<SearchBoard>();
    board_reset(*s, ban_size);
    std::mt19937 rng(seed);
    int color = BLACK;
    for (int i = 0; i < 600 && gban.ren_num < REN_MAX - 4; i++) {
      int x = 1 + int(rng() % ban_size), y = 1 + int(rng() % ban_size);
      int z = make_z(x, y), zc = zc_from_z(z);
      ASSERT_EQ(gban.ban[z], s->ban[zc]);
      if (gban.ban[z] != EMPTY) continue;
      int rg = put_stone(gban, z, color), rs = put_stone(*s, zc, color);
      ASSERT_EQ(rg, rs) << "move " << i;
      ASSERT_EQ(gban.captured[color], s->captured[color]);
      ASSERT_EQ(gban.kou_iti ? zc_from_z(gban.kou_iti) : 0, s->kou_iti);
      if (rg == PUT_OK) {
        ASSERT_EQ(gban.ren[string_of(gban, z)].lib_num, s->ren[string_of(*s, zc)].lib_num);
        color = opponent(color);
      }
    }
  }
}

class BoardRules : public ::testing::Test {
 protected:
  void SetUp() override { engine_setup(9); }
  static int at(int x, int y) { return make_z(x, y); }
  static void put(int x, int y, int c) { ASSERT_EQ(put_stone(gban, at(x, y), c), PUT_OK); }
};

TEST_F(BoardRules, KoRetakeRefusedUntilAnotherMove) {
  // Black and white shapes around the ko at (5,5)/(6,5).
  put(5, 4, BLACK), put(4, 5, BLACK), put(5, 6, BLACK);
  put(6, 4, WHITE), put(7, 5, WHITE), put(6, 6, WHITE), put(5, 5, WHITE);
  put(6, 5, BLACK);  // captures (5,5)
  EXPECT_EQ(gban.kou_iti, at(5, 5));
  Hash96 h = gban.hash;
  EXPECT_EQ(put_stone(gban, at(5, 5), WHITE), PUT_KO);
  EXPECT_TRUE(gban.hash == h);
  put(1, 1, WHITE);
  EXPECT_EQ(gban.kou_iti, 0);
  put(1, 9, BLACK);
  EXPECT_EQ(put_stone(gban, at(5, 5), WHITE), PUT_OK);
}

TEST_F(BoardRules, CaptureByStoneJoiningOwnStringSetsNoKo) {
  put(2, 1, BLACK), put(1, 2, WHITE), put(2, 2, WHITE), put(3, 1, WHITE);
  // White takes (2,1) with a stone at (1,1) that joins (1,2).
  put(1, 1, WHITE);
  EXPECT_EQ(gban.ban[at(2, 1)], EMPTY);
  EXPECT_EQ(gban.kou_iti, 0);
}

TEST_F(BoardRules, SuicideRefusedAndBoardUnchanged) {
  put(2, 1, WHITE), put(1, 2, WHITE);
  Hash96 h = gban.hash;
  int ren = gban.ren_num;
  EXPECT_EQ(put_stone(gban, at(1, 1), BLACK), PUT_SUICIDE);
  EXPECT_TRUE(gban.hash == h);
  EXPECT_EQ(gban.ren_num, ren);
  EXPECT_EQ(gban.ban[at(1, 1)], EMPTY);
  // Filling the own last liberty is legal when it captures.
  put(3, 1, BLACK), put(2, 2, BLACK), put(1, 3, BLACK);
  EXPECT_EQ(put_stone(gban, at(1, 1), BLACK), PUT_OK);
  EXPECT_EQ(gban.ban[at(2, 1)], EMPTY);
  EXPECT_EQ(gban.ban[at(1, 2)], EMPTY);
}

TEST(Keys, SearchBoardKeysFollowXorshift128) {
  make_hashboard64();
  EXPECT_EQ(hashboard64[0][0].v, 0xDCA345EA1B5116E6ull);
  EXPECT_EQ(hashboard64[671][4].v, 0xB41A958FEC6F4959ull);
}

TEST(Keys, LoadedSearchBoardKeyIsIndependentOfMoveOrder) {
  engine_setup(9);
  auto s1 = std::make_unique<SearchBoard>(), s2 = std::make_unique<SearchBoard>();
  const int a = make_z(3, 3), b = make_z(7, 7), c = make_z(3, 7), d = make_z(7, 3);
  put_stone(gban, a, BLACK), put_stone(gban, b, WHITE), put_stone(gban, c, BLACK);
  load_search_board(*s1, gban, BLACK);
  engine_setup(9);
  put_stone(gban, c, BLACK), put_stone(gban, 0, WHITE), put_stone(gban, a, BLACK), put_stone(gban, b, WHITE);
  put_stone(gban, d, BLACK);
  take_back(gban, d, BLACK);
  load_search_board(*s2, gban, BLACK);
  EXPECT_EQ(s1->hash.v, s2->hash.v);
  load_search_board(*s2, gban, WHITE);
  EXPECT_NE(s1->hash.v, s2->hash.v) << "side to move must change the key";
  // Playing on the loaded board keeps hash consistent with a fresh load.
  put_stone(*s1, zc_from_z(d), WHITE);
  put_stone(gban, d, WHITE);
  load_search_board(*s2, gban, WHITE);
  EXPECT_EQ(s1->hash.v, s2->hash.v);
}

TEST(Board, CompactStringsKeepsStringsAndEnemies) {
  engine_setup(9);
  auto s = std::make_unique<SearchBoard>();
  board_reset(*s, 9);
  std::mt19937 rng(7);
  random_game(*s, rng, 120);
  std::vector<int> libs_before;
  for (int p = 0; p < SearchBoard::ARRAY; p++) {
    if (s->ban[p] == BLACK || s->ban[p] == WHITE) libs_before.push_back(s->ren[string_of(*s, p)].lib_num);
  }
  compact_strings(*s);
  std::vector<int> libs_after;
  for (int p = 0; p < SearchBoard::ARRAY; p++) {
    if (s->ban[p] != BLACK && s->ban[p] != WHITE) continue;
    int n = s->ren_no[p];
    ASSERT_EQ(s->ren[n].id, n) << "stone not pointing at a live record";
    ASSERT_EQ(s->ren[n].color, s->ban[p]);
    libs_after.push_back(s->ren[n].lib_num);
    for (int i = 0; i < s->ren[n].enemy_num; i++) {
      int e = s->ren[n].enemy[i];
      ASSERT_TRUE(e >= 1 && e <= s->ren_num && s->ren[e].color == opponent(s->ren[n].color));
    }
  }
  EXPECT_EQ(libs_before, libs_after);
}

}  // namespace
