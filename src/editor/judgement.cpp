#include "editor/judgement.h"

#include <algorithm>

#include "core/board.h"
#include "core/kifu.h"
#include "editor/board_scene.h"
#include "editor/main_window.h"
#include "knowledge/analysis.h"
#include "records/figure.h"

namespace {

// The shown position becomes the global board: its stones, ko and prisoners.
void load_figure(const Figure& f) {
  ban_size = f.b_size;
  board_reset(gban, f.b_size);
  for (int y = 1; y <= f.b_size; y++) {
    for (int x = 1; x <= f.b_size; x++) {
      int c = f.board[y * FIGURE_STRIDE + x];
      if (c == BLACK || c == WHITE) put_stone(gban, make_z(x, y), c);
    }
  }
  compact_strings(gban);
  gban.fukasa = 0;
  if (gban.kou_iti) gban.hash ^= hash_key96[gban.kou_iti][0];
  gban.kou_iti = 0;
  if (f.ko_point) {
    gban.kou_iti = z_from_zc(f.ko_point);
    gban.hash ^= hash_key96[gban.kou_iti][0];
  }
  gban.captured[BLACK] = f.prisoners[0];
  gban.captured[WHITE] = f.prisoners[1];
}

}  // namespace

bool judge_position(const Figure& shown, Judgement& out) {
  if (shown.b_size < 2 || shown.b_size > BOARD_MAX) return false;
  int engine_size = ban_size;
  load_figure(shown);
  analyze(gban, ban_analysis);
  out = Judgement{};
  for (int y = 1; y <= shown.b_size; y++) {
    for (int x = 1; x <= shown.b_size; x++) {
      int z = make_z(x, y), zc = y * FIGURE_STRIDE + x;
      out.territory[zc] = int8_t(std::clamp(ban_analysis.kakutei[z], -100, 100));
      out.dead[zc] = ban_analysis.final_status[z] == FINAL_DEAD;
    }
  }
  ban_size = engine_size;
  replay_kifu(tesuu);
  return true;
}

void install_judgement() { MainWindow::set_judgement_provider(judge_position); }
