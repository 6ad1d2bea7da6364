// Ownership from the playouts' final counts: per point how often it ended as
// Black's or White's, and what the search reads from it (score estimate,
// dead stones, unsettled and dame points).
#pragma once
#include <cstdint>

#include "mc/playout.h"

struct UctThread;

constexpr int OWNERSHIP_SETTLED = 50;  // percent
constexpr int AREA_SUM_ROWS = 101;
constexpr int AREA_SUM_BANDS = 10;
constexpr int AREA_SUM_BAND_MAX = 6;
constexpr const char* AREA_SUM_FILE = "areasum.db";

struct OwnershipEstimate {
  int unsettled = 0;
  int dead[3] = {};
  int own_percent[MC_POINTS] = {};
  uint8_t dame[MC_POINTS] = {};
  double score = 0;
};

double ownership_estimate(const UctThread& t, bool print, OwnershipEstimate& out);
double criticality(const UctThread& t, int zc);
double occupancy(const SearchBoard& b);
// The table's count for an ownership percentage at the occupancy, normalised
// per occupancy band to 10000; at least 1.
int area_sum_sampling(int zc, int sum_per, double occupancy);
// The position key a stone of color at zc would give, captures included.
uint64_t add_stone_hash(const SearchBoard& b, int zc, int color);

// Playouts from the global board with color to move and no tree; the
// ownership sums are left in t.own (t.mc_sims playouts).
void sample_ownership(UctThread& t, int color, int playouts);

// The table's counts, [percent][band]; loaded from "areasum.db" when present,
// otherwise flat (every count 1, so the sampling changes no order).
extern int32_t area_sum_table[AREA_SUM_ROWS][AREA_SUM_BANDS];
bool load_area_sum_table();
void set_area_sum_table(const int32_t counts[AREA_SUM_ROWS][AREA_SUM_BANDS]);
