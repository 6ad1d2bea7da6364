// "weak255.db": 3x3 pattern probabilities of the weak move choice, one byte
// each on a logarithmic scale, with five larger shapes in table B.
#include <cmath>
#include <cstdio>

#include "core/folders.h"
#include "core/log.h"
#include "mc/patterns.h"

std::vector<uint8_t> weak_table_a;
std::vector<uint8_t> weak_table_b;
double weak_byte_probability[256];

namespace {

constexpr double WEAK_BASE = 1.04;
constexpr int POW3[8] = {1, 3, 9, 27, 81, 243, 729, 2187};
// The neighbour vectors of the pattern order: right, down, left, up, then the diagonals.
constexpr int DX[8] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int DY[8] = {0, 1, 0, -1, 1, 1, -1, -1};

// Turns a vector of the pattern order so that "up" points at edge q
// (0 top, 1 right, 2 bottom, 3 left).
void turn(int q, int& dx, int& dy) {
  for (int r = 0; r < q; r++) {
    const int t = dx;
    dx = -dy, dy = t;
  }
}

}  // namespace

bool load_pattern3x3_log() {
  if (!weak_table_a.empty()) return true;
  FILE* fp = open_data_file(WEAK255_FILE);
  if (!fp) {
    PRT("fail fopen() in load_pattern3x3_log()\n");
    return false;
  }
  int32_t n = 0, no_3x3 = 0;
  std::vector<uint8_t> a(WEAK_A_NUM), b(WEAK_B_NUM);
  const bool read = fread(&n, sizeof n, 1, fp) == 1 && fread(a.data(), 1, a.size(), fp) == a.size() &&
                    fread(&no_3x3, sizeof no_3x3, 1, fp) == 1 && fread(b.data(), 1, b.size(), fp) == b.size();
  fclose(fp);
  if (!read) {
    PRT("%s is damaged: playing without it\n", WEAK255_FILE);
    return false;
  }
  PRT("load %s n = %d,no_3x3=%d\n", WEAK255_FILE, n, no_3x3);
  for (int v = 0; v < 256; v++) weak_byte_probability[v] = std::pow(WEAK_BASE, v - 255);
  weak_table_a.swap(a);
  weak_table_b.swap(b);
  return true;
}

int weak_index(const GlobalBoard& b, int z, int last, int color) {
  const int n = b.size, x = z_x(z), y = z_y(z);
  const int to_edge[4] = {y - 1, n - x, n - y, x - 1};
  int q = 0;
  for (int i = 1; i < 4; i++) {
    if (to_edge[i] < to_edge[q]) q = i;
  }
  const int line = to_edge[q];
  const int e = line == 0 ? 1 : line == 1 ? 2 : 0;
  int p = 0, kk = NEIGHBOUR_NONE;
  for (int j = 0; j < 8; j++) {
    int dx = DX[j], dy = DY[j];
    turn(q, dx, dy);
    const int u = z + dy * 256 + dx;
    const int c = b.ban[u];
    p += (c == color ? 1 : c == opponent(color) ? 2 : 0) * POW3[j];
    if (u == last) kk = j;
  }
  // Table B: in the open, away from the last move, with stones two points away.
  if (e == 0 && line >= 2 && kk == NEIGHBOUR_NONE) {
    int own = 0, other = 0;
    for (int d : {2, -2, 512, -512}) {
      const int c = b.ban[z + d];
      own += c == color, other += c == opponent(color);
    }
    if (own + other > 0) {
      const int block = other == 0 ? (own == 1 ? 0 : 2) : own == 0 ? (other == 1 ? 1 : 3) : 4;
      return WEAK_A_NUM + block * WEAK_B_BLOCK + p;
    }
  }
  return (kk + e * 9) * PATTERN3X3_NUM + p;
}

double weak_probability(const GlobalBoard& b, int z, int last, int color) {
  if (weak_table_a.empty()) return 0.0;
  const int i = weak_index(b, z, last, color);
  const uint8_t v = i < WEAK_A_NUM ? weak_table_a[i] : weak_table_b[i - WEAK_A_NUM];
  return weak_byte_probability[v];
}
