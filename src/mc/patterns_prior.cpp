// The tree search's prior of a candidate, without the tactical adjustments.
#include <algorithm>
#include <cstdlib>

#include "mc/patterns.h"

const double prior_distance_prev[19] = {0.0,      0.348068, 0.192002, 0.104148, 0.067388, 0.051744, 0.04124,
                                        0.033729, 0.026496, 0.021734, 0.019583, 0.018463, 0.022198, 0.020836,
                                        0.014145, 0.007654, 0.005485, 0.003233, 0.001853};
const double prior_distance_prev2[19] = {0.000039, 0.22316,  0.157859, 0.109476, 0.086393, 0.07013,  0.058246,
                                         0.048435, 0.040705, 0.034982, 0.032211, 0.030101, 0.030208, 0.028144,
                                         0.021191, 0.012265, 0.008402, 0.005156, 0.002897};
const double prior_line[10] = {0.089892, 0.170212, 0.196398, 0.16364,  0.124693,
                               0.100309, 0.075654, 0.050682, 0.025331, 0.00319};

namespace {
constexpr int PRIOR_BIG_PATTERN_ABOVE = 9;

template <int S>
int distance(int a, int b) {
  const int shift = S == 256 ? 8 : 5;
  return std::max(std::abs((a & (S - 1)) - (b & (S - 1))), std::abs((a >> shift) - (b >> shift)));
}
}  // namespace

template <int S>
double prior_context_factor(const Board<S>& b, int z, int color, int prev, int prev2) {
  const int shift = S == 256 ? 8 : 5;
  const int* dir = S == 256 ? PATTERN_DIR256 : PATTERN_DIR32;
  const int n = b.size, x = z & (S - 1), y = z >> shift;
  double v = 1.0;
  if (prev > 0) {
    v *= prior_distance_prev[std::min(distance<S>(z, prev), 18)];
    if (prev2 > 0) v *= prior_distance_prev2[std::min(distance<S>(z, prev2), 18)];
  }
  v *= prior_line[std::min(std::min(std::min(x - 1, y - 1), std::min(n - x, n - y)), 9)];

  int own8 = 0, opp8 = 0, edge8 = 0, opp4 = 0;
  for (int j = 0; j < 8; j++) {
    const int c = b.ban[z + dir[j]];
    own8 += c == color, opp8 += c == opponent(color), edge8 += c == EDGE;
    if (j < 4) opp4 += c == opponent(color);
  }
  int own2 = 0, opp2 = 0;
  for (int i = 0; i < 4; i++) {
    const int d = dir[i], e = dir[(i + 1) & 3];
    for (int p : {z + 2 * d, z + 2 * d + e, z + 2 * d - e}) {
      const int px = p & (S - 1), py = p >> shift;
      if (p < 0 || px < 1 || py < 1 || px > n || py > n) continue;
      own2 += b.ban[p] == color, opp2 += b.ban[p] == opponent(color);
    }
  }
  if (own8 + opp8 + edge8 == 0) {
    if (own2 > 0) v *= 2;
    if (own2 > 0 && opp2 > 0) v *= 2;
    if (own2 == 0 && opp2 > 0) v *= 1.5;
  }
  if (opp4 > 0 && own8 == 0 && edge8 == 0 && own2 == 0) v *= 0.5;
  return v;
}

template <int S>
double pattern_prior(const Board<S>& b, int z, int color, int prev, int prev2) {
  double v = pattern_weight_at(b, z, color, prev) * prior_context_factor(b, z, color, prev, prev2);
  if (b.size > PRIOR_BIG_PATTERN_ABOVE) v *= big_pattern_factor(b, z, color);
  return v;
}

template double prior_context_factor<256>(const Board<256>&, int, int, int, int);
template double prior_context_factor<32>(const Board<32>&, int, int, int, int);
template double pattern_prior<256>(const Board<256>&, int, int, int, int);
template double pattern_prior<32>(const Board<32>&, int, int, int, int);
