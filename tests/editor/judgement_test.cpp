#include "editor/judgement.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

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

void engine_ready() {
  random_startup();
  hash_tables_init();
  load_eye_database();
}

TEST(Judgement, ShownPositionIsJudgedAndTheEnginesGameIsKept) {
  engine_ready();
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

// A white group around the lower left corner with a black stone inside: the
// analysis leaves it unsettled, the end-of-game rules give it up.
std::unique_ptr<Figure> corner_in_doubt() {
  auto f = finished_nine();
  f->board[zc(2, 5)] = EMPTY;
  for (auto [x, y] : {std::pair{1, 6}, {2, 6}, {3, 6}, {3, 7}, {3, 8}, {3, 9}}) f->board[zc(x, y)] = WHITE;
  f->board[zc(2, 9)] = BLACK;
  return f;
}

TEST(Judgement, EndOfGameRulesOnlyOnceTheGameIsOver) {
  engine_ready();
  auto f = corner_in_doubt();
  Judgement j;
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_FALSE(j.game_over);
  EXPECT_FALSE(j.dead[zc(1, 6)]) << "still in play: the group may yet live";

  f->info.winner[0] = "B";
  f->info.winner[1] = "5.5";  // a counted result with its last move shown
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_TRUE(j.game_over);
  EXPECT_TRUE(j.dead[zc(1, 6)]);

  f->info.winner[1] = "C";  // a resignation is no count
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_FALSE(j.game_over);

  f->append_move(0, BLACK);
  f->append_move(0, WHITE);
  f->goto_move(2);
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_TRUE(j.game_over) << "two passes end the game";
  f->goto_move(1);
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_FALSE(j.game_over) << "an earlier move of a finished record";
}

TEST(Judgement, CountUnderTheRecordsRuleWithTheMarginAsResultsWriteIt) {
  engine_ready();
  auto f = finished_nine();
  f->info.winner[0] = "W";
  f->info.winner[1] = "5.5";
  f->prisoners[0] = 2;  // taken by black
  Judgement j;
  ASSERT_TRUE(judge_position(*f, j));
  ASSERT_TRUE(j.game_over);
  // Black: 26 empty points and the dead stone's point, 2 + 1 prisoners.
  EXPECT_EQ(j.points[0], 27);
  EXPECT_EQ(j.points[1], 27);
  EXPECT_EQ(j.dead_stones[0], 1);
  EXPECT_EQ(j.prisoners[0], 2);
  EXPECT_DOUBLE_EQ(j.margin, 27 + 2 + 1 - 27 - 6.5);
  std::string text = judgement_summary(j);
  EXPECT_NE(text.find("黒：地 27目　アゲハマ 2　死に石 1"), std::string::npos) << text;
  EXPECT_NE(text.find("コミ 6.5目"), std::string::npos) << text;
  EXPECT_NE(text.find("白 3目半勝ち"), std::string::npos) << text;

  // Area counting: stones on the board instead of prisoners.
  f->info.rule = "Chinese";
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_TRUE(j.area);
  EXPECT_EQ(j.stones[0], 9);
  EXPECT_EQ(j.stones[1], 9);
  EXPECT_DOUBLE_EQ(j.margin, 27 + 9 - 27 - 9 - 6.5);
  EXPECT_NE(judgement_summary(j).find("白 6目半勝ち"), std::string::npos);

  f->info.komi = 0.5;
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_NE(judgement_summary(j).find("白 半目勝ち"), std::string::npos);
  f->info.komi = 0;
  ASSERT_TRUE(judge_position(*f, j));
  EXPECT_NE(judgement_summary(j).find("持碁"), std::string::npos);
}

// A professional game's final position with a seki in the lower left corner:
// Black's string and White's A2, B1 C1 inside it share A3 and D1.
TEST(Judgement, StonesInSekiAreNoDeadStonesAndItsPointsNoOnesTerritory) {
  engine_ready();
  const char* rows[19] = {
      "............OXXXO..", ".....O...OOX.OXOOO.", "OOOOOXOOOXOOOOXXO..", "OXOXXXXXOXXO.OXXOO.",
      "XXXXX..XXXOXXXX.XOO", "XOOXXXXOX.O.X...XXO", "OOOOO..OXXX.XO.XO.X", "XOOXOOOOXOX.X..X...",
      "XXXXXO.OOO.X.XOOXX.", ".O.X.XO.O.OXOXXOOO.", "...XXXXOX.XXOXOX.X.", "..X..OOOX.XXXOOXX..",
      "XXXO.O.OOOOOXOX.X.O", "OXX.OXOO.XXXXOXXXXX", "OOOOOXXXXXOXOOOOXXO", "XXOOXOXOXOOO.OOXXOO",
      ".XXOXOOOOO..OOXXOO.", "OXXXXOOXO.....OO...", ".OO.XXXXO..........",
  };
  auto f = std::make_unique<Figure>();
  f->set_size(19);
  for (int y = 1; y <= 19; y++) {
    for (int x = 1; x <= 19; x++) {
      char c = rows[y - 1][x - 1];
      if (c != '.') f->board[zc(x, y)] = c == 'X' ? BLACK : WHITE;
    }
  }
  f->info.winner[0] = "B";
  f->info.winner[1] = "3";
  Judgement j;
  ASSERT_TRUE(judge_position(*f, j));
  ASSERT_TRUE(j.game_over);
  EXPECT_FALSE(j.dead[zc(1, 18)]) << "White's A2";
  EXPECT_FALSE(j.dead[zc(2, 19)]) << "White's B1";
  EXPECT_FALSE(j.dead[zc(2, 18)]) << "Black's B2";
  EXPECT_EQ(j.territory[zc(1, 19)], 0) << "A1";
  EXPECT_EQ(j.territory[zc(1, 17)], 0) << "A3";
}

}  // namespace
