#include <algorithm>
#include <utility>

#include "core/board.h"
#include "mc/simple_mc.h"

SimpleMcStats simple_mc_stats;

namespace {

constexpr int DIRECTIONS[4] = {1, -1, 256, -256};
constexpr int DIAGONALS[4] = {257, 255, -255, -257};
// A random game rarely runs past three moves per point; the cap ends the
// rare long ko fights.
constexpr int PLAYOUT_MOVES_PER_POINT = 3;

uint64_t random_state = 0x9e3779b97f4a7c15ull;

// A point surrounded by the mover's strings, none of them in atari, with at
// most one opponent diagonal (none on the edge): filling it only hurts.
bool is_own_eye(int z, int color) {
  for (int d : DIRECTIONS) {
    int c = gban.ban[z + d];
    if (c == EDGE) continue;
    if (c != color || gban.ren[string_of(gban, z + d)].lib_num == 1) return false;
  }
  int bad = 0, edge = 0;
  for (int d : DIAGONALS) {
    int c = gban.ban[z + d];
    if (c == EDGE) edge = 1;
    else if (c == opponent(color)) bad++;
  }
  return bad + edge < 2;
}

}  // namespace

void simple_mc_seed(uint64_t seed) { random_state = seed ? seed : 0x9e3779b97f4a7c15ull; }

uint32_t simple_mc_random() {
  random_state ^= random_state << 13;
  random_state ^= random_state >> 7;
  random_state ^= random_state << 17;
  return uint32_t(random_state >> 32);
}

int simple_area_score() {
  int score = 0;
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y), c = gban.ban[z];
      if (c == BLACK) score++;
      else if (c == WHITE) score--;
      else {
        bool black = false, white = false;
        for (int d : DIRECTIONS) black |= gban.ban[z + d] == BLACK, white |= gban.ban[z + d] == WHITE;
        score += int(black && !white) - int(white && !black);
      }
    }
  }
  return score;
}

int simple_playout(int color, int* length) {
  const int start = gban.fukasa;
  // The move records and the string records of the global board are the
  // hard limits; one move makes at most one new string.
  const int limit = std::min(start + PLAYOUT_MOVES_PER_POINT * gban.size * gban.size, TE_INFO_MAX - 2);
  // The empty points, kept up to date move by move; at_index finds a point in the list.
  int empty[BOARD_MAX * BOARD_MAX], n = 0;
  static int at_index[21 * 256];
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      int z = make_z(x, y);
      if (gban.ban[z] == EMPTY) at_index[z] = n, empty[n++] = z;
    }
  }
  int passes = 0;
  while (passes < 2 && gban.fukasa < limit && gban.ren_num < REN_MAX) {
    // Points that fail move to the end of the list, out of this move's draw.
    int open = n, played = 0;
    while (open > 0) {
      int i = int(simple_mc_random() % uint32_t(open));
      int z = empty[i];
      if (z != gban.kou_iti && !is_own_eye(z, color) && put_stone(gban, z, color) == PUT_OK) {
        played = z;
        break;
      }
      open--;
      std::swap(empty[i], empty[open]);
      at_index[empty[i]] = i, at_index[empty[open]] = open;
    }
    if (played) {
      int i = at_index[played];
      empty[i] = empty[--n];
      at_index[empty[i]] = i;
      const auto& m = gban.te[gban.fukasa - 1];
      for (int k = 0; k < m.captured_stone_num; k++) {
        int p = m.captured_stones[k];
        at_index[p] = n, empty[n++] = p;
      }
    } else {
      put_stone(gban, 0, color);
    }
    passes = played ? 0 : passes + 1;
    color = opponent(color);
  }
  int score = simple_area_score();
  if (length) *length = gban.fukasa - start;
  while (gban.fukasa > start) {
    const auto& m = gban.te[gban.fukasa - 1];
    take_back(gban, m.z, m.color);
  }
  return score;
}
