#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "knowledge/book_build.h"
#include "knowledge/gamedb_source.h"
#include "support/engine_setup.h"

namespace {

// Four games opening the same way up to move 4, in different orientations and
// one with the colours' roles mirrored, then each going its own way.
const char* COLLECTION =
    "(;GM[1]SZ[19]PB[a]PW[b];B[pd];W[dp];B[pq];W[dd];B[fq])\n"
    "(;GM[1]SZ[19]PB[c]PW[d];B[dp];W[pd];B[dd];W[pp];B[qf])\n"
    "(;GM[1]SZ[19]PB[e]PW[f];B[pd];W[dp];B[pq];W[dd];B[qk])\n"
    "(;GM[1]SZ[19]PB[g]PW[h];B[pd];W[dp];B[cd];W[pp];B[ep])\n"
    "(;GM[1]SZ[19]PB[i]PW[j]AB[dd][pp];W[pd])\n";

std::string write_collection(const char* name) {
  FILE* fp = fopen(name, "wb");
  fputs(COLLECTION, fp);
  fclose(fp);
  return name;
}

std::vector<BookEntry> snapshot(const BookTable& t) { return t.entries; }

}  // namespace

TEST(SgfCollection, splits_game_trees_and_ignores_parentheses_in_values) {
  auto games = split_sgf_collection("(;C[a (b] c\\] (d)];B[aa](;W[bb])(;W[cc]))\n(;B[dd])junk(");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[1], "(;B[dd])");
}

TEST(BookBuild, counts_symmetric_positions_together_and_is_reproducible) {
  engine_setup(19);
  std::string path = write_collection("book_build_test.sgf");
  BookBuildOptions opt;
  opt.whole_min_games = 2;
  opt.corner_min_games = 2;
  BookBuildResult r = build_books({path}, opt);
  EXPECT_EQ(r.games_used, 4);
  EXPECT_GT(r.entries19, 0);  // the game with setup stones is left out
  auto first19 = snapshot(book19), first11 = snapshot(book11);

  // Position after B pd, W dp (4 games, one rotated): one entry, four games.
  board_reset(gban, 19);
  ASSERT_EQ(put_stone(gban, make_z(16, 4), BLACK), PUT_OK);
  ASSERT_EQ(put_stone(gban, make_z(4, 16), WHITE), PUT_OK);
  uint64_t key = book19_key(gban);
  BookEntry* e = book_lookup(book19, uint32_t(key), uint32_t(key >> 32));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->games, 4);
  EXPECT_EQ(e->occurrences, 4u);
  EXPECT_EQ(e->stones, 2);
  EXPECT_EQ(e->file, 0);
  // After B pq the line of games 1 and 3 (and game 2 in its orientation).
  ASSERT_EQ(put_stone(gban, make_z(16, 17), BLACK), PUT_OK);
  key = book19_key(gban);
  e = book_lookup(book19, uint32_t(key), uint32_t(key >> 32));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->games, 3);

  build_books({path}, opt);
  remove(path.c_str());
  EXPECT_EQ(0, memcmp(first19.data(), book19.entries.data(), first19.size() * sizeof(BookEntry)));
  EXPECT_EQ(0, memcmp(first11.data(), book11.entries.data(), first11.size() * sizeof(BookEntry)));
}

TEST(BookBuild, incremental_keys_agree_with_the_board_keys_through_captures) {
  engine_setup(19);
  BookKeys whole, corner;
  whole.clear(19, BOOK_WINDOW_WHOLE);
  corner.clear(19, BOOK_WINDOW_CORNER);
  board_reset(gban, 19);
  // A ko capture, then the ko point is gone again.
  const int moves[][3] = {{4, 5, BLACK}, {4, 6, WHITE}, {5, 4, BLACK}, {6, 6, WHITE}, {6, 5, BLACK},
                          {5, 7, WHITE}, {17, 3, BLACK}, {5, 5, WHITE}, {5, 6, BLACK}, {16, 16, WHITE}};
  for (auto& m : moves) {
    int z = make_z(m[0], m[1]);
    ASSERT_EQ(put_stone(gban, z, m[2]), PUT_OK);
    const MoveRecord<256>& r = gban.te[gban.fukasa - 1];
    whole.toggle(z, m[2], 1);
    corner.toggle(z, m[2], 1);
    for (int i = 0; i < r.captured_stone_num; i++) {
      whole.toggle(r.captured_stones[i], opponent(m[2]), -1);
      corner.toggle(r.captured_stones[i], opponent(m[2]), -1);
    }
    EXPECT_EQ(whole.whole_key(gban.kou_iti), book19_key(gban));
    const int rot = book_corner_rotation(z, 19);
    EXPECT_EQ(corner.corner_key(rot, m[2], gban.kou_iti), book11_key(gban, z, m[2]));
  }
}
