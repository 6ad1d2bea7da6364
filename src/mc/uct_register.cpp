#include "mc/uct_register.h"

#include "core/board.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/think.h"
#include "mc/ownership.h"
#include "mc/patterns.h"
#include "mc/uct.h"

namespace {

constexpr double JAPANESE_RULE_KOMI_SHIFT = 1.0;

// Handicap stones: the black stones of the initial position when it holds no
// white stone.
int handicap_count() {
  int black = 0, white = 0;
  for (int z = 0; z < 21 * 256; z++) {
    black += initial_ban[ban_size][z] == BLACK;
    white += initial_ban[ban_size][z] == WHITE;
  }
  return white ? 0 : black;
}

int think_level7(int color) {
  // The playouts count by area; under territory rules each side's passes and
  // the handicap stones shift the count by about a point each.
  double extra = handicap_count();
  if (!fChineseRule) extra += color == BLACK ? JAPANESE_RULE_KOMI_SHIFT : -JAPANESE_RULE_KOMI_SHIFT;
  komi += extra;
  const int move = uct_root(color);
  komi -= extra;
  latest_value = uct_latest_win_rate;
  return move;
}

}  // namespace

bool uct_register_level(int threads, int playouts, std::string& why) {
  if (!load_mm3x3() || !load_hashpat_list()) {
    why = "level 7 needs the pattern files mm3x3.db and patlist.db beside the program";
    return false;
  }
  load_area_sum_table();
  uct_settings.threads = threads;
  uct_settings.playouts = playouts > 0 ? playouts : SIMULATIONS_PER_THREAD;
  uct_settings.time_stop = playouts == 0;
  think_register_level(7, think_level7);
  return true;
}
