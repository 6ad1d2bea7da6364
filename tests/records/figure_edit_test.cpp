#include <gtest/gtest.h>

#include <cstring>

#include "records/figure_edit.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

// A 9x9 game of the given points, black first, with a figure at each anchor.
GameRecord game(std::initializer_list<int> points, std::initializer_list<int> anchors = {}) {
  GameRecord rec;
  rec.reset();
  rec.main.set_size(9);
  int color = 1;
  for (int z : points) {
    rec.main.append_move(z, color);
    color = 3 - color;
  }
  rec.main.goto_move(rec.main.move_count);
  for (int a : anchors) rec.annotation_at(a).text = "c" + std::to_string(a);
  return rec;
}

TEST(FigureEdit, ShiftMovesOneStoneAndReplaysUpToAPointTakenLater) {
  GameRecord rec = game({at(3, 3), at(7, 7), at(3, 7)});
  EXPECT_EQ(shift_move(rec, 2, at(5, 5)), 3);
  EXPECT_EQ(rec.main.board[at(7, 7)], 0);
  EXPECT_EQ(rec.main.board[at(5, 5)], 2);
  EXPECT_EQ(rec.main.moves[1].color, 2);
  EXPECT_EQ(shift_move(rec, 4, at(1, 1)), -1);
  EXPECT_EQ(shift_move(rec, 1, at(10, 1)), -1);
  // Move 2 to where move 4 stands: move 4 finds its point taken.
  GameRecord later = game({at(3, 3), at(7, 7), at(3, 7), at(5, 5)});
  EXPECT_EQ(shift_move(later, 2, at(5, 5)), 3);
}

TEST(FigureEdit, InsertIntoAnAlternatingRecordRecoloursTheLaterMoves) {
  GameRecord rec = game({at(3, 3), at(7, 7), at(3, 7)}, {1, 2, 3});
  // White's move 2 was forgotten: what was entered as white was black's.
  ASSERT_EQ(insert_move(rec, 2, at(5, 5)), 4);
  EXPECT_EQ(rec.main.move_count, 4);
  const int z[] = {at(3, 3), at(5, 5), at(7, 7), at(3, 7)};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(rec.main.moves[i].z, z[i]);
    EXPECT_EQ(rec.main.moves[i].color, 1 + i % 2);
  }
  EXPECT_EQ(rec.main.board[at(7, 7)], 1);
  EXPECT_EQ(rec.figures[0].anchor_move, 1);
  EXPECT_EQ(rec.figures[1].anchor_move, 3);
  EXPECT_EQ(rec.figures[2].anchor_move, 4);
}

TEST(FigureEdit, InsertIntoAGapOrAtTheEndKeepsTheColoursAndRefusesBadPlaces) {
  GameRecord gap = game({at(3, 3)});
  gap.main.append_move(at(7, 7), 1);  // black twice: white's move is missing
  ASSERT_EQ(insert_move(gap, 2, at(5, 5)), 3);
  EXPECT_EQ(gap.main.moves[1].color, 2);
  EXPECT_EQ(gap.main.moves[2].color, 1);

  GameRecord end = game({at(3, 3), at(7, 7)});
  ASSERT_EQ(insert_move(end, 3, at(5, 5)), 3);
  EXPECT_EQ(end.main.moves[2].color, 1);  // the side to move
  EXPECT_EQ(insert_move(end, 5, at(1, 1)), -1);
  EXPECT_EQ(insert_move(end, 0, at(1, 1)), -1);

  GameRecord full = game({});
  for (int i = 0; i < FIGURE_MOVES_MAX - 1; i++) full.main.append_move(0, 1 + i % 2);
  EXPECT_EQ(insert_move(full, 1, at(1, 1)), -1);
  EXPECT_EQ(full.main.move_count, FIGURE_MOVES_MAX - 1);
}

TEST(FigureEdit, DeleteOnlyKeepsTheLaterMovesAndPullsFiguresBack) {
  GameRecord rec = game({at(3, 3), at(7, 7), at(3, 7), at(7, 3)}, {1, 2, 4});
  ASSERT_EQ(delete_only_move(rec, 2), 3);
  EXPECT_EQ(rec.main.move_count, 3);
  EXPECT_EQ(rec.main.moves[1].z, at(3, 7));
  EXPECT_EQ(rec.main.moves[3].z, 0);
  EXPECT_EQ(rec.figures[0].anchor_move, 1);
  EXPECT_EQ(rec.figures[1].anchor_move, 1);
  EXPECT_EQ(rec.figures[2].anchor_move, 3);
  EXPECT_EQ(delete_only_move(rec, 4), -1);
  // Black captures the white stone at (1,1) with move 5; white plays again at
  // (1,1) with move 6. Without move 5 that point is still taken.
  GameRecord capture = game({at(2, 1), at(1, 1), at(5, 5), at(6, 6), at(1, 2), at(1, 1)});
  ASSERT_EQ(replay_to_end(capture.main), 6);
  EXPECT_EQ(delete_only_move(capture, 5), 4);
}

TEST(FigureEdit, FourQuarterTurnsGiveTheRecordBack) {
  GameRecord rec = game({at(3, 3), at(7, 2), 0, at(2, 8)}, {2});
  rec.main.initial_board[at(1, 9)] = 1;
  rec.main.labels[at(4, 1)] = LABEL_TRIANGLE;
  rec.figures[0].append_move(at(6, 1), 1);
  rec.main.goto_move(3);
  GameRecord once = rec;
  rotate_record(once);
  // The left edge comes to the top: (x, y) -> (10 - y, x).
  EXPECT_EQ(once.main.moves[0].z, at(7, 3));
  EXPECT_EQ(once.main.moves[1].z, at(8, 7));
  EXPECT_EQ(once.main.moves[2].z, 0);
  EXPECT_EQ(once.main.initial_board[at(1, 1)], 1);
  EXPECT_EQ(once.main.labels[at(9, 4)], LABEL_TRIANGLE);
  EXPECT_EQ(once.figures[0].moves[0].z, at(9, 6));
  EXPECT_EQ(once.main.tesuu, 3);
  EXPECT_EQ(once.main.board[at(8, 7)], 2);
  GameRecord turned = once;
  for (int i = 0; i < 3; i++) rotate_record(turned);
  EXPECT_EQ(0, std::memcmp(turned.main.board, rec.main.board, sizeof rec.main.board));
  EXPECT_EQ(0, std::memcmp(turned.main.labels, rec.main.labels, sizeof rec.main.labels));
  EXPECT_EQ(0, std::memcmp(turned.main.moves, rec.main.moves, sizeof rec.main.moves));
  EXPECT_EQ(0, std::memcmp(turned.figures[0].initial_board, rec.figures[0].initial_board,
                           sizeof rec.figures[0].initial_board));
}

}  // namespace
