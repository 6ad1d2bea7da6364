#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "knowledge/book.h"
#include "knowledge/mimic.h"
#include "support/engine_setup.h"

namespace {

void store(BookTable& t, uint64_t key, uint32_t occurrences, int games, int stones = 5) {
  BookEntry* e = book_lookup(t, uint32_t(key), uint32_t(key >> 32));
  ASSERT_NE(e, nullptr);
  e->key_low = uint32_t(key);
  e->key_high = uint32_t(key >> 32);
  e->occurrences = occurrences;
  e->games = uint16_t(games);
  e->stones = int16_t(stones);
  e->file = 0;
}

void fresh_books() {
  book_table_init(book19, "hash19x19book", BOOK19_ENTRIES);
  book_table_init(book11, "hash11x11book", BOOK11_ENTRIES);
  book19.loaded = book11.loaded = true;
  books_ready();
}

void play(int x, int y, int color) {
  ASSERT_EQ(put_stone(gban, make_z(x, y), color), PUT_OK);
  gban.fukasa = 0;
  tesuu++;
  kifu[tesuu] = KifuEntry{make_z(x, y), color, 0};
}

// The corner key of a stone of color at (x, y); the board is left as it was.
uint64_t corner_key_of(int x, int y, int color) {
  EXPECT_EQ(put_stone(gban, make_z(x, y), color), PUT_OK);
  uint64_t key = book11_key(gban, make_z(x, y), color);
  take_back(gban, make_z(x, y), color);
  return key;
}

// Every empty point's whole-board key after a move by color, into the book.
void book_every_reply(int color, int games) {
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) {
      int z = make_z(x, y);
      if (gban.ban[z] != EMPTY || put_stone(gban, z, color) != PUT_OK) continue;
      uint64_t key = book19_key(gban);
      take_back(gban, z, color);
      if (book_lookup(book19, uint32_t(key), uint32_t(key >> 32))->occurrences == 0) store(book19, key, games, games);
    }
  }
}

}  // namespace

TEST(BookKey, eight_symmetric_first_moves_share_one_key) {
  engine_setup(19);
  const int xs[8] = {16, 4, 16, 4, 3, 17, 3, 17};
  const int ys[8] = {3, 3, 17, 17, 16, 16, 4, 4};
  std::set<uint64_t> keys;
  for (int i = 0; i < 8; i++) {
    ASSERT_EQ(put_stone(gban, make_z(xs[i], ys[i]), BLACK), PUT_OK);
    keys.insert(book19_key(gban));
    take_back(gban, make_z(xs[i], ys[i]), BLACK);
  }
  EXPECT_EQ(keys.size(), 1u);
  ASSERT_EQ(put_stone(gban, make_z(16, 4), BLACK), PUT_OK);
  EXPECT_NE(book19_key(gban), *keys.begin());
  take_back(gban, make_z(16, 4), BLACK);
}

TEST(BookKey, corner_key_is_the_same_in_every_corner_and_for_either_colour) {
  engine_setup(19);
  // A Black 3-4 point, the same shape for White in another corner, and its mirror image.
  const uint64_t black_key = corner_key_of(17, 4, BLACK);
  EXPECT_EQ(corner_key_of(3, 16, WHITE), black_key);
  EXPECT_EQ(corner_key_of(4, 3, BLACK), black_key);  // transposed image
}

TEST(BookKey, rotation_reaches_every_point_and_line_ten_has_no_quadrant) {
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) EXPECT_GE(book_corner_rotation(make_z(x, y), 19), 0);
  }
  EXPECT_EQ(book_quadrant(make_z(10, 4)), 0);
  EXPECT_EQ(book_quadrant(make_z(4, 4)), 1);
  EXPECT_EQ(book_quadrant(make_z(16, 4)), 2);
  EXPECT_EQ(book_quadrant(make_z(16, 16)), 3);
  EXPECT_EQ(book_quadrant(make_z(4, 16)), 4);
  EXPECT_EQ(book_quadrant(0), 0);
}

TEST(BookTable, probes_past_taken_slots_and_survives_a_full_path) {
  engine_setup(19);
  BookTable t;
  book_table_init(t, "hash19x19book", 16);
  // Keys with the same home slot go to different slots and are all found again.
  for (uint32_t k = 1; k <= 8; k++) store(t, (uint64_t(k) << 32) | 0x30, k, k);
  for (uint32_t k = 1; k <= 8; k++) {
    BookEntry* e = book_lookup(t, 0x30, k);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->occurrences, k);
  }
  for (int i = 9; i <= 16; i++) store(t, (uint64_t(i) << 32) | 0x30, 1, 1);
  EXPECT_EQ(book_lookup(t, 0x30, 99), nullptr);  // damaged: every slot taken
}

TEST(BookTable, missing_file_is_not_fatal_and_short_file_leaves_tail_empty) {
  engine_setup(19);
  BookTable t;
  book_table_init(t, "hash19x19book", BOOK19_ENTRIES);
  EXPECT_FALSE(book_table_load(t, "no_such_book.db"));
  EXPECT_FALSE(t.loaded);

  std::vector<BookEntry> two(2);
  two[0].occurrences = 7, two[0].key_low = 1;
  two[1].occurrences = 9, two[1].key_low = 2;
  FILE* fp = fopen("short_book_test.db", "wb");
  ASSERT_TRUE(fp);
  fwrite(two.data(), sizeof(BookEntry), 2, fp);
  fwrite("abc", 1, 3, fp);  // a torn third entry
  fclose(fp);
  EXPECT_TRUE(book_table_load(t, "short_book_test.db"));
  remove("short_book_test.db");
  EXPECT_EQ(t.use, 2);
  EXPECT_EQ(t.entries[2].occurrences, 0u);
  EXPECT_EQ(t.entries[2].file, -1);
}

TEST(BookChoice, empty_board_tries_only_the_55_points_of_one_eighth) {
  engine_setup(19);
  fresh_books();
  book_every_reply(BLACK, 10);
  BookCandidate list[BOOK_CANDIDATE_MAX];
  int n = book_candidates(BLACK, 19, list);
  ASSERT_EQ(n, 55);
  for (int i = 0; i < n; i++) {
    int x = z_x(list[i].z), y = z_y(list[i].z);
    EXPECT_TRUE(x >= 10 && y <= 10 && x + y >= 20) << std::hex << list[i].z;
  }
  int force = 1;
  int z = book_choice(BLACK, 19, &force);
  EXPECT_NE(z, 0);
  EXPECT_EQ(force, 1);
}

TEST(BookChoice, handicap_start_never_forces_a_book_move) {
  engine_setup(19);
  fresh_books();
  ASSERT_EQ(put_stone(gban, make_z(4, 4), BLACK), PUT_OK);
  ASSERT_EQ(put_stone(gban, make_z(16, 16), BLACK), PUT_OK);
  gban.fukasa = 0;
  book_every_reply(WHITE, 10);
  // A corner entry for the white approach at the upper left.
  const uint64_t approach = corner_key_of(3, 6, WHITE);
  store(book11, approach, 40, 40);
  for (int i = 0; i < 20; i++) {
    int force = 1;
    EXPECT_EQ(book_choice(WHITE, 19, &force), 0);
    EXPECT_EQ(force, 0);
    int z = book_move(WHITE, &force);
    ASSERT_NE(z, 0);
    ASSERT_EQ(put_stone(gban, z, WHITE), PUT_OK);  // the approach or one of its images
    EXPECT_EQ(book11_key(gban, z, WHITE), approach);
    take_back(gban, z, WHITE);
    EXPECT_EQ(force, 0);
  }
}

// The corner of the last two moves gets the answer; forced only when both were there.
static void corner_scene(int second_x, int second_y, int& z, int& force) {
  engine_setup(19);
  fresh_books();
  play(16, 4, BLACK);
  play(4, 16, WHITE);
  play(second_x, second_y, BLACK);
  play(15, 17, WHITE);  // approach in the lower right, quadrant 3
  store(book11, corner_key_of(15, 15, BLACK), 60, 60, 3);
  store(book11, corner_key_of(3, 4, BLACK), 900, 900, 3);  // elsewhere, seen more often
  force = 1;
  z = book_choice(BLACK, 11, &force);
}

TEST(BookChoice, corner_answer_goes_to_the_last_moves_corner_forced_only_when_both_were_there) {
  int z, force;
  corner_scene(17, 16, z, force);
  EXPECT_EQ(z, make_z(15, 15));
  EXPECT_EQ(force, 1);
  corner_scene(4, 4, z, force);
  EXPECT_EQ(z, make_z(15, 15));
  EXPECT_EQ(force, 0);
  engine_setup(13);  // not 19x19: no book move
  fresh_books();
  force = 1;
  EXPECT_EQ(book_move(BLACK, &force), 0);
}

TEST(Mimic, white_follows_the_list_while_black_mirrors) {
  engine_setup(19);
  play(10, 10, BLACK);
  for (int i = 0; i < MIMIC_LIST_LEN; i += 2) {
    int z = mimic_response(WHITE);
    ASSERT_EQ(z, mimic_list[i]) << i;
    play(z_x(z), z_y(z), WHITE);
    if (i + 1 >= MIMIC_LIST_LEN) break;
    int mirror = make_z(20 - z_x(z), 20 - z_y(z));
    ASSERT_EQ(mirror, mimic_list[i + 1]);
    play(z_x(mirror), z_y(mirror), BLACK);
  }
  EXPECT_EQ(mimic_response(WHITE), 0);  // list done
}

TEST(Mimic, broken_symmetry_or_another_size_gives_nothing) {
  engine_setup(19);
  play(10, 10, BLACK);
  play(4, 4, WHITE);
  EXPECT_EQ(mimic_response(BLACK), 0);
  EXPECT_EQ(mimic_response(WHITE), 0);
  engine_setup(13);
  play(7, 7, BLACK);
  EXPECT_EQ(mimic_response(WHITE), 0);
}

TEST(CommittedBooks, open_in_a_corner_and_answer_an_approach_in_its_corner) {
  engine_setup(19);
  book_table_init(book19, "hash19x19book", BOOK19_ENTRIES);
  book_table_init(book11, "hash11x11book", BOOK11_ENTRIES);
  if (!book_table_load(book19, BOOK19_FILE) || !book_table_load(book11, BOOK11_FILE)) {
    GTEST_SKIP() << "books not beside the tests";
  }
  EXPECT_LT(book19.use, BOOK19_ENTRIES * 3 / 4);
  EXPECT_LT(book11.use, BOOK11_ENTRIES * 3 / 4);
  BookCandidate list[BOOK_CANDIDATE_MAX];
  int n = book_candidates(BLACK, 19, list);
  ASSERT_GE(n, 3);
  // Rare first moves (tengen) are in the book too, but the corner points carry it.
  int best = 0;
  double corner = 0, all = 0;
  for (int i = 0; i < n; i++) {
    all += list[i].games;
    if (z_x(list[i].z) >= 14 && z_y(list[i].z) <= 6) corner += list[i].games;
    if (list[i].games > list[best].games) best = i;
  }
  EXPECT_GT(corner / all, 0.99);
  EXPECT_TRUE(list[best].z == make_z(16, 4) || list[best].z == make_z(17, 4)) << std::hex << list[best].z;
  // White approaches Black's 4-4 point: the corner book answers in that corner.
  play(16, 4, BLACK);
  play(4, 16, WHITE);
  play(16, 16, BLACK);
  play(4, 3, WHITE);
  play(17, 14, BLACK);
  play(14, 3, WHITE);   // approach at the upper right 4-4
  n = book_candidates(BLACK, 11, list);
  ASSERT_GT(n, 0);
  int force = 1;
  int z = book_choice(BLACK, 11, &force);
  EXPECT_EQ(book_quadrant(z), 2) << std::hex << z;
}
