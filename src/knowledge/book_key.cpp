// Position keys of the books: symmetric whole-board keys and corner keys.
#include <algorithm>

#include "knowledge/book.h"

void book_rotate(int rotation, int n, int& x, int& y) {
  const int m = n / 2 + 1;
  const int dx = x - m, dy = y - m;
  switch (rotation & 3) {
    case 0: break;
    case 1: x = -dy + m, y = dx + m; break;
    case 2: x = -dx + m, y = -dy + m; break;
    default: x = dy + m, y = -dx + m; break;
  }
}

namespace {

uint64_t key_of(const Hash96& h) { return (uint64_t(h.w[0]) << 32) | h.w[1]; }

}  // namespace

uint64_t position_key(const GlobalBoard& b, int rotation, int window, bool transpose, bool swap_colors) {
  const int n = b.size;
  Hash96 h{};
  auto in_window = [&](int x, int y) { return x >= 1 && y >= 1 && x <= window && y <= window; };
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int c = b.ban[make_z(x, y)];
      if (c != BLACK && c != WHITE) continue;
      int tx = x, ty = y;
      book_rotate(rotation, n, tx, ty);
      if (!in_window(tx, ty)) continue;
      if (transpose) std::swap(tx, ty);
      h ^= hash_key96[make_z(tx, ty)][swap_colors ? opponent(c) : c];
    }
  }
  if (b.kou_iti) {
    int tx = z_x(b.kou_iti), ty = z_y(b.kou_iti);
    book_rotate(rotation, n, tx, ty);
    if (in_window(tx, ty)) {
      if (transpose) std::swap(tx, ty);
      h ^= hash_key96[make_z(tx, ty)][0];
    }
  }
  return key_of(h);
}

uint64_t book19_key(const GlobalBoard& b) {
  // All 16 keys in one pass over the stones.
  Hash96 h[16] = {};
  const int n = b.size;
  auto add = [&](int x, int y, int slot0, int slot1) {
    for (int r = 0; r < 4; r++) {
      int tx = x, ty = y;
      book_rotate(r, n, tx, ty);
      const int plain = make_z(tx, ty), turned = make_z(ty, tx);
      h[r * 4 + 0] ^= hash_key96[plain][slot0];
      h[r * 4 + 1] ^= hash_key96[plain][slot1];
      h[r * 4 + 2] ^= hash_key96[turned][slot0];
      h[r * 4 + 3] ^= hash_key96[turned][slot1];
    }
  };
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int c = b.ban[make_z(x, y)];
      if (c == BLACK || c == WHITE) add(x, y, c, opponent(c));
    }
  }
  if (b.kou_iti) add(z_x(b.kou_iti), z_y(b.kou_iti), 0, 0);
  uint64_t best = key_of(h[0]);
  for (int i = 1; i < 16; i++) best = std::min(best, key_of(h[i]));
  return best;
}

int book_corner_rotation(int z, int size) {
  for (int r = 0; r < 4; r++) {
    int x = z_x(z), y = z_y(z);
    book_rotate(r, size, x, y);
    if (x >= 1 && y >= 1 && x <= BOOK_CORNER_REACH && y <= BOOK_CORNER_REACH) return r;
  }
  return -1;
}

uint64_t book11_key(const GlobalBoard& b, int z, int color) {
  const int r = book_corner_rotation(z, b.size);
  if (r < 0) return ~uint64_t(0);
  // Read from Black's side: a white move is keyed as if Black had made it.
  const bool swap = color == WHITE;
  return std::min(position_key(b, r, BOOK_WINDOW_CORNER, false, swap),
                  position_key(b, r, BOOK_WINDOW_CORNER, true, swap));
}

int book_quadrant(int z) {
  if (z <= 0) return 0;
  const int x = z_x(z), y = z_y(z);
  if (x == 10 || y == 10) return 0;
  if (y < 10) return x < 10 ? 1 : 2;
  return x > 10 ? 3 : 4;
}
