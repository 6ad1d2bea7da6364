// Helpers of the search tests: a material count as the static value, and
// moves recorded as the game's.
#pragma once
#include <gtest/gtest.h>

#include "support/engine_setup.h"

// Stones on the board, Black positive: captures show at once.
inline int material() {
  int v = 0;
  for (int y = 1; y <= ban_size; y++)
    for (int x = 1; x <= ban_size; x++) {
      int c = gban.ban[make_z(x, y)];
      v += c == BLACK ? 100 : c == WHITE ? -100 : 0;
    }
  return v;
}

inline void play(int x, int y, int color) { ASSERT_EQ(set_kifu_time(make_z(x, y), color, 0), KIFU_OK); }
