#include "mc/simple_mc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/internal_stop.h"
#include "core/think.h"
#include "knowledge/gtp_genmove.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

// Rows top to bottom: 'X' black, 'O' white, anything else empty.
void setup_position(std::initializer_list<const char*> rows) {
  const int size = int(rows.size());
  engine_setup(size);
  int y = 1;
  for (const char* row : rows) {
    for (int x = 1; x <= size; x++) {
      initial_ban[size][make_z(x, y)] = int8_t(row[x - 1] == 'X' ? BLACK : row[x - 1] == 'O' ? WHITE : EMPTY);
    }
    y++;
  }
  init_ban();
  kifu_clear();
  simple_mc_seed(12345);
}

// Black owns 15 points with two eyes, White 10 with two eyes: nothing is left to play.
void finished_position() {
  setup_position({"XXXOO", ".XXO.", "XXXOO", ".XXO.", "XXXOO"});
}

// White's three-point eye space in the right column lives or dies at (5,3).
void vital_point_position() {
  setup_position({"XXXOO", ".XXO.", "XXXO.", ".XXO.", "XXXOO"});
}

class SimpleMc : public ::testing::Test {
 protected:
  void TearDown() override {
    komi = 6.5;
    think_time_limit = 2.0;
    think_stop = 0;
  }
  void start_clock(double seconds) {
    think_time_limit = seconds;
    think_start_clock();
  }
};

TEST_F(SimpleMc, playout_scores_a_finished_position_without_filling_eyes) {
  finished_position();
  int length = -1;
  EXPECT_EQ(simple_playout(BLACK, &length), 5);
  EXPECT_EQ(length, 2);  // both sides pass: every empty point is an own eye or suicide
  EXPECT_EQ(simple_playout(WHITE), 5);
  EXPECT_EQ(simple_area_score(), 5);
}

TEST_F(SimpleMc, playouts_end_within_the_limit_and_restore_the_board) {
  setup_position({".........", ".........", "..X.O....", ".........", "....X....", "...O.....",
                  ".........", ".........", "........."});
  GlobalBoard* before = new GlobalBoard;
  std::memcpy(static_cast<void*>(before), &gban, sizeof gban);
  for (int i = 0; i < 300; i++) {
    int length = 0;
    int score = simple_playout(i & 1 ? WHITE : BLACK, &length);
    ASSERT_LE(std::abs(score), 81);
    ASSERT_GT(length, 20);
    ASSERT_LE(length, 3 * 81);
    ASSERT_EQ(gban.hash, before->hash);
    ASSERT_EQ(gban.fukasa, before->fukasa);
    ASSERT_EQ(gban.kou_iti, before->kou_iti);
    ASSERT_EQ(std::memcmp(gban.ban, before->ban, sizeof gban.ban), 0);
  }
  delete before;
}

TEST_F(SimpleMc, flat_choice_black_most_white_fewest_by_share_and_pass_on_a_tie) {
  const int a = make_z(1, 1), b = make_z(2, 1), c = make_z(3, 1);
  FlatCandidate list[] = {{0, 500, 1000}, {a, 700, 1000}, {b, 200, 1000}, {c, 700, 1000}};
  EXPECT_EQ(flat_mc_choose(list, 4, BLACK), a);  // earliest of the two best
  EXPECT_EQ(flat_mc_choose(list, 4, WHITE), b);

  // After a clock stop the counts differ: shares decide, and a candidate that
  // got no games is not White's "fewest wins".
  FlatCandidate stopped[] = {{0, 60, 100}, {a, 50, 90}, {b, 55, 90}, {c, 0, 0}};
  EXPECT_EQ(flat_mc_choose(stopped, 4, BLACK), b);
  EXPECT_EQ(flat_mc_choose(stopped, 4, WHITE), a);

  FlatCandidate tie[] = {{a, 300, 1000}, {b, 30, 100}, {c, 0, 0}};
  EXPECT_EQ(flat_mc_choose(tie, 3, BLACK), 0);
  EXPECT_EQ(flat_mc_choose(tie, 3, WHITE), 0);
  EXPECT_EQ(flat_mc_choose(tie, 0, BLACK), 0);
}

TEST_F(SimpleMc, flat_level_takes_the_vital_point_for_either_colour) {
  komi = 10.5;  // Black wins only by killing White
  vital_point_position();
  start_clock(60);
  EXPECT_EQ(flat_mc_think(BLACK), make_z(5, 3));
  EXPECT_EQ(simple_mc_stats.playouts, simple_mc_stats.candidates * FLAT_PLAYOUTS);
  EXPECT_GT(latest_value, 0.9);
  start_clock(60);
  EXPECT_EQ(flat_mc_think(WHITE), make_z(5, 3));
  EXPECT_GT(latest_value, 0.9);
}

TEST_F(SimpleMc, flat_level_passes_when_every_move_wins_alike) {
  vital_point_position();
  for (int color : {BLACK, WHITE}) {
    komi = color == BLACK ? -30.5 : 30.5;  // the mover wins every game whatever it plays
    start_clock(60);
    EXPECT_EQ(flat_mc_think(color), 0);
    EXPECT_GT(simple_mc_stats.candidates, 3);
  }
}

TEST_F(SimpleMc, bandit_node_value_weights_the_best_visited_move) {
  HASH_MC node{};
  node.child_num = 3;
  node.moves[0] = {0, 3, 0.5};
  node.moves[1] = {make_z(1, 1), 1, 0.9};
  node.moves[2] = {make_z(2, 1), 0, 0.0};
  node.games = 4;
  EXPECT_DOUBLE_EQ(bandit_node_value(node), (3 * 0.5 + 0.9 + 0.01 * 0.9) / (4 + 0.01));
  // On White's scale the unvisited move's 0 must not count as the best.
  node.moves[0].value = -0.5;
  node.moves[1].value = -0.2;
  EXPECT_DOUBLE_EQ(bandit_node_value(node), (3 * -0.5 - 0.2 - 0.01 * 0.2) / (4 + 0.01));
  // The lower bound prefers the move seen three times to the better one seen once.
  EXPECT_EQ(bandit_recommend(node), 0);
  node.moves[1].visits = 3;
  node.games = 6;
  EXPECT_EQ(bandit_recommend(node), 1);
}

TEST_F(SimpleMc, bandit_replaces_a_move_value_and_returns_the_node_value) {
  komi = -100.5;  // Black wins every playout
  setup_position({".....", ".....", ".....", ".....", "....."});
  hash_mc_init();
  HASH_MC* root = hash_mc_find(gban.hash, true);
  root->child_num = 2;
  root->moves[0] = {make_z(3, 3), 5, 0.3};
  root->moves[1] = {make_z(2, 2), 5, -5.0};
  root->games = 10;
  double value = bandit_search(BLACK, 0);
  EXPECT_EQ(gban.ban[make_z(3, 3)], EMPTY);
  EXPECT_DOUBLE_EQ(root->moves[0].value, 1.0);  // an average would give 0.417
  EXPECT_EQ(root->moves[0].visits, 6);
  EXPECT_EQ(root->games, 11);
  EXPECT_DOUBLE_EQ(value, (6 * 1.0 + 5 * -5.0 + 0.01 * 6 * 1.0) / (11 + 0.01 * 6));

  // A pass at the root loses 0.1.
  hash_mc_init();
  root = hash_mc_find(gban.hash, true);
  root->child_num = 1;
  root->moves[0] = {0, 1, 0.0};
  root->games = 1;
  bandit_search(BLACK, 0);
  EXPECT_DOUBLE_EQ(root->moves[0].value, 0.9);
}

TEST_F(SimpleMc, bandit_fits_9x9_and_hands_larger_boards_to_level_3) {
  engine_setup(9);
  HASH_MC node{};
  bandit_generate(node);
  EXPECT_EQ(node.child_num, MC_BORAD_SIZE);

  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto dir = std::filesystem::temp_directory_path() / "ranvel_simple_mc_test";
  std::filesystem::create_directories(dir);
  log_set_folder(dir.string() + "/");
  engine_setup(10);
  EXPECT_EXIT(bandit_generate(node), ::testing::ExitedWithCode(1), "over MC_BORAD_SIZE nokori=101");
  log_set_folder("");
  std::filesystem::remove_all(dir);

  log_clear();
  start_clock(0.3);
  int move = bandit_think(BLACK);
  EXPECT_TRUE(simple_mc_stats.fell_back);
  EXPECT_GT(simple_mc_stats.candidates, 100);
  EXPECT_NE(log_text().find("level 3 chooses this move on 10x10"), std::string::npos);
  EXPECT_TRUE(move == 0 || gban.ban[move] == EMPTY);
}

TEST_F(SimpleMc, both_levels_stop_early_on_the_clock_and_on_the_flag) {
  engine_setup(9);
  simple_mc_seed(7);
  for (auto level : {flat_mc_think, bandit_think}) {
    auto started = std::chrono::steady_clock::now();
    start_clock(0.05);
    int move = level(BLACK);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(think_stop, STOP_TIME_UP);
    EXPECT_TRUE(move == 0 || gban.ban[move] == EMPTY);
    EXPECT_EQ(gban.fukasa, 0);
  }
  EXPECT_LT(simple_mc_stats.iterations, BANDIT_ITERATIONS);

  // A flag already set: level 3 plays no game, level 4 only its one descent.
  think_stop = STOP_TIME_UP;
  EXPECT_EQ(flat_mc_think(BLACK), 0);
  EXPECT_EQ(simple_mc_stats.playouts, 0);
  bandit_think(BLACK);
  EXPECT_EQ(simple_mc_stats.iterations, 1);
}

TEST_F(SimpleMc, gtp_genmove_runs_levels_3_and_4_to_legal_moves) {
  register_genmove_commands();
  simple_mc_register_levels();
  engine_setup(5);
  simple_mc_seed(99);
  for (int level : {3, 4}) {
    ASSERT_TRUE(think_fix_level(level));
    std::string reply = send("boardsize 5\nclear_board\ngenmove b\ngenmove w\ngenmove b\n");
    EXPECT_EQ(reply.find('?'), std::string::npos) << reply;
    EXPECT_EQ(tesuu, 3);
    for (int i = 1; i <= 3; i++) EXPECT_GT(kifu[i].z, 0) << "level " << level << " move " << i;
  }
  think_fix_level(-1);
}

}  // namespace
