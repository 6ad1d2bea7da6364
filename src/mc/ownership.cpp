#include "mc/ownership.h"

#include <cstdio>
#include <cstring>

#include "core/folders.h"
#include "core/kifu.h"
#include "core/log.h"
#include "mc/uct.h"

int32_t area_sum_table[AREA_SUM_ROWS][AREA_SUM_BANDS];

namespace {

constexpr int DIR4[4] = {1, 32, -1, -32};
constexpr int AREA_SUM_SCALE = 10000;
int normalised[AREA_SUM_ROWS][AREA_SUM_BANDS];
bool normalised_ready = false;

void normalise() {
  for (int band = 0; band < AREA_SUM_BANDS; band++) {
    long total = 0;
    for (int p = 0; p < AREA_SUM_ROWS; p++) total += area_sum_table[p][band];
    if (total == 0) total = 1;
    for (int p = 0; p < AREA_SUM_ROWS; p++) normalised[p][band] = int(long(area_sum_table[p][band]) * AREA_SUM_SCALE / total);
  }
  normalised_ready = true;
}

}  // namespace

void set_area_sum_table(const int32_t counts[AREA_SUM_ROWS][AREA_SUM_BANDS]) {
  memcpy(area_sum_table, counts, sizeof area_sum_table);
  normalise();
}

bool load_area_sum_table() {
  static bool tried = false;
  if (tried) return normalised_ready;
  tried = true;
  int32_t counts[AREA_SUM_ROWS][AREA_SUM_BANDS];
  FILE* fp = open_data_file(AREA_SUM_FILE);
  bool ok = false;
  if (fp) {
    ok = fread(counts, sizeof counts, 1, fp) == 1;
    for (auto& row : counts) {
      for (int32_t v : row) ok = ok && v >= 0;
    }
    fclose(fp);
  }
  if (!ok) {
    PRT("%s is missing or damaged: candidate order by prior alone\n", AREA_SUM_FILE);
    for (auto& row : counts) {
      for (int32_t& v : row) v = 1;
    }
  } else {
    PRT("load %s\n", AREA_SUM_FILE);
  }
  set_area_sum_table(counts);
  return ok;
}

int area_sum_sampling(int zc, int sum_per, double occ) {
  if (!normalised_ready) load_area_sum_table();
  int band = int(occ * 10);
  if (band > AREA_SUM_BAND_MAX) band = AREA_SUM_BAND_MAX;
  if (sum_per < 0 || sum_per >= AREA_SUM_ROWS || band < 0) {
    PRT("board_area_sum_sampling Err, per=%d,sum_per=%3d,z=%04x,mc=%d,uct=%d\n", band, sum_per, z_from_zc(zc), 0, 0);
    return 1;
  }
  const int v = normalised[sum_per][band];
  return v < 1 ? 1 : v;
}

double occupancy(const SearchBoard& b) {
  int stones = 0;
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) stones += b.ban[y * 32 + x] != EMPTY;
  }
  return double(stones) / (b.size * b.size);
}

double criticality(const UctThread& t, int zc) {
  const double total = t.mc_sims > 0 ? double(t.mc_sims) : 1.0;
  const double a = t.own.occupied[BLACK][zc], b = t.own.occupied[WHITE][zc];
  const double v = 4 * a * b / (total * total) * (a + b) / total * 100;
  return v < 1.0 ? 1.0 : v;
}

double ownership_estimate(const UctThread& t, bool print, OwnershipEstimate& out) {
  const SearchBoard& b = t.root.b;
  const int n = b.size;
  const long sims = t.mc_sims < 1 ? 10 : t.mc_sims;
  out = OwnershipEstimate{};
  double sum = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x;
      const int per = int(long(t.own.sum[z]) * 100 / sims);
      out.own_percent[z] = per;
      if (per > -OWNERSHIP_SETTLED && per < OWNERSHIP_SETTLED) out.unsettled++;
      if (b.ban[z] == BLACK && per < -OWNERSHIP_SETTLED) out.dead[BLACK]++;
      if (b.ban[z] == WHITE && per > OWNERSHIP_SETTLED) out.dead[WHITE]++;
      sum += per;
    }
  }
  // Dame: an empty point that touches living stones of both colours,
  // directly or through one empty neighbour.
  uint8_t mask[MC_POINTS] = {};
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x, c = b.ban[z];
      if (c != BLACK && c != WHITE) continue;
      const int per = out.own_percent[z];
      const bool dead = (c == BLACK && per < -OWNERSHIP_SETTLED) || (c == WHITE && per > OWNERSHIP_SETTLED);
      if (dead) continue;
      for (int d : DIR4) mask[z + d] |= uint8_t(c);
    }
  }
  int empty = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = y * 32 + x;
      if (b.ban[z] != EMPTY) continue;
      empty++;
      int m = mask[z];
      for (int d : DIR4) {
        if (b.ban[z + d] == EMPTY) m |= mask[z + d];
      }
      out.dame[z] = m == 3;
    }
  }
  out.score = sum * 0.01;
  if (print) {
    for (int y = 1; y <= n; y++) {
      for (int x = 1; x <= n; x++) PRT("%4.0f", double(out.own_percent[y * 32 + x]));
      PRT("\n");
    }
    for (int y = 1; y <= n; y++) {
      for (int x = 1; x <= n; x++) PRT("%4.0f", criticality(t, y * 32 + x));
      PRT("\n");
    }
    PRT("best_komi=%.1f, komi=%.1f, score=%.1f,dame=%d(empty=%.0f,dame_per=%.0f),死石 黒=%d,白=%d\n", out.score,
        uct_komi, out.score, out.unsettled, double(empty), double(OWNERSHIP_SETTLED), out.dead[BLACK], out.dead[WHITE]);
  }
  return out.score;
}

uint64_t add_stone_hash(const SearchBoard& b, int zc, int color) {
  if (b.ban[zc] != EMPTY) uct_internal_error("Err! add_stone_hash(), hit_z=%04x\n", z_from_zc(zc));
  if (zc == b.kou_iti) uct_internal_error("Err! ko!\n");
  // The XOR of what put_stone would change, without touching the board.
  uint64_t key = b.hash.v;
  key ^= hashboard64[zc][color].v;
  int taken[4], taken_num = 0;
  for (int d : DIR4) {
    const int p = zc + d;
    if (b.ban[p] != opponent(color)) continue;
    const int s = string_of(b, p);
    const StringRecord<32>& r = b.ren[s];
    bool dup = false;
    for (int i = 0; i < taken_num; i++) dup |= taken[i] == s;
    if (dup || r.lib_num != 1) continue;
    taken[taken_num++] = s;
    for (int q = r.first; q; q = b.next_stone[q]) key ^= hashboard64[q][opponent(color)].v;
  }
  if (b.kou_iti) key ^= hashboard64[b.kou_iti][0].v;
  // A single stone taken by a single stone left in atari is a new ko.
  if (taken_num == 1 && b.ren[taken[0]].stones == 1) {
    int own_neighbours = 0, libs = 0;
    for (int d : DIR4) {
      const int c = b.ban[zc + d];
      own_neighbours += c == color;
      libs += c == EMPTY;
    }
    if (own_neighbours == 0 && libs == 0) key ^= hashboard64[b.ren[taken[0]].first][0].v;
  }
  return ~key;
}

void sample_ownership(UctThread& t, int color, int playouts) {
  const int n = gban.size;
  if (pattern_weight_size != n && !make_pattern_weights(n)) uct_internal_error("pattern weights missing\n");
  make_point_class(n);
  if (t.reply_count.empty()) t.reply_count.assign(size_t(2) * REPLY_MOVES * REPLY_MOVES, 0);
  const int last = tesuu >= 1 && kifu[tesuu].z > 0 ? zc_from_z(kifu[tesuu].z) : 0;
  const int last2 = tesuu >= 2 && kifu[tesuu - 1].z > 0 ? zc_from_z(kifu[tesuu - 1].z) : 0;
  mc_board_load(t.root, gban, color, last, last2);
  uct_thread_reset_stats(t);
  t.depth = 0;
  for (int i = 0; i < playouts; i++) {
    mc_board_copy(t.tree, t.root);
    playout(t, color, nullptr);
  }
}
