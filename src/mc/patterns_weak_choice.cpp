// The weak playing levels 5 and 6: a move drawn at random in proportion to
// the 3x3 probability of "weak255.db", scaled by the distance to the last two
// moves; level 5 also favours capturing and rescuing strings in atari.
#include <algorithm>
#include <cstdlib>

#include "core/kifu.h"
#include "core/log.h"
#include "core/random.h"
#include "core/think.h"
#include "mc/patterns.h"

namespace {

constexpr int WEAK_SCALE = 100000;
constexpr int CANDIDATE_MAX = BOARD_MAX * BOARD_MAX;
constexpr double SINGLE_STONE_FACTOR = 10;
constexpr double STONES_FACTOR = 100;

int chebyshev(int a, int b) { return std::max(std::abs(z_x(a) - z_x(b)), std::abs(z_y(a) - z_y(b))); }

bool fills_own_eye(const GlobalBoard& b, int z, int color) {
  int edge = 0, opponent_diagonal = 0;
  for (int j = 0; j < 8; j++) {
    const int c = b.ban[z + PATTERN_DIR256[j]];
    if (j < 4 && c != color && c != EDGE) return false;
    edge += c == EDGE;
    if (j >= 4) opponent_diagonal += c == opponent(color);
  }
  return opponent_diagonal <= (edge ? 0 : 1);
}

// Strings in atari next to z: capturing the opponent's or giving liberties to our own.
double tactical_factor(const GlobalBoard& b, int z) {
  double f = 1;
  int seen[4], n = 0;
  for (int d : {1, -1, 256, -256}) {
    const int c = b.ban[z + d];
    if (c != BLACK && c != WHITE) continue;
    const int s = string_of(b, z + d);
    if (std::find(seen, seen + n, s) != seen + n || b.ren[s].lib_num != 1) continue;
    seen[n++] = s;
    const int stones = b.ren[s].stones;
    f *= stones == 1 ? SINGLE_STONE_FACTOR : STONES_FACTOR * stones;
  }
  return f;
}

// After the move: a self-atari of more than one stone that captures nothing.
bool self_destructive(GlobalBoard& b, int z, int color) {
  if (put_stone(b, z, color) != PUT_OK) return true;
  const StringRecord<256>& r = b.ren[string_of(b, z)];
  const bool bad = r.lib_num == 1 && r.stones > 1 && tyokuzen_get_num(b) == 0;
  take_back(b, z, color);
  return bad;
}

}  // namespace

int weak_move_choice(int color, int tactical) {
  if (!load_pattern3x3_log()) return 0;
  const int last = tesuu >= 1 ? kifu[tesuu].z : 0;
  const int last2 = tesuu >= 2 ? kifu[tesuu - 1].z : 0;
  static int cand[CANDIDATE_MAX];
  static double per[CANDIDATE_MAX];
  static int weight[CANDIDATE_MAX];
  int n = 0;
  double sum = 0;
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      const int z = make_z(x, y);
      if (gban.ban[z] != EMPTY) continue;
      double p = weak_probability(gban, z, last, color);
      if (last > 0) p *= prior_distance_prev[std::min(chebyshev(z, last), 18)];
      if (last2 > 0) p *= prior_distance_prev2[std::min(chebyshev(z, last2), 18)];
      if (tactical) p *= tactical_factor(gban, z);
      if (p <= 0) continue;  // beside the last move's own point only
      cand[n] = z, per[n] = p, sum += p, n++;
    }
  }
  int best = -1;
  long total = 0;
  for (int i = 0; i < n; i++) {
    weight[i] = std::max(1, int(per[i] / sum * WEAK_SCALE));
    if (best < 0 || per[i] > per[best]) best = i;
  }
  double running = 0;
  for (int i = 0; i < n; i++) {
    running += per[i];
    PRT("z=%04x, per=%f,kari=%7d (%.4f)\n", cand[i], per[i], weight[i], 100 * running / sum);
  }
  if (best >= 0) PRT("\nbest=%04x, per=%f\n", cand[best], per[best]);
  for (int i = 0; i < n; i++) {
    if (fills_own_eye(gban, cand[i], color) || self_destructive(gban, cand[i], color)) weight[i] = 0;
    total += weight[i];
  }
  while (total > 0) {
    const long r = long(rand_next()) % total;
    long acc = 0;
    int pick = -1;
    for (int i = 0; i < n && pick < 0; i++) {
      acc += weight[i];
      if (acc > r) pick = i;
    }
    PRT("nokori=(%ld/%ld),sum=%ld,n=%d\n", r, total, acc, n);
    if (put_stone(gban, cand[pick], color) == PUT_OK) {
      // Positional super-ko: no move may bring back an earlier position.
      const bool repeats = super_ko_check();
      take_back(gban, cand[pick], color);
      if (!repeats) return cand[pick];
    }
    total -= weight[pick];
    weight[pick] = 0;
  }
  return 0;
}

namespace {
int think_level5(int color) { return weak_move_choice(color, 1); }
int think_level6(int color) { return weak_move_choice(color, 0); }
}  // namespace

bool patterns_register_levels() {
  if (!load_pattern3x3_log()) {
    PRT("%s is missing: levels 5 and 6 are not available\n", WEAK255_FILE);
    return false;
  }
  think_register_level(5, think_level5);
  think_register_level(6, think_level6);
  return true;
}
