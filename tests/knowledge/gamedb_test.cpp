#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "knowledge/gamedb.h"
#include "support/engine_setup.h"

namespace {

HappoRecord game(std::initializer_list<std::pair<int, int>> moves, int result, const char* date) {
  HappoRecord r{};
  int k = 0;
  for (auto [x, y] : moves) r.moves[k++] = int16_t(make_z(x, y));
  r.move_num = k;
  r.result = result;
  snprintf(r.date, sizeof r.date, "%s", date);
  snprintf(r.black, sizeof r.black, "B%s", date);
  return r;
}

void play(int x, int y, int color) { ASSERT_EQ(put_stone(gban, make_z(x, y), color), PUT_OK); }

}  // namespace

TEST(GameDb, whole_board_search_finds_games_in_any_orientation_and_maps_the_next_move_back) {
  engine_setup(19);
  std::vector<HappoRecord> db;
  db.push_back(game({{16, 4}, {4, 17}, {16, 16}, {4, 4}}, 1, "2001-05-01"));   // as on the board
  db.push_back(game({{4, 16}, {16, 3}, {4, 4}, {16, 16}}, 2, "1999-01-01"));   // turned 180 degrees
  db.push_back(game({{4, 4}, {16, 17}, {4, 16}, {16, 4}}, 1, "2010-01-01"));   // mirrored
  db.push_back(game({{4, 4}, {16, 17}, {4, 16}}, 1, "2005-01-01"));            // ends there: no next move
  db.push_back(game({{16, 4}, {4, 17}, {16, 16}, {10, 10}}, 0, "2004-01-01"));
  db.back().excluded = 1;
  gamedb_use(db);
  play(16, 4, BLACK);
  play(4, 17, WHITE);
  play(16, 16, BLACK);
  uint64_t keys[16];
  happo_target_keys(keys);
  EXPECT_EQ(std::set<uint64_t>(keys, keys + 16).size(), 16u);  // a position without symmetry
  HappoResult r = happo_search(HAPPO_WHOLE);
  ASSERT_TRUE(r.loaded);
  ASSERT_EQ(r.total, 3);
  EXPECT_EQ(r.next_count[make_z(4, 4)], 3);  // the same move in every orientation
  EXPECT_EQ(r.result_count[1], 2);
  EXPECT_EQ(r.result_count[2], 1);
  ASSERT_EQ(r.list.size(), 3u);
  EXPECT_EQ(r.list[0].record, 1);  // sorted by date
  EXPECT_EQ(r.list[2].record, 2);
  EXPECT_EQ(r.list[2].target, 4);  // mirror without rotation
}

TEST(GameDb, corner_search_matches_one_quadrant_of_a_game) {
  engine_setup(19);
  std::vector<HappoRecord> db;
  db.push_back(game({{4, 16}, {4, 4}, {16, 4}, {14, 3}, {17, 6}}, 1, "2001"));
  gamedb_use(db);
  play(16, 4, BLACK);
  play(14, 3, WHITE);
  EXPECT_EQ(happo_search(HAPPO_WHOLE).total, 0);
  HappoResult r = happo_search(HAPPO_CORNER);
  ASSERT_EQ(r.total, 1);
  EXPECT_EQ(r.list[0].next, make_z(17, 6));
}

TEST(GameDb, reader_takes_any_whole_number_of_records_and_ignores_a_torn_tail) {
  engine_setup(19);
  namespace fs = std::filesystem;
  fs::create_directories("gamedb_test_dir");
  {
    std::ofstream f("gamedb_test_dir/happo.db", std::ios::binary);
    HappoRecord a = game({{16, 4}}, 1, "a"), b = game({{4, 4}}, 2, "b");
    b.move_num = 5000;  // damaged: never read past its moves
    HappoRecord c = game({{16, 4}}, 1, "c");
    c.moves[0] = 0x00ff, c.moves[1] = -7;  // damaged moves: no stone, no next move
    c.move_num = 3;
    f.write(reinterpret_cast<char*>(&a), sizeof a);
    f.write(reinterpret_cast<char*>(&b), sizeof b);
    f.write(reinterpret_cast<char*>(&c), sizeof c);
    f.write("torn", 4);
  }
  gamedb_set_folder("gamedb_test_dir");
  ASSERT_TRUE(gamedb_ready());
  ASSERT_EQ(gamedb_records().size(), 3u);
  EXPECT_TRUE(gamedb_records()[1].excluded);
  HappoResult r = happo_search(HAPPO_WHOLE);  // the empty board matches games a and c at move 0
  EXPECT_EQ(r.total, 2);
  EXPECT_EQ(r.next_count[0], 1);
  EXPECT_EQ(happo_game_path(0), "gamedb_test_dir/1.sgf");
  gamedb_set_folder("no_such_folder");
  EXPECT_FALSE(gamedb_ready());
  EXPECT_FALSE(happo_search(HAPPO_WHOLE).loaded);
  fs::remove_all("gamedb_test_dir");
  gamedb_set_folder("");
}

TEST(GameDb, builder_writes_records_and_game_files) {
  engine_setup(19);
  namespace fs = std::filesystem;
  {
    std::ofstream f("gamedb_build_test.sgf", std::ios::binary);
    f << "(;GM[1]SZ[19]PB[Black one]PW[White one]DT[2020-01-02]RE[W+R];B[pd];W[dp])\n"
         "(;GM[1]SZ[9]PB[small];B[ee])\n"
         "(;GM[1]SZ[19]AB[dd][pp];W[pd])\n";
  }
  ASSERT_EQ(build_gamedb({"gamedb_build_test.sgf"}, "gamedb_build_out", stdout), 0);
  gamedb_set_folder("gamedb_build_out");
  ASSERT_TRUE(gamedb_ready());
  const auto& r = gamedb_records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_FALSE(r[0].excluded);
  EXPECT_EQ(r[0].move_num, 2);
  EXPECT_EQ(r[0].moves[0], make_z(16, 4));
  EXPECT_EQ(r[0].result, 2);
  EXPECT_STREQ(r[0].black, "Black one");
  EXPECT_STREQ(r[0].date, "2020-01-02");
  EXPECT_TRUE(r[1].excluded);  // not 19x19
  EXPECT_TRUE(r[2].excluded);  // handicap stones
  // The opening of the first game finds it, with its next move.
  play(16, 4, BLACK);
  HappoResult found = happo_search(HAPPO_WHOLE);
  ASSERT_EQ(found.total, 1);
  EXPECT_EQ(found.list[0].record, 0);
  EXPECT_EQ(found.list[0].next, make_z(4, 16));
  EXPECT_TRUE(fs::exists("gamedb_build_out/1.sgf"));
  EXPECT_TRUE(fs::exists("gamedb_build_out/3.sgf"));
  fs::remove_all("gamedb_build_out");
  remove("gamedb_build_test.sgf");
  gamedb_set_folder("");
}

TEST(GameDb, stopped_build_leaves_the_old_database_and_its_game_files_as_they_were) {
  namespace fs = std::filesystem;
  {
    std::ofstream f("gamedb_stop_test.sgf", std::ios::binary);
    for (int i = 0; i < 5; i++) f << "(;GM[1]SZ[19]PB[new" << i << "];B[pd];W[dp])\n";
  }
  fs::create_directories("gamedb_stop_out");
  {
    std::ofstream db("gamedb_stop_out/happo.db", std::ios::binary);
    db << "old database";
    std::ofstream game("gamedb_stop_out/1.sgf", std::ios::binary);
    game << "old game";
  }
  long heard = 0;
  EXPECT_EQ(build_gamedb({"gamedb_stop_test.sgf"}, "gamedb_stop_out", stdout,
                         [&](long games) {
                           heard = games;
                           return games < 2;
                         }),
            1);
  EXPECT_EQ(heard, 2);
  auto text = [](const char* path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  EXPECT_EQ(text("gamedb_stop_out/happo.db"), "old database");
  EXPECT_EQ(text("gamedb_stop_out/1.sgf"), "old game");
  EXPECT_FALSE(fs::exists("gamedb_stop_out/2.sgf"));
  EXPECT_EQ(std::distance(fs::directory_iterator("gamedb_stop_out"), fs::directory_iterator()), 2);
  // Built to the end, the new files replace the old ones.
  ASSERT_EQ(build_gamedb({"gamedb_stop_test.sgf"}, "gamedb_stop_out", stdout, [](long) { return true; }), 0);
  EXPECT_EQ(fs::file_size("gamedb_stop_out/happo.db"), 5u * HAPPO_RECORD_BYTES);
  EXPECT_NE(text("gamedb_stop_out/1.sgf"), "old game");
  EXPECT_FALSE(fs::exists("gamedb_stop_out/.happo-build.tmp"));
  fs::remove_all("gamedb_stop_out");
  remove("gamedb_stop_test.sgf");
}
