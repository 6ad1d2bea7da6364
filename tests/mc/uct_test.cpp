#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/think.h"
#include "knowledge/gtp_genmove.h"
#include "knowledge/reading.h"
#include "mc/ownership.h"
#include "mc/uct.h"
#include "mc/uct_register.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

int zc(int x, int y) { return y * 32 + x; }

// An empty board of the size with the playout tables made for it.
bool mc_setup(int size) {
  engine_setup(size);
  if (!load_mm3x3() || !load_hashpat_list()) return false;
  if (pattern_weight_size != size && !make_pattern_weights(size)) return false;
  make_point_class(size);
  uct_settings = UctSettings{};
  uct_make_threads();
  return true;
}

void put(int x, int y, int color) { ASSERT_EQ(put_stone(gban, make_z(x, y), color), PUT_OK); }

// Every weight, column sum and total recomputed from the board: the draw
// tables must match exactly, and undoing the temporary boosts must give the
// plain pattern weight of every empty point.
void expect_state_exact(const McBoard& mb) {
  McBoard plain = mb;
  for (int i = 0; i < plain.replace_num; i++) {
    const ReplaceEntry& e = plain.replace[i];
    if (plain.b.ban[e.z] == EMPTY) set_weight(plain, e.color, e.z, e.weight);
  }
  const int n = mb.b.size;
  for (int c = BLACK; c <= WHITE; c++) {
    int64_t total = 0;
    for (int x = 1; x <= n; x++) {
      int64_t column = 0;
      for (int y = 1; y <= n; y++) {
        const int z = zc(x, y);
        ASSERT_EQ(mb.pattern_id[z], pattern3x3_code(mb.b, z)) << "point " << x << "," << y;
        if (mb.b.ban[z] != EMPTY) {
          ASSERT_EQ(mb.weight[c][z], 0);
        } else {
          ASSERT_EQ(plain.weight[c][z], plain_weight(plain, c, z, NEIGHBOUR_NONE)) << "point " << x << "," << y;
        }
        column += mb.weight[c][z];
      }
      ASSERT_EQ(mb.column_sum[c][x], column);
      total += column;
    }
    ASSERT_EQ(mb.total[c], total);
  }
}

using Points = std::vector<std::pair<int, int>>;

// A 9x9 board with the stones (White's last move played after them, if
// any), loaded for Black to move.
void load_for_black(McBoard& mb, const Points& white, const Points& black, const Points& white_last = {}) {
  board_reset(gban, 9);
  for (auto [x, y] : white) put(x, y, WHITE);
  for (auto [x, y] : black) put(x, y, BLACK);
  for (auto [x, y] : white_last) put(x, y, WHITE);
  mc_board_load(mb, gban, BLACK, white_last.empty() ? 0 : zc(white_last[0].first, white_last[0].second), 0);
}

// A 5x5 board with nothing left to play: Black owns columns 1-2 with two
// eyes, White columns 3-5 with two eyes; Black 10 points, White 15.
void settled_5x5() {
  for (int y = 1; y <= 5; y++) {
    put(2, y, BLACK);
    put(3, y, WHITE);
    put(4, y, WHITE);
    if (y % 2) {
      put(1, y, BLACK);
      put(5, y, WHITE);
    }
  }
  store_initial_position();
  init_ban();
}

}  // namespace

TEST(UctFormulas, widening_window_grows_with_visits_and_never_below_two) {
  EXPECT_EQ(uct_width(0, 82), 2);
  EXPECT_EQ(uct_width(1, 82), 2);
  EXPECT_EQ(uct_width(40, 82), 3);
  EXPECT_EQ(uct_width(56, 82), 4);
  EXPECT_EQ(uct_width(79, 82), 5);
  EXPECT_EQ(uct_width(424, 82), 10);
  EXPECT_EQ(uct_width(12300, 362), 20);
  EXPECT_EQ(uct_width(12300, 6), 6);
  EXPECT_EQ(expansion_threshold(19), 45);
  EXPECT_EQ(expansion_threshold(13), 30);
  EXPECT_EQ(expansion_threshold(9), 21);
}

TEST(UctFormulas, rave_weight_by_board_size) {
  for (int size : {9, 13}) {
    EXPECT_DOUBLE_EQ(rave_beta(10, 50, size), std::sqrt(100.0 / 130.0));
    EXPECT_DOUBLE_EQ(rave_beta(0, 5, size), 1.0);
  }
  EXPECT_DOUBLE_EQ(rave_beta(10, 50, 19), 50.0 / (10 * (1.1111111111111112 + 0.00005 * 50) + 50));
  EXPECT_LT(rave_beta(1000, 1000, 19), rave_beta(10, 1000, 19));
}

TEST(Playout, weights_pattern_ids_and_sums_stay_exact_through_random_games) {
  for (int size : {9, 19}) {
    ASSERT_TRUE(mc_setup(size));
    auto mb = std::make_unique<McBoard>();
    McRandom rng;
    mc_random_seed(rng, 0, 11, 13);
    for (int game = 0; game < 3; game++) {
      ban_clear();
      mb->stamp = 0;
      mc_board_load(*mb, gban, BLACK, 0, 0);
      expect_state_exact(*mb);
      int color = BLACK;
      for (int move = 0; move < size * size + PLAYOUT_EXTRA_MOVES && mb->passes < 2; move++) {
        const int z = select_by_weight(*mb, color, rng);
        ASSERT_EQ(put_stone(mb->b, z, color), PUT_OK);
        update_after_move(*mb, z, color, nullptr);
        mb->b.fukasa = 0;
        if (mb->b.ren_num > REN_MAX - 8) compact_strings(mb->b);
        expect_state_exact(*mb);
        if (HasFatalFailure()) return;
        color = opponent(color);
      }
    }
  }
}

// The draw walks the column sums, then the column: it must land in the last
// column and row too, never on a point of weight 0 (a whole empty column, a
// gap in a column), and each point as often as its weight says.
TEST(Playout, draw_lands_only_on_weighted_points_in_proportion) {
  for (int size : {9, 19}) {
    ASSERT_TRUE(mc_setup(size));
    auto mb = std::make_unique<McBoard>();
    ban_clear();
    mb->stamp = 0;
    mc_board_load(*mb, gban, BLACK, 0, 0);
    for (int y = 1; y <= size; y++) {
      for (int x = 1; x <= size; x++) set_weight(*mb, BLACK, zc(x, y), 0);
    }
    mb->replace_num = 0;
    const int n = size, mid = (size + 1) / 2;
    const struct {
      int z, weight;
    } points[] = {{zc(1, 1), 1}, {zc(mid, 1), 2}, {zc(mid, n), 4}, {zc(n, n), 3}, {zc(n, mid), 5}};
    for (const auto& p : points) set_weight(*mb, BLACK, p.z, p.weight);
    McRandom rng;
    mc_random_seed(rng, 0, 3, 3);
    constexpr int DRAWS = 30000;
    std::array<int, MC_POINTS> count{};
    for (int i = 0; i < DRAWS; i++) count[size_t(select_by_weight(*mb, BLACK, rng))]++;
    int drawn = 0;
    for (const auto& p : points) {
      const double expected = DRAWS * p.weight / 15.0;
      EXPECT_NEAR(count[size_t(p.z)], expected, expected * 0.1) << "size " << size << " point " << std::hex << p.z;
      drawn += count[size_t(p.z)];
    }
    EXPECT_EQ(drawn, DRAWS) << "a draw landed on a point of weight 0";
  }
}

TEST(Playout, ends_within_its_length_and_counts_atari_strings_as_taken) {
  ASSERT_TRUE(mc_setup(9));
  auto t = std::make_unique<UctThread>();
  mc_random_seed(t->rng, 0, 5, 5);
  for (int i = 0; i < 50; i++) {
    sample_ownership(*t, BLACK, 1);
    ASSERT_LE(t->po_move_num, 9 * 9 + PLAYOUT_EXTRA_MOVES);
  }
  // A black stone in atari in White's corner: its point and liberty are White's.
  board_reset(gban, 9);
  put(1, 2, WHITE);
  put(2, 1, BLACK);
  put(3, 1, WHITE);
  put(2, 2, WHITE);
  auto sb = std::make_unique<SearchBoard>();
  load_search_board(*sb, gban, WHITE);
  int8_t owner[MC_POINTS] = {};
  const int score = count_score(*sb, owner);
  EXPECT_EQ(owner[zc(2, 1)], -1);
  EXPECT_EQ(owner[zc(1, 1)], -1);
  EXPECT_EQ(owner[zc(5, 5)], 0);
  EXPECT_EQ(owner[zc(1, 3)], -1);  // beside White and empty points only
  EXPECT_EQ(score, -9);
  // Empty points beside Black stones, the edge and empty points only are Black's.
  board_reset(gban, 9);
  put(2, 1, BLACK);
  put(1, 2, BLACK);
  put(2, 2, BLACK);
  load_search_board(*sb, gban, WHITE);
  EXPECT_EQ(count_score(*sb, owner), 8);
  EXPECT_EQ(owner[zc(1, 1)], 1);
  EXPECT_EQ(owner[zc(4, 1)], 0);
}

TEST(Playout, self_atari_of_several_stones_only_fills_eye_space_that_stays_dead) {
  ASSERT_TRUE(mc_setup(9));
  enum Answer { PLAYED, REFUSED, NOT_AS_DRAWN };
  struct Case {
    const char* what;
    Points white, black;
    std::pair<int, int> move;  // Black's
    Answer answer;
  };
  const Case cases[] = {
      {"pyramid four in White's edge eye space: dead once taken",
       {{1, 2}, {2, 2}, {4, 2}, {5, 1}, {3, 3}}, {{2, 1}, {3, 1}, {4, 1}}, {3, 2}, PLAYED},
      {"four in a row would leave White a straight four, which lives",
       {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 1}}, {{2, 1}, {3, 1}, {4, 1}}, {5, 1}, REFUSED},
      {"two stones in White's bent three in the corner", {{3, 1}, {2, 2}, {1, 3}, {3, 2}}, {{1, 1}}, {2, 1}, PLAYED},
      {"two stones in atari in the open give stones away",
       {{4, 5}, {6, 5}, {5, 6}, {4, 4}, {6, 4}}, {{5, 5}}, {5, 4}, NOT_AS_DRAWN},
      {"six stones are beyond any dead shape",
       {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 1}},
       {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, {6, 1}, REFUSED},
  };
  auto mb = std::make_unique<McBoard>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    load_for_black(*mb, c.white, c.black);
    const int z = zc(c.move.first, c.move.second);
    const int answer = filter_move(*mb, z, BLACK);
    switch (c.answer) {
      case PLAYED: EXPECT_EQ(answer, z); break;
      case REFUSED: EXPECT_EQ(answer, -1); break;
      case NOT_AS_DRAWN: EXPECT_NE(answer, z); break;
    }
  }
}

TEST(Playout, strings_left_in_atari_or_a_ladder_next_to_the_last_moves_are_taken) {
  ASSERT_TRUE(mc_setup(9));
  struct Case {
    const char* what;
    Points white, black, white_last;
    std::pair<int, int> black_move;
    Points urgent;  // White's answers
  };
  const Case cases[] = {
      {"White's last move put a stone in atari and Black played elsewhere",
       {{4, 5}, {6, 5}}, {{5, 5}}, {{5, 4}}, {8, 8}, {{5, 6}}},
      {"White's last move left two stones in a ladder and Black played elsewhere",
       {{1, 2}, {1, 3}, {2, 1}}, {{2, 2}, {2, 3}}, {{2, 4}}, {8, 8}, {{3, 2}, {3, 3}}},
      {"a string diagonal to Black's move is in a ladder",
       {{2, 3}, {2, 4}, {3, 2}, {3, 5}}, {{3, 3}, {3, 4}}, {{8, 2}}, {2, 2}, {{4, 3}, {4, 4}}},
  };
  auto mb = std::make_unique<McBoard>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    load_for_black(*mb, c.white, c.black, c.white_last);
    ASSERT_EQ(mc_play(*mb, zc(c.black_move.first, c.black_move.second), BLACK, nullptr), PUT_OK);
    for (auto [x, y] : c.urgent) {
      const int z = zc(x, y);
      EXPECT_GT(mb->weight[WHITE][z], 100 * plain_weight(*mb, WHITE, z, NEIGHBOUR_NONE)) << x << "," << y;
    }
  }
}

TEST(Playout, settled_board_passes_twice_and_a_draw_alternates_the_winner) {
  ASSERT_TRUE(mc_setup(5));
  settled_5x5();
  auto t = std::make_unique<UctThread>();
  mc_random_seed(t->rng, 0, 3, 3);
  uct_komi = -5;  // the board's count exactly
  sample_ownership(*t, BLACK, 10);
  EXPECT_EQ(t->po_move_num, 2);
  EXPECT_EQ(t->po_moves[0], 0);
  EXPECT_EQ(t->own.wins[BLACK], 5);
  EXPECT_EQ(t->own.wins[WHITE], 5);
  uct_komi = -5.5;
  sample_ownership(*t, BLACK, 4);
  EXPECT_EQ(t->own.wins[BLACK], 4);
  uct_komi = 6.5;
}

TEST(NodeTable, two_move_orders_reach_one_node_and_a_new_search_starts_empty) {
  ASSERT_TRUE(mc_setup(9));
  init_hash_go();
  auto a = std::make_unique<SearchBoard>(), b = std::make_unique<SearchBoard>();
  load_search_board(*a, gban, WHITE);
  load_search_board(*b, gban, WHITE);
  using Move = std::array<int, 3>;
  for (const Move& m : {Move{3, 3, BLACK}, Move{7, 7, WHITE}, Move{5, 5, BLACK}}) put_stone(*a, zc(m[0], m[1]), m[2]);
  for (const Move& m : {Move{5, 5, BLACK}, Move{7, 7, WHITE}, Move{3, 3, BLACK}}) put_stone(*b, zc(m[0], m[1]), m[2]);
  HashGo* first = find_node(a->hash.v);
  ASSERT_FALSE(first->used);
  create_node_children(first, a->hash.v, WHITE, 9);
  EXPECT_EQ(first->child_num, 82);
  EXPECT_EQ(first->child[0].iti, 0);
  EXPECT_EQ(first->child[1].iti, zc(1, 1));
  unlock_node(first);
  HashGo* second = find_node(b->hash.v);
  EXPECT_EQ(second, first);
  EXPECT_TRUE(second->used);
  unlock_node(second);
  EXPECT_EQ(hash_go_use.load(), 1);
  init_hash_go();
  EXPECT_EQ(hash_go_use.load(), 0);
  EXPECT_FALSE(hash_go_table[0].used);
}

TEST(NodeTable, full_at_ninety_percent) {
  init_hash_go(HASH_GO_MIN_SIZE);
  hash_go_use = HASH_GO_MIN_SIZE * 90 / 100 - 1;
  EXPECT_EQ(hash_full(), 0);
  hash_go_use = HASH_GO_MIN_SIZE * 90 / 100;
  EXPECT_EQ(hash_full(), 1);
  hash_go_use = 0;
}

TEST(NodeTable, swap_scroll_moves_one_child_forward_keeping_the_others_in_order) {
  init_hash_go();
  HashGo* node = find_node(12345);
  create_node_children(node, 12345, BLACK, 5);
  swap_scroll(node, 7, 2);
  const int expected[9] = {0, zc(1, 1), zc(2, 2), zc(2, 1), zc(3, 1), zc(4, 1), zc(5, 1), zc(1, 2), zc(3, 2)};
  for (int i = 0; i < 9; i++) EXPECT_EQ(node->child[i].iti, expected[i]) << i;
  unlock_node(node);
}

// Black plays a (a two-stone self-atari), White takes two at b, Black
// retakes one at c: the stones are as before a. The tree must not play c
// there; it plays the least visited other child instead.
TEST(TreePolicy, superko_repetition_plays_the_least_visited_child_instead) {
  ASSERT_TRUE(mc_setup(9));
  put(2, 1, BLACK);
  put(2, 2, WHITE);
  put(1, 2, WHITE);
  put(4, 1, BLACK);
  put(3, 2, BLACK);
  store_initial_position();
  init_ban();
  init_hash_go();
  UctThread& t = *uct_local[0];
  uct_thread_reset_stats(t);
  mc_board_load(t.root, gban, BLACK, 0, 0);
  mc_board_copy(t.tree, t.root);
  memset(t.tree_first, 0, sizeof t.tree_first);
  const int a = zc(1, 1), b = zc(3, 1), c = zc(2, 1), d = zc(7, 7), e = zc(8, 8);
  t.path[0] = {a, BLACK, t.tree.b.hash.v};
  ASSERT_EQ(mc_play(t.tree, a, BLACK, nullptr), PUT_OK);
  t.path[1] = {b, WHITE, t.tree.b.hash.v};
  ASSERT_EQ(mc_play(t.tree, b, WHITE, nullptr), PUT_OK);
  ASSERT_EQ(t.tree.b.ban[c], EMPTY);
  t.depth = 2;
  uct_root_color = BLACK;
  HashGo* node = find_node(t.tree.b.hash.v);
  create_node_children(node, t.tree.b.hash.v, BLACK, 9);
  node->child_num = 3;
  node->child[0] = {c, 0, 0.0f, 0, 0.0f};
  node->child[1] = {d, 60, 0.5f, 0, 0.0f};
  node->child[2] = {e, 30, 0.5f, 0, 0.0f};
  node->games_sum = 90;
  node->sort_done = 1;
  unlock_node(node);
  uct_search(t, BLACK);
  EXPECT_EQ(node->child[0].games, 0);
  EXPECT_EQ(node->child[1].games, 60);
  EXPECT_EQ(node->child[2].games, 31);
  EXPECT_EQ(node->games_sum, 91);
}

class RootChoice : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mc_setup(9)); }
  // A prepared root for color with the given children (move, games, win rate).
  UctThread& root_with(int color, std::initializer_list<std::array<double, 3>> children) {
    init_hash_go();
    UctThread& t = *uct_local[0];
    uct_thread_reset_stats(t);
    mc_board_load(t.root, gban, color, 0, 0);
    uct_root_color = color;
    HashGo* node = find_node(t.root.b.hash.v);
    create_node_children(node, t.root.b.hash.v, color, 9);
    node->child_num = 0;
    for (auto [move, games, rate] : children) {
      const float value = float(color == WHITE ? rate - 1 : rate);
      node->child[node->child_num++] = {int(move), int(games), value, 0, 0.0f};
      node->games_sum += int(games);
    }
    node->sort_done = 1;
    unlock_node(node);
    return t;
  }
  // Ownership as if every point were settled for Black (1), for White (-1)
  // or undecided (0).
  void settle(UctThread& t, int owner) {
    t.mc_sims = 100;
    for (int y = 1; y <= 9; y++) {
      for (int x = 1; x <= 9; x++) t.own.sum[zc(x, y)] = owner * 100;
    }
  }
};

TEST_F(RootChoice, fewer_visits_with_a_higher_win_rate_replace_the_most_visited) {
  for (int color : {BLACK, WHITE}) {
    UctThread& t = root_with(color, {{double(zc(3, 3)), 600, 0.4}, {double(zc(5, 5)), 300, 0.9}, {0, 10, 0.2}});
    settle(t, 0);
    EXPECT_EQ(select_root(t), zc(5, 5)) << color;
    EXPECT_NEAR(uct_latest_win_rate, color == BLACK ? 0.9 : 0.1, 1e-6);
  }
  // 0.45 of the best's visits' worth of wins is not enough against 0.5.
  UctThread& t = root_with(BLACK, {{double(zc(3, 3)), 600, 0.5}, {double(zc(5, 5)), 300, 0.9}});
  settle(t, 0);
  EXPECT_EQ(select_root(t), zc(3, 3));
}

TEST_F(RootChoice, resigns_below_fifteen_percent) {
  UctThread& t = root_with(WHITE, {{double(zc(3, 3)), 600, 0.14}, {double(zc(5, 5)), 10, 0.16}});
  settle(t, 0);
  EXPECT_EQ(select_root(t), -1);
  UctThread& u = root_with(WHITE, {{double(zc(3, 3)), 600, 0.16}, {double(zc(5, 5)), 10, 0.1}});
  settle(u, 0);
  EXPECT_EQ(select_root(u), zc(3, 3));
  // Behind against a dynamic komi eased in its favour it resigns; ahead, with
  // the komi raised against it, it plays on.
  for (int color : {BLACK, WHITE}) {
    for (double shift : {-20.0, 20.0}) {
      uct_komi_shift = shift;
      UctThread& v = root_with(color, {{double(zc(3, 3)), 600, 0.1}});
      settle(v, 0);
      const bool eased = color == BLACK ? shift < 0 : shift > 0;
      EXPECT_EQ(select_root(v), eased ? -1 : zc(3, 3)) << color << " " << shift;
    }
  }
  uct_komi_shift = 0;
}

TEST_F(RootChoice, answers_a_late_pass_with_a_pass_when_the_board_is_settled) {
  UctThread& t = root_with(BLACK, {{double(zc(3, 3)), 600, 0.6}, {0, 10, 0.5}});
  // 24 moves played elsewhere (only the record is read), White passed last.
  for (int i = 1; i <= 24; i++) kifu[i] = {make_z(1 + i % 9, 1 + i / 9), i % 2 ? BLACK : WHITE, 0};
  kifu[24].z = 0;
  tesuu = 24;
  settle(t, 1);
  EXPECT_EQ(select_root(t), 0);
  // The same with the board undecided, or settled for White: play on.
  for (int owner : {0, -1}) {
    UctThread& u = root_with(BLACK, {{double(zc(3, 3)), 600, 0.6}, {0, 10, 0.5}});
    settle(u, owner);
    EXPECT_EQ(select_root(u), zc(3, 3)) << owner;
  }
  // A sure win that passing keeps: pass at once.
  tesuu = 0;
  UctThread& w = root_with(BLACK, {{double(zc(3, 3)), 600, 0.97}, {0, 400, 0.97}});
  settle(w, 1);
  EXPECT_EQ(select_root(w), 0);
}

TEST(Search, two_threads_leave_every_node_consistent) {
  ASSERT_TRUE(mc_setup(9));
  set_kifu_time(make_z(3, 3), BLACK, 0);
  set_kifu_time(make_z(7, 7), WHITE, 0);
  set_kifu_time(make_z(3, 7), BLACK, 0);
  uct_settings.threads = 2;
  uct_settings.playouts = 1500;
  uct_settings.time_stop = false;
  think_start_clock();
  kifu_tejun_set();
  const int move = uct_root(WHITE);
  EXPECT_TRUE(move >= 0 && (move == 0 || gban.ban[move] == EMPTY));
  EXPECT_EQ(uct_local[0]->mc_sims + uct_local[1]->mc_sims >= 2 * 1500, true);
  int nodes = 0;
  for (int i = 0; i < Hash_Go_Table_Size; i++) {
    const HashGo& n = hash_go_table[i];
    if (!n.used) continue;
    nodes++;
    long games = 0;
    for (int k = 0; k < n.child_num; k++) games += n.child[k].games;
    ASSERT_EQ(n.virtual_loss_count, 0);
    ASSERT_EQ(n.games_sum, games);
    ASSERT_EQ(n.lock, 0);
  }
  EXPECT_EQ(nodes, hash_go_use.load());
  uct_settings = UctSettings{};
}

// The search reads short strings near the root at its own depth; the
// analysis and the scoring that read after it (final_score after genmove,
// the editor's judgement) must find the depth they were configured with.
TEST(Search, leaves_the_readers_depth_as_it_found_it) {
  ASSERT_TRUE(mc_setup(9));
  // White E5 has two liberties left.
  for (auto [x, y, c] : {std::tuple{5, 5, WHITE}, {4, 5, BLACK}, {6, 5, BLACK}, {5, 6, BLACK}}) {
    set_kifu_time(make_z(x, y), c, 0);
  }
  uct_settings.playouts = 300;
  uct_settings.time_stop = false;
  think_start_clock();
  kifu_tejun_set();
  uct_root(WHITE);
  EXPECT_EQ(reading_state(0).max_depth, READ_DEPTH_MAX);
  uct_settings = UctSettings{};
}

// A long record (300 moves, here passes) must not cut the tree or the
// playouts short: both count from the searched position, not the game start.
TEST(Search, a_long_record_still_grows_the_tree_and_plays_playouts_to_the_end) {
  ASSERT_TRUE(mc_setup(9));
  for (int i = 0; i < 300; i++) set_kifu_time(0, i % 2 ? WHITE : BLACK, 0);
  uct_settings.playouts = 1500;
  uct_settings.time_stop = false;
  think_start_clock();
  kifu_tejun_set();
  uct_root(BLACK);
  const UctThread& t = *uct_local[0];
  EXPECT_GE(t.max_uct_depth, 3);
  EXPECT_GT(t.po_move_num, 40);
  EXPECT_EQ(t.po_moves[t.po_move_num - 1], 0);  // ended by two passes
  uct_settings = UctSettings{};
}

TEST(Search, level7_over_gtp_plays_legal_moves_and_reports_a_win_rate) {
  ASSERT_TRUE(mc_setup(9));
  std::string why;
  ASSERT_TRUE(uct_register_level(1, 600, why)) << why;
  ASSERT_TRUE(think_fix_level(7));
  register_genmove_commands();
  const std::string out = send("boardsize 9\nclear_board\nkomi 6.5\nplay b E5\nreg_genmove w\ngenmove w\n"
                               "miro-latest_winrate\n");
  think_fix_level(-1);
  uct_settings = UctSettings{};
  ASSERT_EQ(tesuu, 2) << out;  // reg_genmove only told its move
  EXPECT_NE(kifu[2].z, 0);
  const size_t rate_at = out.rfind("= ");
  const double rate = atof(out.c_str() + rate_at + 2);
  EXPECT_GT(rate, 0.0);
  EXPECT_LT(rate, 1.0);
}

TEST(BigPatternKeys, kept_move_by_move_equal_the_keys_made_from_scratch) {
  ASSERT_TRUE(mc_setup(19));
  auto mb = std::make_unique<McBoard>();
  auto kept = std::make_unique<BigPatternKeys>(), fresh = std::make_unique<BigPatternKeys>();
  McRandom rng;
  mc_random_seed(rng, 0, 21, 21);
  mb->stamp = 0;
  mc_board_load(*mb, gban, BLACK, 0, 0);
  big_keys_init(*kept, mb->b);
  int color = BLACK, captures = 0;
  for (int move = 0; move < 400 && mb->passes < 2; move++) {
    const int z = select_by_weight(*mb, color, rng);
    ASSERT_EQ(put_stone(mb->b, z, color), PUT_OK);
    captures += tyokuzen_get_num(mb->b);
    big_keys_after_move(*kept, mb->b, z, color);
    update_after_move(*mb, z, color, nullptr);
    color = opponent(color);
  }
  EXPECT_GT(captures, 0);
  big_keys_init(*fresh, mb->b);
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) {
      for (int v = 0; v < 2; v++) {
        for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) {
          ASSERT_EQ(kept->key[v][s][zc(x, y)], fresh->key[v][s][zc(x, y)]) << x << "," << y << " size " << s;
        }
      }
      EXPECT_DOUBLE_EQ(big_pattern_factor_keys(*kept, zc(x, y), WHITE), big_pattern_factor(mb->b, zc(x, y), WHITE));
    }
  }
}
