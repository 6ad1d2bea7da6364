// Big-pattern keys of every point kept up to date move by move: a changed
// point flips its ring slot in the keys of every pattern that contains it.
#include "core/board.h"
#include "mc/uct.h"

namespace {

// Content of a colour seen from view v (0 Black's side, 1 White's).
inline int view_content(int color, int v) {
  if (color != BLACK && color != WHITE) return 0;
  return (color == BLACK) == (v == 0) ? 1 : 2;
}

// Smallest pattern size whose points include ring index i.
int first_size_of(int i) {
  int s = 1;
  while (big_pattern_points(s) <= i) s++;
  return s < BIG_PATTERN_SIZE_MIN ? BIG_PATTERN_SIZE_MIN : s;
}

}  // namespace

void big_keys_init(BigPatternKeys& k, const SearchBoard& b) {
  make_big_pattern_tables();
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) {
      const int z = y * 32 + x;
      for (int v = 0; v < 2; v++) {
        big_pattern_content(b, z, v == 0 ? BLACK : WHITE, content);
        big_pattern_keys(content, keys);
        for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) k.key[v][s][z] = keys[s];
      }
    }
  }
}

void big_keys_update(BigPatternKeys& k, const SearchBoard& b, int zc, int from, int to) {
  const int px = zc & 31, py = zc >> 5, n = b.size;
  for (int i = 0; i < BIG_PATTERN_POINTS; i++) {
    const int cx = px - big_pattern_dx[i], cy = py - big_pattern_dy[i];
    if (cx < 1 || cy < 1 || cx > n || cy > n) continue;
    const int centre = cy * 32 + cx;
    const int s0 = first_size_of(i);
    for (int v = 0; v < 2; v++) {
      const uint64_t delta = hashboard64[i][view_content(from, v)].v ^ hashboard64[i][view_content(to, v)].v;
      for (int s = s0; s <= BIG_PATTERN_SIZE_MAX; s++) k.key[v][s][centre] ^= delta;
    }
  }
}

void big_keys_after_move(BigPatternKeys& k, const SearchBoard& b, int zc, int color) {
  if (zc == 0) return;
  big_keys_update(k, b, zc, EMPTY, color);
  const MoveRecord<32>& m = b.te[b.fukasa - 1];
  for (int i = 0; i < m.captured_stone_num; i++) big_keys_update(k, b, m.captured_stones[i], opponent(color), EMPTY);
}

double big_pattern_factor_keys(const BigPatternKeys& k, int zc, int color) {
  const int v = color == BLACK ? 0 : 1;
  uint64_t keys[BIG_PATTERN_SIZE_MAX + 1] = {};
  for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) keys[s] = k.key[v][s][zc];
  return big_pattern_factor_from_keys(keys);
}
