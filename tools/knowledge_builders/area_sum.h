// The count table of the search's candidate refresh ("areasum.db"): for
// sampled positions of professional games, how strongly the mover owned the
// point actually played, by how full the board was.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "mc/ownership.h"

struct AreaSumOptions {
  long end_game = -1;  // -1: to the end of the sources
  int game_step = 1;   // every game_step-th game
  int move_step = 1;   // every move_step-th move of such a game
  // Per position; with 100 (the sums' parity is the playouts') every
  // percentage row can occur, where 64 would leave rows empty.
  int playouts = 100;
  int board_size = 19;
  FILE* progress = nullptr;
};

struct AreaSumReport {
  long games = 0;
  long positions = 0;
  double seconds = 0;
};

// Counts table[sum_per][band] over the sampled positions; the table is
// cleared first. The playouts' generator is seeded from the game's running
// number and the move number, so a position counts the same whatever else is
// sampled. Returns false when the pattern weights are missing.
bool count_area_sum(const std::vector<std::string>& sources, const AreaSumOptions& opt,
                    int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS], AreaSumReport& report);

bool save_area_sum(const std::string& path, const int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS]);

// Per band: positions, and the shares of played points the mover owned
// below 25 %, from 25 to 75 %, and above 75 %.
void print_area_sum_summary(FILE* out, const int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS]);
