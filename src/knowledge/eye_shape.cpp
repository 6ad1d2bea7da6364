#include "knowledge/eye_shape.h"

#include "core/board.h"
#include "core/random.h"

uint32_t eye_shape_key(const uint32_t* points, int n) {
  uint32_t key = 0;
  for (int i = 0; i < n; i++) key ^= hash_key96[points[i] + 0x0101][0].w[0];
  return key;
}

void make_eye_rehash(int rehash[EYE_REHASH_NUM]) {
  int32_t saved = rand_get_seed();
  rand_set_seed(1);
  bool taken[EYE_REHASH_NUM + 1] = {};
  for (int n = 0; n < EYE_REHASH_NUM;) {
    int v = rand_next() % EYE_REHASH_NUM + 1;
    if (taken[v]) continue;
    taken[v] = true;
    rehash[n++] = v;
  }
  rand_set_seed(saved);
}

int eye_edge_code(int x0, int y0, int x1, int y1, int n) {
  bool left = x0 <= 1, top = y0 <= 1, right = x1 >= n, bottom = y1 >= n;
  if (left && top) return 0;
  if (top && right) return 1;
  if (left && bottom) return 2;
  if (right && bottom) return 3;
  if (top) return 4;
  if (left) return 5;
  if (right) return 6;
  if (bottom) return 7;
  return 8;
}

EyeEdges eye_edges_of(int edge_code) {
  static constexpr EyeEdges table[EYE_EDGE_NUM] = {
      {true, false, true, false},  {true, false, false, true}, {false, true, true, false},
      {false, true, false, true},  {true, false, false, false}, {false, false, true, false},
      {false, false, false, true}, {false, true, false, false}, {false, false, false, false},
  };
  return table[edge_code];
}
