#include "area_sum.h"

#include <chrono>
#include <cstring>
#include <memory>

#include "core/board.h"
#include "core/kifu.h"
#include "knowledge/gamedb_source.h"
#include "mc/mc_random.h"
#include "mc/patterns.h"
#include "mc/uct.h"

namespace {

constexpr uint32_t SEED_BASE = 20240601u;
// Keeps (game, move) seeds apart: a move number stays below KIFU_MAX + 1.
constexpr uint32_t SEED_MOVES = KIFU_MAX + 1;
constexpr int PROGRESS_GAMES = 1000;

int band_of(double occupancy) {
  const int band = int(occupancy * 10);
  return band > AREA_SUM_BAND_MAX ? AREA_SUM_BAND_MAX : band;
}

// The mover's ownership of the point on the table's 0..100 scale (50: even).
int mover_sum_per(const UctThread& t, int zc, int color) {
  const int per = int(long(t.own.sum[zc]) * 100 / t.mc_sims);
  const int sum_per = (per + 100) / 2;
  return color == WHITE ? 100 - sum_per : sum_per;
}

int stones_on_board() {
  int stones = 0;
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) stones += gban.ban[make_z(x, y)] != EMPTY;
  }
  return stones;
}

void start_game(const Figure& f) {
  ban_size = f.b_size;
  memset(initial_ban[ban_size], 0, sizeof initial_ban[ban_size]);
  init_ban();
  kifu_clear();
  uct_komi = f.info.komi;
}

}  // namespace

bool count_area_sum(const std::vector<std::string>& sources, const AreaSumOptions& opt,
                    int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS], AreaSumReport& report) {
  memset(table, 0, sizeof(int32_t) * AREA_SUM_ROWS * AREA_SUM_BANDS);
  report = AreaSumReport{};
  if (!load_mm3x3() || !make_pattern_weights(opt.board_size)) return false;
  const auto start = std::chrono::steady_clock::now();
  auto t = std::make_unique<UctThread>();
  static int zs[KIFU_MAX], colors[KIFU_MAX];
  const int game_step = opt.game_step > 0 ? opt.game_step : 1;
  const int move_step = opt.move_step > 0 ? opt.move_step : 1;
  for_each_source_game(sources, [&](const GameRecord& rec, long index) {
    if (opt.end_game >= 0 && index >= opt.end_game) return false;
    if (index % game_step != 0) return true;
    const Figure& f = rec.main;
    if (f.b_size != opt.board_size || has_setup_stones(f)) return true;
    const int n = main_line_moves(f, zs, colors, KIFU_MAX);
    start_game(f);
    report.games++;
    for (int i = 0; i < n; i++) {
      const int z = zs[i], color = colors[i];
      int sum_per = -1, band = 0;
      // The offset turns with the game so that every move parity is sampled.
      const bool sampled = (i % move_step) == int(index % move_step);
      if (sampled && z != 0 && gban.ban[z] == EMPTY && z != gban.kou_iti) {
        band = band_of(double(stones_on_board()) / (ban_size * ban_size));
        mc_random_seed(t->rng, 0, uint32_t(index) * SEED_MOVES + uint32_t(i), SEED_BASE);
        sample_ownership(*t, color, opt.playouts);
        sum_per = mover_sum_per(*t, zc_from_z(z), color);
      }
      const int r = set_kifu_time(z, color, 0);
      if (r == KIFU_REFUSED || r == KIFU_TWO_PASSES) break;
      // Counted only once the record accepted the move.
      if (sum_per >= 0) {
        table[sum_per][band]++;
        report.positions++;
      }
    }
    if (opt.progress && report.games % PROGRESS_GAMES == 0) {
      fprintf(opt.progress, "games %ld, positions %ld\n", report.games, report.positions);
      fflush(opt.progress);
    }
    return true;
  });
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

bool save_area_sum(const std::string& path, const int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS]) {
  FILE* fp = fopen(path.c_str(), "wb");
  if (!fp) return false;
  // Little-endian int32 counts, row by row, as the engine reads them.
  bool ok = true;
  for (int p = 0; p < AREA_SUM_ROWS; p++) {
    for (int band = 0; band < AREA_SUM_BANDS; band++) {
      const uint32_t v = uint32_t(table[p][band]);
      const unsigned char bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
      ok = ok && fwrite(bytes, 1, 4, fp) == 4;
    }
  }
  return fclose(fp) == 0 && ok;
}

void print_area_sum_summary(FILE* out, const int32_t table[AREA_SUM_ROWS][AREA_SUM_BANDS]) {
  constexpr int LOW = 25, HIGH = 75;
  fprintf(out, "band  occupancy  positions    <25 %%  25-75 %%    >75 %%\n");
  for (int band = 0; band <= AREA_SUM_BAND_MAX; band++) {
    long total = 0, low = 0, high = 0;
    for (int p = 0; p < AREA_SUM_ROWS; p++) {
      total += table[p][band];
      if (p < LOW) low += table[p][band];
      if (p > HIGH) high += table[p][band];
    }
    const double scale = total > 0 ? 100.0 / double(total) : 0;
    char range[16];
    if (band == AREA_SUM_BAND_MAX) snprintf(range, sizeof range, "%d- %%", band * 10);
    else snprintf(range, sizeof range, "%d-%d %%", band * 10, band * 10 + 10);
    fprintf(out, "%4d  %9s  %9ld  %6.1f %%  %5.1f %%  %6.1f %%\n", band, range, total, low * scale,
            (total - low - high) * scale, high * scale);
  }
}
