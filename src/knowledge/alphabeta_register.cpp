#include "knowledge/alphabeta_register.h"

#include "core/internal_stop.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/think.h"
#include "knowledge/alphabeta.h"
#include "knowledge/analysis.h"
#include "knowledge/move_gen.h"
#include "knowledge/root_search.h"

namespace {

int analysis_evaluation() {
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
  return ban_analysis.evaluation;
}

void prepare() {
  search_reset();
  analyze(gban, ban_analysis, 0, ANALYSIS_WITHOUT_FINAL_STATUS);
}

int iterative_search(int alpha, int beta, int color) { return search(alpha, beta, color, nullptr); }

}  // namespace

int one_move_think(int color) {
  search_counters = {};
  int best_move = 0, best = static_value(color);
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int z = make_z(x, y);
      if (gban.ban[z] != EMPTY || own_eye(z, color) || put_stone(gban, z, color) != PUT_OK) continue;
      bool refused = super_ko_check() || self_atari(z, color);
      int value = refused ? 0 : static_value(color);
      take_back(gban, z, color);
      if (!refused && value > best) best = value, best_move = z;
    }
  }
  latest_value = best;
  return best_move;
}

void register_classic_search() {
  set_static_evaluation(analysis_evaluation);
  ClassicSearch s;
  s.prepare = prepare;
  s.search = iterative_search;
  s.root_search = root_search;
  s.pv_move = pv_root_move;
  s.evaluate = analysis_evaluation;
  think_register_classic(s);
  think_register_level(0, one_move_think);
}
