// Loading and searching the game database.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/board.h"
#include "core/folders.h"
#include "core/log.h"
#include "knowledge/gamedb.h"

namespace {

std::string folder;
std::vector<HappoRecord> records;
int load_state = -1;  // -1 not tried, 0 missing, 1 loaded

FILE* open_database() {
  if (folder.empty()) return open_data_file(HAPPO_FILE);
  return fopen((folder + "/" + HAPPO_FILE).c_str(), "rb");
}

}  // namespace

void gamedb_set_folder(const std::string& f) {
  if (f == folder) return;
  folder = f;
  load_state = -1;
  records.clear();
}

const std::string& gamedb_folder() { return folder; }

bool gamedb_ready() {
  if (load_state >= 0) return load_state == 1;
  load_state = 0;
  FILE* fp = open_database();
  if (!fp) {
    PRT("fail fopen()\n");
    PRT("no game database %s: the search is not available\n", HAPPO_FILE);
    return false;
  }
  std::vector<HappoRecord> data;
  HappoRecord r;
  // Any whole number of records; a torn last record is left out.
  while (fread(&r, sizeof r, 1, fp) == 1) {
    r.black[sizeof r.black - 1] = r.white[sizeof r.white - 1] = r.date[sizeof r.date - 1] = 0;
    if (r.move_num < 0 || r.move_num > HAPPO_MOVES) r.excluded = 1;
    data.push_back(r);
  }
  fclose(fp);
  PRT("load %s, games=%d\n", HAPPO_FILE, int(data.size()));
  records.swap(data);
  load_state = 1;
  return true;
}

const std::vector<HappoRecord>& gamedb_records() { return records; }

void gamedb_use(std::vector<HappoRecord> r) {
  for (HappoRecord& h : r) {
    if (h.move_num < 0 || h.move_num > HAPPO_MOVES) h.excluded = 1;
  }
  records = std::move(r);
  load_state = 1;
}

int happo_transform(int g, int z) {
  if (z <= 0) return z;
  const int n = gban.size, m = n / 2 + 1;
  int x = z_x(z) - m, y = z_y(z) - m;
  for (int r = 0; r < (g & 3); r++) {
    const int t = x;
    x = -y, y = t;
  }
  x += m, y += m;
  if (g >= 4) x = n + 1 - x;
  return make_z(x, y);
}

int happo_inverse(int g) { return g >= 4 ? g : (4 - g) & 3; }

void happo_target_keys(uint64_t keys[16]) {
  make_hashboard64();
  for (int i = 0; i < 16; i++) keys[i] = 0;
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      const int z = make_z(x, y), c = gban.ban[z];
      if (c != BLACK && c != WHITE) continue;
      for (int g = 0; g < 8; g++) {
        const int zc = zc_from_z(happo_transform(g, z));
        keys[g] ^= hashboard64[zc][c].v;
        keys[8 + g] ^= hashboard64[zc][opponent(c)].v;
      }
    }
  }
}

namespace {

// A damaged record may hold any number: only board points count as moves.
bool on_board(int z) {
  const int x = z_x(z), y = z_y(z);
  return z > 0 && z < HAPPO_POINTS && x >= 1 && y >= 1 && x <= gban.size && y <= gban.size;
}

int quadrant_of(int z) {
  const int x = z_x(z), y = z_y(z), m = gban.size / 2 + 1;
  if (x == m || y == m) return -1;
  return (y > m ? 2 : 0) + (x > m ? 1 : 0);
}

// What a move of a record does to the keys, looked up once per search for
// the board size: the scan touches every move of every game.
struct MoveKeys {
  uint64_t key[HAPPO_POINTS][2];  // Black's and White's stone; 0 off the board or a pass
  int8_t quadrant[HAPPO_POINTS];  // -1 on the centre lines and off the board

  void make() {
    make_hashboard64();
    for (int z = 0; z < HAPPO_POINTS; z++) {
      const bool point = on_board(z);
      key[z][0] = point ? hashboard64[zc_from_z(z)][BLACK].v : 0;
      key[z][1] = point ? hashboard64[zc_from_z(z)][WHITE].v : 0;
      quadrant[z] = int8_t(point ? quadrant_of(z) : -1);
    }
  }
};

// The 16 target keys behind a 4096-bit sieve, so that almost every key of a
// game is turned away by one bit test.
struct Targets {
  uint64_t keys[16];
  uint64_t sieve[64] = {};

  void make() {
    happo_target_keys(keys);
    for (uint64_t t : keys) sieve[(t >> 6) & 63] |= uint64_t(1) << (t & 63);
  }
  int match(uint64_t key) const {
    if (!((sieve[(key >> 6) & 63] >> (key & 63)) & 1)) return -1;
    for (int i = 0; i < 16; i++) {
      if (keys[i] == key) return i;
    }
    return -1;
  }
};

// The first move index k (0 <= k < move_num) at which the position of the
// game (its moves before k) matches a target: the whole board, or in corner
// mode the first quadrant in order. -1 when none does; target gets the key's index.
int first_match(const HappoRecord& r, const MoveKeys& mk, const Targets& t, int mode, int& target) {
  if (r.move_num <= 0) return -1;
  if (mode == HAPPO_WHOLE) {
    uint64_t running = 0;
    if ((target = t.match(running)) >= 0) return 0;
    for (int k = 0; k + 1 < r.move_num; k++) {
      const int z = r.moves[k];
      if (unsigned(z) >= unsigned(HAPPO_POINTS)) continue;
      const uint64_t key = mk.key[z][k & 1];
      if (!key) continue;  // unchanged, and it did not match before
      running ^= key;
      if ((target = t.match(running)) >= 0) return k + 1;
    }
    return -1;
  }
  uint64_t quadrant[4] = {0, 0, 0, 0};
  if ((target = t.match(0)) >= 0) return 0;  // all four quadrants start empty
  for (int k = 0; k + 1 < r.move_num; k++) {
    const int z = r.moves[k];
    if (unsigned(z) >= unsigned(HAPPO_POINTS)) continue;
    const int q = mk.quadrant[z];
    if (q < 0) continue;
    // Only the quadrant the move changed can match now: the others did not before.
    quadrant[q] ^= mk.key[z][k & 1];
    if ((target = t.match(quadrant[q])) >= 0) return k + 1;
  }
  return -1;
}

}  // namespace

HappoResult happo_search(int mode) {
  HappoResult res;
  if (!gamedb_ready()) return res;
  res.loaded = true;
  static MoveKeys move_keys;  // 86 KB: too big for the stack
  move_keys.make();
  Targets targets;
  targets.make();

  for (int i = 0; i < int(records.size()); i++) {
    const HappoRecord& r = records[i];
    if (r.excluded) continue;
    int found = -1;
    const int k = first_match(r, move_keys, targets, mode, found);
    if (k < 0) continue;
    const int raw = r.moves[k];
    const int next = on_board(raw) ? happo_transform(happo_inverse(found & 7), raw) : 0;
    res.next_count[next]++;
    res.result_count[(r.result >= 0 && r.result <= 2) ? r.result : 0]++;
    if (r.result == 1 || r.result == 2) res.next_wins[next][r.result - 1]++;
    if (int(res.list.size()) < HAPPO_LIST_MAX) {
      PRT("%3d,%5d,M=%3d,%d,R=%d,next=%04x,%s,%s,%s\n", res.total, i, k, found, r.result, next, r.black, r.white,
          r.date);
      res.list.push_back(HappoMatch{i, next, r.result, found, k});
    }
    res.total++;
  }
  std::stable_sort(res.list.begin(), res.list.end(), [](const HappoMatch& a, const HappoMatch& b) {
    return strcmp(records[a.record].date, records[b.record].date) < 0;
  });

  int counts[HAPPO_POINTS];
  std::copy(res.next_count, res.next_count + HAPPO_POINTS, counts);
  for (int rank = 1;; rank++) {
    int best = -1;
    for (int z = 0; z < HAPPO_POINTS; z++) {
      if (counts[z] > 0 && (best < 0 || counts[z] > counts[best])) best = z;
    }
    if (best < 0) break;
    PRT("%3d:%04x,%5.1f%%(%2d/%2d)\n", rank, best, 100.0 * counts[best] / res.total, counts[best], res.total);
    counts[best] = 0;
  }
  const int decided = res.result_count[1] + res.result_count[2];
  PRT("黒勝率=%.1f%%  (%d/%d)\n", decided ? 100.0 * res.result_count[1] / decided : 0.0, res.result_count[1], decided);
  PRT("%d件,(%d),sum=%d\n", res.total, int(res.list.size()), int(records.size()));
  return res;
}

std::string happo_game_path(int record) {
  const std::string dir = folder.empty() ? program_dir() : folder + "/";
  return dir + std::to_string(record + 1) + ".sgf";
}
