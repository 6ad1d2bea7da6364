#include <cstring>
#include <vector>

#include "core/board.h"
#include "core/internal_stop.h"
#include "core/log.h"
#include "records/figure.h"

int complete_load(GameRecord& rec, bool last_move_load) {
  Figure& m = rec.main;
  // Comments of move 0 show the root position and lose its dead stones with it.
  std::vector<Figure*> root_notes;
  for (Figure& f : rec.figures) {
    if (f.anchor_move == 0 && f.move_count == 0 && f.b_size == m.b_size &&
        std::memcmp(f.initial_board, m.initial_board, sizeof f.initial_board) == 0) {
      root_notes.push_back(&f);
    }
  }
  m.remove_dead_setup_stones();
  for (Figure* f : root_notes) {
    std::memcpy(f->initial_board, m.initial_board, sizeof f->initial_board);
    f->goto_move(0);
  }
  m.goto_move(0);
  int i = 0;
  for (; i < m.move_count; i++) {
    const FigureMove& mv = m.moves[i];
    int code = m.play_on_figure(mv.z, mv.color);
    if (code != FIGURE_OK) {
      PRT("棋譜読込エラー！ ret=%d, z=%04x,col=%d,tesuu=%d \n", code, z_from_zc(mv.z), mv.color, i);
      break;
    }
  }
  m.tesuu = i;
  if (m.move_count > 0) {
    m.first_color = m.moves[0].color;
    if (m.first_color != 1 && m.first_color != 2) INTERNAL_STOP("first_move Err");
  }
  if (!last_move_load) m.goto_move(0);
  for (Figure& f : rec.figures) f.goto_move(0);
  return i;
}
