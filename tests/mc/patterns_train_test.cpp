#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mc/patterns.h"
#include "mc/patterns_train.h"
#include "support/engine_setup.h"
#include "support/files.h"

namespace {

// A collection of random 19x19 games that always answer next to the last move
// when they can, so that the contact patterns win the competitions.
std::string random_collection(int games, int moves) {
  std::ostringstream out;
  rand_set_seed(99);
  for (int g = 0; g < games; g++) {
    board_reset(gban, 19);
    out << "(;GM[1]SZ[19]";
    int last = 0;
    for (int m = 0; m < moves; m++) {
      const int color = (m & 1) ? WHITE : BLACK;
      int z = 0;
      for (int tries = 0; tries < 200 && !z; tries++) {
        int cand = last && tries < 20 ? last + PATTERN_DIR256[rand_next() % 4]
                                      : make_z(1 + rand_next() % 19, 1 + rand_next() % 19);
        if (gban.ban[cand] == EMPTY && put_stone(gban, cand, color) == PUT_OK) z = cand;
      }
      if (!z) break;
      out << ";" << (color == BLACK ? "B" : "W") << "[" << char('a' + z_x(z) - 1) << char('a' + z_y(z) - 1) << "]";
      last = z;
    }
    out << ")\n";
    gban.fukasa = 0;
  }
  return out.str();
}

}  // namespace

TEST(PatternTraining, same_games_give_byte_identical_files_in_the_fixed_sizes) {
  engine_setup(19);
  namespace fs = std::filesystem;
  {
    std::ofstream f("pattern_train_test.sgf", std::ios::binary);
    f << random_collection(12, 80);
  }
  PatternTrainOptions opt;
  opt.game_step = 1;
  opt.move_step = 1;
  opt.mm_pool_iterations = 3;
  opt.mm_iterations = 5;
  opt.big_min_seen = 2;
  fs::create_directories("pattern_train_a");
  fs::create_directories("pattern_train_b");
  PatternTrainReport ra, rb;
  ASSERT_TRUE(train_patterns({"pattern_train_test.sgf"}, opt, "pattern_train_a", ra));
  ASSERT_TRUE(train_patterns({"pattern_train_test.sgf"}, opt, "pattern_train_b", rb));
  EXPECT_EQ(ra.games, 12);
  EXPECT_GT(ra.positions, 500);
  for (const char* name : {MM3X3_FILE, PATLIST_FILE, WEAK255_FILE}) {
    const std::string a = read_text(std::string("pattern_train_a/") + name);
    EXPECT_FALSE(a.empty()) << name;
    EXPECT_TRUE(a == read_text(std::string("pattern_train_b/") + name)) << name;
  }
  EXPECT_EQ(fs::file_size("pattern_train_a/mm3x3.db"), uintmax_t(MM3X3_FLOATS * 4));
  EXPECT_EQ(fs::file_size("pattern_train_a/patlist.db"), uintmax_t(4 + HASHPAT_LIST_NUM * 80));
  EXPECT_EQ(fs::file_size("pattern_train_a/weak255.db"), uintmax_t(4 + WEAK_A_NUM + 4 + WEAK_B_NUM));

  // The list fills at most half the table: eight keys a record in a lookup
  // table of eight slots a record must leave room for short probe chains.
  const std::string list = read_text("pattern_train_a/patlist.db");
  int32_t records = 0;
  memcpy(&records, list.data(), sizeof records);
  EXPECT_GT(records, 0);
  EXPECT_LE(records, HASHPAT_LIST_NUM / 2);

  // The games answer next to the last move: such points outweigh the same
  // empty pattern far from it, even after the prior's own bonus near the last
  // move has been taken out of the gammas.
  std::string mm = read_text("pattern_train_a/mm3x3.db");
  const float* gamma = reinterpret_cast<const float*>(mm.data());
  float near = gamma[mm3x3_index(BLACK, 0, 0, 2)];          // last move (White) to the right
  float far = gamma[mm3x3_index(BLACK, 0, NEIGHBOUR_NONE, 0)];  // open empty point
  EXPECT_GT(near, far);

  // Each size's least ratio is the anchor's 1/65535: the engine counts an
  // unlisted pattern 1000 times that, the scale the ratios were written in.
  std::vector<HashpatList> table(HASHPAT_LIST_NUM);
  memcpy(table.data(), list.data() + sizeof records, size_t(records) * sizeof(HashpatList));
  make_hashpat_uct(table.data(), records);
  for (int size = BIG_PATTERN_SIZE_MIN; size <= BIG_PATTERN_SIZE_MAX; size++) {
    ASSERT_GT(hashpat_size_stats[size].records, 0) << size;
    EXPECT_DOUBLE_EQ(hashpat_size_stats[size].min_ratio, 1.0 / 65535) << size;
  }

  // The fitted prior finds the games' answers far better than chance (about
  // 5 in 300 for the first five) on the games it learnt from.
  mm3x3.assign(reinterpret_cast<const float*>(mm.data()), reinterpret_cast<const float*>(mm.data()) + MM3X3_FLOATS);
  ASSERT_TRUE(make_pattern_weights(19));
  PredictionFigures fig = predict_moves({"pattern_train_test.sgf"}, 0, 12, 1);
  EXPECT_GT(fig.moves, 500);
  EXPECT_GT(fig.top5_prior, 0.7);
  EXPECT_GT(fig.top1_prior, 0.5);
  // Later tests load the files beside the program.
  mm3x3.clear();
  hashpat_uct.clear();

  fs::remove_all("pattern_train_a");
  fs::remove_all("pattern_train_b");
  fs::remove("pattern_train_test.sgf");
}
