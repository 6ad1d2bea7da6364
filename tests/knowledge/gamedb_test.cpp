#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "knowledge/gamedb.h"
#include "support/engine_setup.h"
#include "support/files.h"

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

// The scan at its plainest: every position of every game, every quadrant at
// every move. Record index -> (move, target key index).
std::map<int, std::pair<int, int>> plain_scan(const std::vector<HappoRecord>& db, int mode) {
  uint64_t targets[16];
  happo_target_keys(targets);
  auto target_of = [&](uint64_t key) {
    for (int i = 0; i < 16; i++)
      if (targets[i] == key) return i;
    return -1;
  };
  const int n = gban.size, m = n / 2 + 1;
  std::map<int, std::pair<int, int>> found;
  for (int i = 0; i < int(db.size()); i++) {
    if (db[i].excluded) continue;
    uint64_t whole = 0, quadrant[4] = {};
    for (int k = 0; k < db[i].move_num; k++) {
      int hit = -1;
      if (mode == HAPPO_WHOLE) hit = target_of(whole);
      for (int q = 0; q < 4 && mode == HAPPO_CORNER && hit < 0; q++) hit = target_of(quadrant[q]);
      if (hit >= 0) {
        found[i] = {k, hit};
        break;
      }
      const int z = db[i].moves[k], x = z_x(z), y = z_y(z);
      if (z <= 0 || z >= HAPPO_POINTS || x < 1 || y < 1 || x > n || y > n) continue;
      const uint64_t key = hashboard64[zc_from_z(z)][(k & 1) ? WHITE : BLACK].v;
      whole ^= key;
      if (x != m && y != m) quadrant[(y > m ? 2 : 0) + (x > m ? 1 : 0)] ^= key;
    }
  }
  return found;
}

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
  EXPECT_EQ(read_text("gamedb_stop_out/happo.db"), "old database");
  EXPECT_EQ(read_text("gamedb_stop_out/1.sgf"), "old game");
  EXPECT_FALSE(fs::exists("gamedb_stop_out/2.sgf"));
  EXPECT_EQ(std::distance(fs::directory_iterator("gamedb_stop_out"), fs::directory_iterator()), 2);
  // Built to the end, the new files replace the old ones.
  ASSERT_EQ(build_gamedb({"gamedb_stop_test.sgf"}, "gamedb_stop_out", stdout, [](long) { return true; }), 0);
  EXPECT_EQ(fs::file_size("gamedb_stop_out/happo.db"), 5u * HAPPO_RECORD_BYTES);
  EXPECT_NE(read_text("gamedb_stop_out/1.sgf"), "old game");
  EXPECT_FALSE(fs::exists("gamedb_stop_out/.happo-build.tmp"));
  fs::remove_all("gamedb_stop_out");
  remove("gamedb_stop_test.sgf");
}

TEST(GameDb, searches_find_the_same_games_at_the_same_moves_as_a_check_of_every_position) {
  engine_setup(19);
  std::mt19937 rng(13);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  // Games share a few openings in one corner, each turned by a symmetry, and
  // go on with passes, damaged moves, points on the centre lines and points
  // played again, the cases the scan passes over or must see.
  std::vector<std::vector<int>> openings(4);
  for (auto& o : openings) {
    for (int j = 0; j < 8; j++) {
      int z;
      do z = make_z(2 + pick(8), 2 + pick(8));
      while (std::find(o.begin(), o.end(), z) != o.end());
      o.push_back(z);
    }
  }
  std::vector<HappoRecord> db;
  for (int i = 0; i < 400; i++) {
    HappoRecord r{};
    const std::vector<int>& o = openings[pick(4)];
    const int g = pick(8), shared = pick(9);
    int k = 0;
    for (; k < shared; k++) r.moves[k] = int16_t(happo_transform(g, o[k]));
    const int length = k + pick(60);
    for (; k < length; k++) {
      const int kind = pick(20);
      if (kind == 0) r.moves[k] = 0;
      else if (kind == 1) r.moves[k] = int16_t(pick(3) == 0 ? -7 : pick(3) == 1 ? 0x00ff : 6000);
      else if (kind == 2) r.moves[k] = int16_t(make_z(10, 1 + pick(19)));
      else if (kind == 3 && k > 0) r.moves[k] = r.moves[pick(k)];
      else r.moves[k] = int16_t(make_z(1 + pick(19), 1 + pick(19)));
    }
    r.move_num = length;
    r.result = pick(3);
    r.excluded = pick(25) == 0;
    snprintf(r.date, sizeof r.date, "%04d", pick(3000));
    db.push_back(r);
  }
  gamedb_use(db);
  int compared = 0, with_matches = 0;
  for (int query = 0; query < 120; query++) {
    // The board after the first moves of a game, as a user would reach it.
    engine_setup(19);
    const HappoRecord& from = db[pick(int(db.size()))];
    const int moves = pick(std::min(from.move_num, 14) + 1);
    bool legal = true;
    for (int k = 0; k < moves && legal; k++) {
      const int z = from.moves[k];
      if (z <= 0 || z >= HAPPO_POINTS || z_x(z) < 1 || z_x(z) > 19 || z_y(z) < 1 || z_y(z) > 19) continue;
      legal = gban.ban[z] == EMPTY && put_stone(gban, z, (k & 1) ? WHITE : BLACK) == PUT_OK;
    }
    if (!legal) continue;
    for (int mode : {HAPPO_WHOLE, HAPPO_CORNER}) {
      const auto expected = plain_scan(db, mode);
      const HappoResult r = happo_search(mode);
      ASSERT_EQ(r.total, int(expected.size())) << "query " << query << " mode " << mode;
      ASSERT_EQ(r.list.size(), std::min<size_t>(expected.size(), HAPPO_LIST_MAX));
      int next_count[HAPPO_POINTS] = {};
      for (const auto& [record, at] : expected) {
        const int raw = db[record].moves[at.first];
        const bool point = raw > 0 && raw < HAPPO_POINTS && z_x(raw) >= 1 && z_x(raw) <= 19 && z_y(raw) >= 1 &&
                           z_y(raw) <= 19;
        next_count[point ? happo_transform(happo_inverse(at.second & 7), raw) : 0]++;
      }
      ASSERT_TRUE(std::equal(next_count, next_count + HAPPO_POINTS, r.next_count));
      for (const HappoMatch& m : r.list) {
        ASSERT_TRUE(expected.count(m.record));
        EXPECT_EQ(m.move, expected.at(m.record).first);
        EXPECT_EQ(m.target, expected.at(m.record).second);
      }
      compared++;
      with_matches += r.total > 0 && r.total < int(db.size()) / 2;
    }
  }
  EXPECT_GT(compared, 150);
  EXPECT_GT(with_matches, 40);  // not only the empty board and positions nobody reached
}
