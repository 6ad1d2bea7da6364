#include "mc/patterns.h"

int pattern_position_class(int x, int y, int n) {
  const int e = n - 1, f = n - 2;
  if (x == 0 && y == 0) return 24;
  if (x == 0 && y == e) return 23;
  if (x == e && y == 0) return 22;
  if (x == e && y == e) return 21;
  if (x == 1 && y == 1) return 20;
  if (x == 1 && y == f) return 19;
  if (x == f && y == 1) return 18;
  if (x == f && y == f) return 17;
  if (x == 0 && y == 1) return 16;
  if (x == 0 && y == f) return 15;
  if (x == e && y == 1) return 14;
  if (x == e && y == f) return 13;
  if (x == 1 && y == 0) return 12;
  if (x == 1 && y == e) return 11;
  if (x == f && y == 0) return 10;
  if (x == f && y == e) return 9;
  if (x == 0) return 8;
  if (x == 1) return 7;
  if (x == e) return 6;
  if (x == f) return 5;
  if (y == 0) return 4;
  if (y == 1) return 3;
  if (y == e) return 2;
  if (y == f) return 1;
  return 0;
}

int pattern_neighbour_index(int zc, int last_zc) {
  if (last_zc <= 0) return 8;
  for (int j = 0; j < 8; j++) {
    if (zc == last_zc + PATTERN_DIR32[j]) return j;
  }
  return 8;
}
