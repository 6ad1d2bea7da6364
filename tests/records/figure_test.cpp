#include <gtest/gtest.h>

#include "core/log.h"
#include "records/figure.h"

namespace {

bool log_has(const char* text) { return log_text().find(text) != std::string::npos; }

int at(int x, int y) { return figure_z(x, y); }

TEST(Figure, AppendRefusesTheMoveBeyondTheLimitAndBadColours) {
  Figure f;
  for (int i = 0; i < FIGURE_MOVES_MAX - 1; i++) f.append_move(0, 1 + i % 2);
  EXPECT_EQ(f.move_count, 1023);
  log_clear();
  f.append_move(0, 1);
  EXPECT_EQ(f.move_count, 1023);
  EXPECT_TRUE(log_has("over KIFU_MAX!"));
  Figure g;
  g.append_move(at(1, 1), 3);
  EXPECT_EQ(g.move_count, 0);
  EXPECT_TRUE(log_has("col Err! col=3"));
  g.append_move(-5, 1);
  EXPECT_EQ(g.moves[0].z, 0);
}

TEST(Figure, CaptureCountsPrisonersAndSetsKo) {
  Figure f;
  f.set_size(9);
  //  . B W .
  //  B W . W
  //  . B W .   black (3,2) takes (2,2): a ko
  f.append_move(at(2, 1), 1);
  f.append_move(at(3, 1), 2);
  f.append_move(at(1, 2), 1);
  f.append_move(at(4, 2), 2);
  f.append_move(at(2, 3), 1);
  f.append_move(at(3, 3), 2);
  f.append_move(at(9, 9), 1);
  f.append_move(at(2, 2), 2);  // white stone in atari at (2,2)
  f.append_move(at(3, 2), 1);  // black captures (2,2): ko
  f.goto_move(9);
  EXPECT_EQ(f.tesuu, 9);
  EXPECT_EQ(f.board[at(2, 2)], 0);
  EXPECT_EQ(f.prisoners[0], 1);
  EXPECT_EQ(f.ko_point, at(2, 2));
  // Black filling its own ko (white passed without a record of it) is no ko.
  Figure own = f;
  EXPECT_EQ(own.play_on_figure(at(2, 2), 1), FIGURE_OK);
  // The immediate recapture is code 2 and is still played.
  EXPECT_EQ(f.play_on_figure(at(2, 2), 2), FIGURE_KO);
  EXPECT_EQ(f.board[at(3, 2)], 0);
  EXPECT_EQ(f.prisoners[1], 1);
}

TEST(Figure, ReplaySkipsSuicideButStopsOnOccupiedPoint) {
  Figure f;
  f.set_size(9);
  f.append_move(at(2, 1), 2);
  f.append_move(at(1, 2), 2);
  f.append_move(at(1, 1), 1);  // suicide: skipped, replay goes on
  f.append_move(at(5, 5), 1);
  f.append_move(at(5, 5), 2);  // occupied: replay ends before it
  f.append_move(at(6, 6), 1);
  f.goto_move(100);
  EXPECT_EQ(f.tesuu, 4);
  EXPECT_EQ(f.board[at(1, 1)], 0);
  EXPECT_EQ(f.board[at(6, 6)], 0);
  f.goto_move(-3);
  EXPECT_EQ(f.tesuu, 0);
  EXPECT_EQ(f.board[at(2, 1)], 0);
  EXPECT_EQ(f.play_on_figure(at(3, 3), 5), FIGURE_BAD_COLOR);
}

TEST(Figure, HandicapPlacementAndRefusal) {
  Figure f;
  f.set_size(13);
  f.place_handicap(5);
  for (auto [x, y] : {std::pair{10, 4}, {4, 10}, {4, 4}, {10, 10}, {7, 7}}) EXPECT_EQ(f.initial_board[at(x, y)], 1);
  int stones = 0;
  for (int z = 0; z < FIGURE_POINTS; z++) stones += f.initial_board[z] == 1;
  EXPECT_EQ(stones, 5);
  EXPECT_EQ(f.first_color, 2);
  EXPECT_EQ(f.info.nHand, 5);
  EXPECT_EQ(f.side_to_move(), 2);

  Figure g;
  g.set_size(19);
  g.place_handicap(3, true);
  EXPECT_EQ(g.initial_board[at(4, 4)], 1);
  EXPECT_EQ(g.initial_board[at(16, 16)], 0);

  Figure h;
  h.set_size(11);
  log_clear();
  h.place_handicap(3);
  EXPECT_TRUE(log_has("handicap stones Err. nHand=3, b_size=11"));
  EXPECT_EQ(h.info.nHand, 0);
  EXPECT_EQ(h.first_color, 1);
}

TEST(Figure, DeadSetupStonesAreRemoved) {
  Figure f;
  f.set_size(9);
  f.initial_board[at(1, 1)] = 2;
  f.initial_board[at(2, 1)] = 1;
  f.initial_board[at(1, 2)] = 1;
  f.initial_board[at(5, 5)] = 2;
  f.remove_dead_setup_stones();
  EXPECT_EQ(f.initial_board[at(1, 1)], 0);
  EXPECT_EQ(f.initial_board[at(5, 5)], 2);
  EXPECT_EQ(f.board[at(2, 1)], 1);
}

TEST(Figure, ResultTexts) {
  Figure f;
  auto result = [&](const char* kind, const char* detail) {
    f.info.winner[0] = kind;
    f.info.winner[1] = detail;
    return f.result_text();
  };
  EXPECT_EQ(result("B", "C"), "黒 中押し勝ち");
  EXPECT_EQ(result("W", "0.5"), "白 半目勝ち");
  EXPECT_EQ(result("W", "6.5"), "白 6目半勝ち");
  EXPECT_EQ(result("B", "3"), "黒 3目勝ち");
  EXPECT_EQ(result("W", "T"), "白 時間切れ勝ち");
  EXPECT_EQ(result("D", ""), "持碁 ");
  EXPECT_EQ(result("N", "5"), "無勝負 ");
  EXPECT_EQ(result("?", ""), " ");
}

TEST(Figure, SelfCopyIsRefusedAndRecordCopyResizesList) {
  Figure f;
  f.text = "x";
  log_clear();
  Figure& alias = f;
  f = alias;
  EXPECT_TRUE(log_has("self copy?"));
  EXPECT_EQ(f.text, "x");

  GameRecord a, b;
  a.reset();
  a.annotation_at(0).text = "one";
  a.annotation_at(3).text = "two";
  b.figures.resize(5);
  b.copy_from(a);
  ASSERT_EQ(b.figures.size(), 2u);
  EXPECT_EQ(b.figures[1].text, "two");
  EXPECT_EQ(b.figures[1].anchor_move, 3);
}

TEST(Figure, AnnotationTakesMainPositionAndRestoresMainMove) {
  GameRecord r;
  r.reset();
  r.main.set_size(9);
  r.main.append_move(at(3, 3), 1);
  r.main.append_move(at(7, 7), 2);
  r.main.goto_move(2);
  Figure& a = r.annotation_at(1);
  EXPECT_EQ(a.anchor_move, 1);
  EXPECT_EQ(a.first_number, 1);
  EXPECT_EQ(a.initial_board[at(3, 3)], 1);
  EXPECT_EQ(a.initial_board[at(7, 7)], 0);
  EXPECT_EQ(r.main.tesuu, 2);
  EXPECT_EQ(&r.annotation_at(1), &r.figures[0]);
}

TEST(Figure, LoadCompletionStopsAtFirstBadMoveAndLogs) {
  GameRecord r;
  r.reset();
  r.main.set_size(9);
  r.main.append_move(at(1, 1), 2);
  r.main.append_move(at(5, 5), 1);
  r.main.append_move(at(5, 5), 2);
  r.main.append_move(at(6, 6), 1);
  log_clear();
  EXPECT_EQ(complete_load(r, true), 2);
  EXPECT_TRUE(log_has("棋譜読込エラー！ ret=4, z=0505,col=2,tesuu=2"));
  EXPECT_EQ(r.main.tesuu, 2);
  EXPECT_EQ(r.main.first_color, 2);
  complete_load(r, false);
  EXPECT_EQ(r.main.tesuu, 0);
}

}  // namespace
