// Large patterns: ring layout, keys, "patlist.db" and the lookup table.
#include <algorithm>
#include <cstdio>

#include "core/folders.h"
#include "core/log.h"
#include "core/random.h"
#include "mc/patterns.h"

int big_pattern_dx[BIG_PATTERN_POINTS];
int big_pattern_dy[BIG_PATTERN_POINTS];
int big_pattern_symmetry[8][BIG_PATTERN_POINTS];
std::vector<HashpatList> hashpat_list;
int hashpat_list_num = 0;
std::vector<HashpatUct> hashpat_uct;
HashpatSizeStats hashpat_size_stats[BIG_PATTERN_SIZE_MAX + 1];

namespace {

constexpr uint32_t UCT_COUNT_MAX = 65535;
constexpr int PROBE_LOOPS = PROBE_NUM + 1;

void transform(int g, int& x, int& y) {
  if (g >= 4) x = -x;
  for (int r = 0; r < (g & 3); r++) {
    const int t = x;
    x = -y, y = t;
  }
}

}  // namespace

void make_big_pattern_tables() {
  static bool made = false;
  if (made) return;
  made = true;
  make_hashboard64();
  int i = 0;
  const int run_dx[4] = {1, -1, -1, 1}, run_dy[4] = {1, 1, -1, -1};
  for (int d = 1; d <= BIG_PATTERN_SIZE_MAX; d++) {
    int x = 0, y = -d;
    for (int run = 0; run < 4; run++) {
      for (int step = 0; step < d; step++) {
        big_pattern_dx[i] = x, big_pattern_dy[i] = y, i++;
        x += run_dx[run], y += run_dy[run];
      }
    }
  }
  for (int g = 0; g < 8; g++) {
    for (int a = 0; a < BIG_PATTERN_POINTS; a++) {
      int x = big_pattern_dx[a], y = big_pattern_dy[a];
      transform(g, x, y);
      for (int b = 0; b < BIG_PATTERN_POINTS; b++) {
        if (big_pattern_dx[b] == x && big_pattern_dy[b] == y) big_pattern_symmetry[g][a] = b;
      }
    }
  }
}

template <int S>
void big_pattern_content(const Board<S>& b, int z, int color, uint8_t content[BIG_PATTERN_POINTS]) {
  const int shift = S == 256 ? 8 : 5;
  const int x = z & (S - 1), y = z >> shift;
  for (int i = 0; i < BIG_PATTERN_POINTS; i++) {
    const int px = x + big_pattern_dx[i], py = y + big_pattern_dy[i];
    if (px < 1 || py < 1 || px > b.size || py > b.size) {
      content[i] = 3;
      continue;
    }
    const int c = b.ban[(py << shift) | px];
    content[i] = uint8_t(c == EMPTY ? 0 : c == color ? 1 : 2);
  }
}

void big_pattern_keys(const uint8_t content[BIG_PATTERN_POINTS], uint64_t keys[BIG_PATTERN_SIZE_MAX + 1]) {
  uint64_t k = 0;
  int i = 0;
  for (int s = 1; s <= BIG_PATTERN_SIZE_MAX; s++) {
    for (; i < big_pattern_points(s); i++) k ^= hashboard64[i][content[i]].v;
    keys[s] = k;
  }
  keys[0] = 0;
}

void big_pattern_symmetric_keys(const uint8_t content[BIG_PATTERN_POINTS], int size, uint64_t keys[8]) {
  for (int g = 0; g < 8; g++) {
    uint64_t k = 0;
    for (int i = 0; i < big_pattern_points(size); i++) k ^= hashboard64[big_pattern_symmetry[g][i]][content[i]].v;
    keys[g] = k;
  }
}

namespace {

// The slot of the key, or of the empty slot where it would go; -1 when the
// whole probe path is taken by other keys.
int hashpat_slot(uint64_t key) {
  const uint32_t home = uint32_t(key) & HASHPAT_UCT_MASK;
  for (int k = 0; k < PROBE_LOOPS; k++) {
    const uint32_t i = k == 0 ? home : (home + uint32_t(probe_offset[k - 1])) & HASHPAT_UCT_MASK;
    if (hashpat_uct[i].key == 0 || hashpat_uct[i].key == key) return int(i);
  }
  return -1;
}

}  // namespace

void make_hashpat_uct(const HashpatList* list, int n) {
  make_big_pattern_tables();
  hashpat_uct.assign(HASHPAT_UCT_NUM, HashpatUct{});
  PRT("pat_uct=%8d(%3dMB),sizeof(HASHPAT_UCT)=%d\n", HASHPAT_UCT_NUM,
      int(HASHPAT_UCT_NUM * sizeof(HashpatUct) >> 20), int(sizeof(HashpatUct)));
  for (auto& st : hashpat_size_stats) st = HashpatSizeStats{};
  int use = 0, err = 0;
  for (int r = 0; r < n; r++) {
    const HashpatList& h = list[r];
    if (h.size < 1 || h.size > BIG_PATTERN_SIZE_MAX || h.seen == 0 || h.played > h.seen) continue;
    HashpatSizeStats& st = hashpat_size_stats[h.size];
    const double ratio = double(h.played) / h.seen;
    if (ratio > 0) st.min_ratio = std::min(st.min_ratio, ratio);
    st.sum_ratio += ratio;
    st.records++;
    uint32_t seen = h.seen, played = h.played;
    while (seen > UCT_COUNT_MAX) seen >>= 1, played >>= 1;
    for (uint64_t key : h.key) {
      if (key == 0) continue;
      const int i = hashpat_slot(key);
      if (i < 0) {
        PRT("hashpat over! loop=%d,hashpat_uct_use=%d\n", PROBE_LOOPS, use);
        continue;
      }
      if (hashpat_uct[i].key == key) {
        err++;  // a symmetric pattern repeats its own keys
        continue;
      }
      hashpat_uct[i] = HashpatUct{key, uint16_t(seen), uint16_t(played), uint16_t(h.size), uint16_t(h.extra)};
      use++;
    }
  }
  PRT("hashpat_uct_use=%d,err=%d\n", use, err);
}

bool load_hashpat_list() {
  if (!hashpat_uct.empty()) return true;
  FILE* fp = open_data_file(PATLIST_FILE);
  if (!fp) {
    PRT("fail fopen() in load_hashpat_list()\n");
    return false;
  }
  int32_t n = 0;
  std::vector<HashpatList> list(HASHPAT_LIST_NUM);
  const bool read = fread(&n, sizeof n, 1, fp) == 1 && n >= 0 && n <= HASHPAT_LIST_NUM &&
                    fread(list.data(), sizeof(HashpatList), size_t(n), fp) == size_t(n);
  fclose(fp);
  if (!read) {
    PRT("%s is damaged: playing without it\n", PATLIST_FILE);
    return false;
  }
  PRT("load %s n = %d\n", PATLIST_FILE, n);
  PRT("patlist=%8d(%3dMB),sizeof(HASHPAT_LIST)=%d\n", HASHPAT_LIST_NUM,
      int(HASHPAT_LIST_NUM * sizeof(HashpatList) >> 20), int(sizeof(HashpatList)));
  hashpat_list.swap(list);
  hashpat_list_num = n;
  make_hashpat_uct(hashpat_list.data(), n);
  return true;
}

const HashpatUct* hashpat_lookup(uint64_t key) {
  if (hashpat_uct.empty() || key == 0) return nullptr;
  const int i = hashpat_slot(key);
  if (i < 0) {
    PRT("hashpat over! loop=%d,hashpat_uct_use=%d\n", PROBE_LOOPS, -1);
    return nullptr;
  }
  return hashpat_uct[i].key == key ? &hashpat_uct[i] : nullptr;
}

double big_pattern_factor_from_keys(const uint64_t keys[BIG_PATTERN_SIZE_MAX + 1]) {
  double v = 1.0;
  for (int s = BIG_PATTERN_SIZE_MIN; s <= BIG_PATTERN_SIZE_MAX; s++) {
    const double least = hashpat_size_stats[s].min_ratio;
    const HashpatUct* e = hashpat_lookup(keys[s]);
    // An unknown pattern is rare rather than bad: it counts as a middling ratio.
    const double f = e && e->seen ? std::max(double(e->played) / e->seen, least) : least * BIG_PATTERN_SCALE;
    v *= f * BIG_PATTERN_SCALE;
  }
  if (v <= 0.0) {
    PRT("per <= 0.0\n");
    return 1.0;
  }
  return v;
}

template <int S>
double big_pattern_factor(const Board<S>& b, int z, int color) {
  uint8_t content[BIG_PATTERN_POINTS];
  uint64_t keys[BIG_PATTERN_SIZE_MAX + 1];
  big_pattern_content(b, z, color, content);
  big_pattern_keys(content, keys);
  return big_pattern_factor_from_keys(keys);
}

template void big_pattern_content<256>(const Board<256>&, int, int, uint8_t*);
template void big_pattern_content<32>(const Board<32>&, int, int, uint8_t*);
template double big_pattern_factor<256>(const Board<256>&, int, int);
template double big_pattern_factor<32>(const Board<32>&, int, int);
