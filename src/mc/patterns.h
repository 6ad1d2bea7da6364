// Pattern databases: 3x3 pattern weights ("mm3x3.db"), large patterns with
// seen and played counts ("patlist.db") and the 3x3 log-probabilities of the
// weak move choice ("weak255.db").
#pragma once
#include <cstdint>

// Neighbour order of the 3x3 pattern code in compact point codes; the first
// neighbour is the lowest base-3 digit.
constexpr int PATTERN_DIR32[8] = {+1, +32, -1, -32, +33, +31, -33, -31};
constexpr int PATTERN3X3_NUM = 6561;   // 3^8
constexpr int POSITION_CLASS_NUM = 25;
constexpr int NEIGHBOUR_INDEX_NUM = 9;  // 0..7 neighbour of the last move, 8 otherwise

// Position class 0..24 of column x and row y (both 0..n-1): corners, 2-2
// points, the points next to the corners, the first two lines, the rest.
int pattern_position_class(int x, int y, int n);
// Base-3 code of the eight neighbours of compact point zc on a board of
// compact cells (0 empty or edge, 1 black, 2 white).
template <typename Cell>
int pattern3x3_code(const Cell* ban32, int zc) {
  int code = 0;
  for (int j = 7; j >= 0; j--) {
    const int c = ban32[zc + PATTERN_DIR32[j]];
    code = code * 3 + (c == 1 || c == 2 ? c : 0);
  }
  return code;
}
// j when zc is the j-th neighbour of the last move, else 8.
int pattern_neighbour_index(int zc, int last_zc);
// Float index of colour c, class s, neighbour index k and pattern p in "mm3x3.db".
long mm3x3_index(int c, int s, int k, int p);
