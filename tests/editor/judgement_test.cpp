#include "editor/judgement.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/board.h"
#include "core/kifu.h"
#include "core/position_table.h"
#include "core/random.h"
#include "editor/board_scene.h"
#include "knowledge/eye_database.h"
#include "records/figure.h"

namespace {

int zc(int x, int y) { return y * FIGURE_STRIDE + x; }

// A finished 9x9 position: black owns the left, white the right; one white
// stone sits dead inside black's side.
std::unique_ptr<Figure> finished_nine() {
  auto f = std::make_unique<Figure>();
  f->set_size(9);
  for (int y = 1; y <= 9; y++) {
    f->board[zc(4, y)] = BLACK;
    f->board[zc(6, y)] = WHITE;
  }
  f->board[zc(2, 5)] = WHITE;
  return f;
}

TEST(Judgement, ShownPositionIsJudgedAndTheEnginesGameIsKept) {
  random_startup();
  hash_tables_init();
  load_eye_database();
  ban_size = 19;
  ban_clear();
  kifu_clear();
  set_kifu_time(make_z(4, 4), BLACK, 0);
  Hash96 engine_hash = gban.hash;

  auto f = finished_nine();
  Judgement j;
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_TRUE(j.dead[zc(2, 5)]) << "the lone white stone in black's area";
  EXPECT_FALSE(j.dead[zc(4, 5)]);
  EXPECT_GT(j.territory[zc(1, 1)], 0) << "black's side";
  EXPECT_LT(j.territory[zc(9, 9)], 0) << "white's side";
  EXPECT_EQ(j.territory[zc(5, 5)], 0) << "the neutral column";

  EXPECT_EQ(ban_size, 19);
  EXPECT_TRUE(gban.hash == engine_hash) << "the engine's game is put back";
  EXPECT_EQ(gban.ban[make_z(4, 4)], BLACK);
}

}  // namespace
