// Deterministic engine state for tests: keys, probe offsets, tables, an empty 19x19 board.
#pragma once
#include "core/board.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/position_table.h"
#include "core/random.h"

inline void engine_setup(int size = 19) {
  static bool started = false;
  if (!started) {
    started = true;
    random_startup();
    hash_tables_init();
  }
  ban_size = size;
  handicap_stones = 0;
  fChineseRule = 0;
  ban_clear();
  kifu_clear();
}
