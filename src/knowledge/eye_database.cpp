#include "knowledge/eye_database.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/board.h"
#include "core/folders.h"
#include "core/internal_stop.h"
#include "core/log.h"

int eye_base_num;
int eye_hash_num;

namespace {

EyeSlot eye_hash[EYE_SLOT_NUM];
uint8_t eye_base[EYE_RESULT_MAX * 3];
int eye_rehash[EYE_REHASH_NUM];
bool loaded;

uint32_t read_u32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A damaged file must not lead lookups outside the tables.
bool check_tables(const uint8_t* head) {
  uint32_t base_num = read_u32(head), hash_num = read_u32(head + 4);
  if (base_num > uint32_t(EYE_RESULT_MAX) || hash_num > uint32_t(EYE_SLOT_NUM)) return false;
  uint32_t used = 0;
  for (int s = 0; s < EYE_SLOT_NUM; s++) {
    const EyeSlot& slot = eye_hash[s];
    if (slot.count == 0) continue;
    if (slot.count > uint32_t(EYE_SLOT_POINTS)) return false;
    if (uint64_t(slot.base) + uint64_t(eye_shape_entries(int(slot.count))) > base_num) return false;
    used++;
  }
  return used == hash_num;
}

bool read_file(const char* name) {
  FILE* fp = open_data_file(name);
  if (!fp) return false;
  static uint8_t head[8 + EYE_SLOT_NUM * EYE_SLOT_BYTES];
  bool ok = fread(head, 1, sizeof head, fp) == sizeof head &&
            fread(eye_base, 1, sizeof eye_base, fp) == sizeof eye_base && fgetc(fp) == EOF;
  fclose(fp);
  if (!ok) return false;
  for (int s = 0; s < EYE_SLOT_NUM; s++) {
    const uint8_t* p = head + 8 + s * EYE_SLOT_BYTES;
    eye_hash[s].count = read_u32(p);
    for (int i = 0; i < EYE_SLOT_POINTS; i++) eye_hash[s].points[i] = read_u32(p + 4 + 4 * i);
    eye_hash[s].base = read_u32(p + 36);
  }
  if (!check_tables(head)) return false;
  eye_base_num = int(read_u32(head));
  eye_hash_num = int(read_u32(head + 4));
  return true;
}

// Entry to overwrite for a corner patch; stops when the shape is missing.
int patch_entry(const int* given, const int* marks_given, int n, int context, const char* missing) {
  int points[EYE_SLOT_POINTS], marks[EYE_SLOT_POINTS];
  std::copy(given, given + n, points);
  std::copy(marks_given, marks_given + n, marks);
  int index = eye_entry_index<256>(points, marks, n, context, ban_size);
  if (index < 0) INTERNAL_STOP("%s", missing);
  return index;
}

}  // namespace

bool eye_database_loaded() { return loaded; }

int load_eye_database(const char* name) {
  loaded = false;
  eye_base_num = eye_hash_num = 0;
  PRT("眼形データベース用の再ハッシュ列作成\n");
  make_eye_rehash(eye_rehash);
  if (!read_file(name)) {
    memset(eye_hash, 0, sizeof eye_hash);
    PRT("Fail load eye-database\n");
    return 0;
  }
  loaded = true;
  PRT("Eye Database from res.. eye_base_num=%d, eye_hash_num=%d, %d\n", eye_base_num, eye_hash_num,
      int(EYE_FILE_BYTES));
  return 1;
}

void eye_database_startup() { load_eye_database(); }

int find_shape(const uint32_t* points, int n) {
  if (!loaded || n < 1 || n > EYE_SLOT_POINTS) return -1;
  int slot = int(eye_shape_key(points, n) & EYE_SLOT_MASK);
  for (int k = 1;; k++) {
    const EyeSlot& s = eye_hash[slot];
    if (s.count == 0) return -1;
    // The stored count is compared too: a longer shape that starts with the
    // same points must not answer for a shorter one.
    if (s.count == uint32_t(n) && std::equal(points, points + n, s.points)) return int(s.base);
    if (k == EYE_PROBE_MAX) {
      PRT("loop = %d! n=%d (area=%d)\n", k, n, slot);
      return -1;
    }
    slot = eye_next_slot(slot, k, eye_rehash);
  }
}

template <int S>
int eye_entry_index(int* points, int* marks, int n, int context, int size) {
  if (n < 1 || n > EYE_SLOT_POINTS || context < 0 || context >= EYE_CONTEXT_NUM) return -1;
  int order[EYE_SLOT_POINTS], sorted_points[EYE_SLOT_POINTS], sorted_marks[EYE_SLOT_POINTS];
  for (int i = 0; i < n; i++) order[i] = i;
  std::sort(order, order + n, [&](int a, int b) { return points[a] < points[b]; });
  for (int i = 0; i < n; i++) sorted_points[i] = points[order[i]], sorted_marks[i] = marks[order[i]];
  std::copy(sorted_points, sorted_points + n, points);
  std::copy(sorted_marks, sorted_marks + n, marks);

  int x0 = BOARD_MAX + 1, y0 = BOARD_MAX + 1, x1 = 0, y1 = 0;
  for (int i = 0; i < n; i++) {
    int z = to_point_code<S>(points[i]);
    x0 = std::min(x0, z_x(z)), x1 = std::max(x1, z_x(z));
    y0 = std::min(y0, z_y(z)), y1 = std::max(y1, z_y(z));
  }
  if (x0 < 1 || y0 < 1 || x1 > BOARD_MAX || y1 > BOARD_MAX) return -1;
  uint32_t shape[EYE_SLOT_POINTS];
  int occupancy = 0;
  for (int i = 0; i < n; i++) {
    shape[i] = uint32_t(to_point_code<S>(points[i]) - make_z(x0, y0));
    occupancy = occupancy << 1 | (marks[i] ? 1 : 0);
  }
  for (int i = 1; i < n; i++)
    if (shape[i] == shape[i - 1]) return -1;
  int base = find_shape(shape, n);
  if (base < 0) return -1;
  int edge = eye_edge_code(x0, y0, x1, y1, size);
  return base + (edge + occupancy * EYE_EDGE_NUM) * EYE_CONTEXT_NUM + context;
}

const uint8_t* eye_entry(int index) { return eye_base + long(index) * 3; }

template <int S>
int eye_lookup(int* points, int* marks, int n, int context, int size, EyeLookup& out) {
  out = {};
  int index = eye_entry_index<S>(points, marks, n, context, size);
  if (index < 0) return 0;
  const uint8_t* e = eye_entry(index);
  auto vital = [&](int mask) {
    if (mask == 0) return 0;
    int bit = __builtin_ctz(unsigned(mask));
    return points[n - 1 - bit];
  };
  out = {1, e[0], vital(e[1]), vital(e[2])};
  return 1;
}

template int eye_entry_index<256>(int*, int*, int, int, int);
template int eye_entry_index<32>(int*, int*, int, int, int);
template int eye_lookup<256>(int*, int*, int, int, int, EyeLookup&);
template int eye_lookup<32>(int*, int*, int, int, int, EyeLookup&);

void patch_corner_shapes() {
  if (!loaded) return;  // nothing to patch; the failed load has been reported
  struct Patch {
    int points[5], marks[5];
  };
  static constexpr Patch bent_fours[] = {
      {{0x0101, 0x0102, 0x0103, 0x0201, 0x0301}, {1, 1, 0, 1, 0}},
      {{0x0101, 0x0102, 0x0103, 0x0201, 0x0301}, {0, 1, 0, 1, 0}},
      {{0x0101, 0x0102, 0x0103, 0x0201, 0x0203}, {1, 1, 1, 0, 0}},
      {{0x0101, 0x0102, 0x0201, 0x0301, 0x0302}, {1, 0, 1, 1, 0}},
      {{0x0101, 0x0201, 0x0301, 0x0401, 0x0102}, {1, 1, 1, 0, 0}},
      {{0x0101, 0x0102, 0x0103, 0x0104, 0x0201}, {1, 1, 1, 0, 0}},
  };
  static constexpr int sevens[2][7] = {
      {0x0101, 0x0102, 0x0103, 0x0201, 0x0202, 0x0203, 0x0204},
      {0x0101, 0x0201, 0x0301, 0x0102, 0x0202, 0x0302, 0x0402},
  };
  int n1 = ban_size + 1;
  // As given, columns mirrored, both mirrored, rows mirrored.
  auto mirror = [&](int z, int corner) {
    int x = z_x(z), y = z_y(z);
    if (corner == 1 || corner == 2) x = n1 - x;
    if (corner == 2 || corner == 3) y = n1 - y;
    return make_z(x, y);
  };
  for (int corner = 0; corner < 4; corner++) {
    for (int context = 0; context < EYE_CONTEXT_NUM; context++) {
      for (const Patch& p : bent_fours) {
        int pts[5];
        for (int i = 0; i < 5; i++) pts[i] = mirror(p.points[i], corner);
        uint8_t* e = eye_base + long(patch_entry(pts, p.marks, 5, context, "曲がり四目設定Err!\n")) * 3;
        e[0] = e[1] = e[2] = 0;
      }
      for (const auto& seven : sevens) {
        int pts[7], empty[7] = {}, second_taken[7] = {0, 1, 0, 0, 0, 0, 0};
        for (int i = 0; i < 7; i++) pts[i] = mirror(seven[i], corner);
        int index = patch_entry(pts, empty, 7, context, "隅の7目設定Err!\n");
        // Mask bits count from the end of the ascending point list.
        int sorted[7];
        std::copy(pts, pts + 7, sorted);
        std::sort(sorted, sorted + 7);
        int at = int(std::find(sorted, sorted + 7, pts[1]) - sorted);
        if (at == 7) INTERNAL_STOP("殺す位置が見つからない\n");
        uint8_t* e = eye_base + long(index) * 3;
        e[0] = EYE_TWO;
        e[1] = e[2] = uint8_t(1 << (7 - 1 - at));
        e = eye_base + long(patch_entry(pts, second_taken, 7, context, "隅の7目設定Err!\n")) * 3;
        e[0] = e[1] = e[2] = 0;
      }
    }
  }
}
