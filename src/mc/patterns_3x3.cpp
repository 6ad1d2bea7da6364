// 3x3 patterns: position classes, pattern codes, "mm3x3.db" and the integer
// playout weights made from it.
#include <cmath>
#include <cstdio>

#include "core/folders.h"
#include "core/log.h"
#include "mc/patterns.h"

std::vector<float> mm3x3;
std::vector<int32_t> pattern_weight;
int pattern_weight_size = 0;

namespace {
constexpr int POW3[9] = {1, 3, 9, 27, 81, 243, 729, 2187, 6561};
}  // namespace

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

template <int S>
int pattern3x3_code(const Board<S>& b, int z) {
  const int* dir = S == 256 ? PATTERN_DIR256 : PATTERN_DIR32;
  int code = 0;
  for (int j = 7; j >= 0; j--) {
    const int c = b.ban[z + dir[j]];
    code = code * 3 + ((c == BLACK || c == WHITE) ? c : 0);
  }
  return code;
}

int pattern3x3_swap(int p) {
  int out = 0;
  for (int j = 0; j < 8; j++) {
    const int d = p / POW3[j] % 3;
    out += (d == 0 ? 0 : 3 - d) * POW3[j];
  }
  return out;
}

template <int S>
int pattern_neighbour_index(int z, int last) {
  if (last <= 0) return NEIGHBOUR_NONE;
  const int* dir = S == 256 ? PATTERN_DIR256 : PATTERN_DIR32;
  for (int j = 0; j < 8; j++) {
    if (last == z + dir[j]) return j;
  }
  return NEIGHBOUR_NONE;
}

bool load_mm3x3() {
  if (!mm3x3.empty()) return true;
  FILE* fp = open_data_file(MM3X3_FILE);
  if (!fp) {
    PRT("fail fopen() in load_mm3x3()\n");
    return false;
  }
  PRT("load %s\n", MM3X3_FILE);
  std::vector<float> data(MM3X3_FLOATS);
  const size_t n = fread(data.data(), sizeof(float), data.size(), fp);
  fclose(fp);
  if (n != data.size()) {
    PRT("%s is damaged (%ld of %ld floats): playing without it\n", MM3X3_FILE, long(n), MM3X3_FLOATS);
    return false;
  }
  double lo = data[0], hi = data[0], sum = 0;
  for (float v : data) {
    if (!std::isfinite(v) || v < 0) {
      PRT("%s is damaged (value %f): playing without it\n", MM3X3_FILE, double(v));
      return false;
    }
    lo = std::min<double>(lo, v), hi = std::max<double>(hi, v), sum += v;
  }
  PRT("min=%.2f,max=%.2f,ave=%.1f\n", lo, hi, sum / MM3X3_FLOATS);
  mm3x3.swap(data);
  return true;
}

float mm3x3_gamma(int c, int s, int k, int p) {
  const long i = mm3x3_index(c, s, k, p);
  return i < long(mm3x3.size()) ? mm3x3[i] : 0.0f;
}

namespace {

// Whether a stone of color at the centre of pattern p, with the edges of the
// centre's place, could be played without filling its own eye. Impossible
// patterns (stones off the board, a neighbour without liberties) give false.
bool playable(SearchBoard& tb, int centre, int p, int color) {
  int placed[8], placed_color[8], n = 0;
  bool possible = true;
  for (int j = 0; j < 8 && possible; j++) {
    const int d = p / POW3[j] % 3;
    if (d == 0) continue;
    const int q = centre + PATTERN_DIR32[j];
    if (tb.ban[q] != EMPTY || put_stone(tb, q, d) != PUT_OK) {
      possible = false;
      break;
    }
    placed[n] = q, placed_color[n++] = d;
    if (tyokuzen_get_num(tb) > 0) possible = false;
  }
  bool ok = false;
  if (possible) {
    int own_or_edge = 0, edge = 0, opponent_diagonal = 0;
    for (int j = 0; j < 8; j++) {
      const int c = tb.ban[centre + PATTERN_DIR32[j]];
      if (j < 4 && (c == color || c == EDGE)) own_or_edge++;
      if (c == EDGE) edge++;
      if (j >= 4 && c == opponent(color)) opponent_diagonal++;
    }
    const bool eye = own_or_edge == 4 && opponent_diagonal <= (edge ? 0 : 1);
    if (!eye && put_stone(tb, centre, color) == PUT_OK) {
      take_back(tb, centre, color);
      ok = true;
    }
  }
  while (n > 0) {
    n--;
    take_back(tb, placed[n], placed_color[n]);
  }
  return ok;
}

}  // namespace

bool make_pattern_weights(int board_size) {
  if (mm3x3.empty()) {
    PRT("file in Err\n");
    return false;
  }
  static SearchBoard tb;
  board_reset(tb, board_size);
  int centre_of_class[POSITION_CLASS_NUM] = {};
  for (int y = board_size; y >= 1; y--) {
    for (int x = board_size; x >= 1; x--) {
      centre_of_class[pattern_position_class(x - 1, y - 1, board_size)] = y * 32 + x;
    }
  }
  const int near = board_size == 19 ? NEAR_LAST_FACTOR_19 : NEAR_LAST_FACTOR;
  pattern_weight.assign(size_t(MM3X3_USED) * 2, 0);
  for (int s = 0; s < POSITION_CLASS_NUM; s++) {
    const int centre = centre_of_class[s];
    if (centre == 0) continue;
    for (int p = 0; p < PATTERN3X3_NUM; p++) {
      for (int c = BLACK; c <= WHITE; c++) {
        if (!playable(tb, centre, p, c)) continue;
        for (int k = 0; k < NEIGHBOUR_INDEX_NUM; k++) {
          const int32_t w = int32_t(mm3x3_gamma(c, s, k, p) * 1000.0f);
          pattern_weight[pattern_weight_index(c, s, k, p)] = w * (k < NEIGHBOUR_NONE ? near : 1);
        }
      }
    }
  }
  pattern_weight_size = board_size;
  return true;
}

template <int S>
int32_t pattern_weight_at(const Board<S>& b, int z, int color, int last) {
  if (pattern_weight.empty()) return 0;
  const int stride_shift = S == 256 ? 8 : 5;
  const int x = (z & (S - 1)) - 1, y = (z >> stride_shift) - 1;
  const int s = pattern_position_class(x, y, b.size);
  return pattern_weight[pattern_weight_index(color, s, pattern_neighbour_index<S>(z, last), pattern3x3_code(b, z))];
}

template int pattern3x3_code<256>(const Board<256>&, int);
template int pattern3x3_code<32>(const Board<32>&, int);
template int pattern_neighbour_index<256>(int, int);
template int pattern_neighbour_index<32>(int, int);
template int32_t pattern_weight_at<256>(const Board<256>&, int, int, int);
template int32_t pattern_weight_at<32>(const Board<32>&, int, int, int);
