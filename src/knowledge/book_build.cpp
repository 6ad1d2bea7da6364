#include "knowledge/book_build.h"

#include <algorithm>
#include <cstdio>

#include "core/log.h"
#include "knowledge/gamedb_source.h"

namespace {

constexpr int BOOK_BOARD = 19;
constexpr int GAME_MOVES_MAX = 1000;
constexpr size_t COUNTER_PRUNE_AT = 12u << 20;  // distinct positions before single-game ones are dropped

uint64_t key_of(const Hash96& h) { return (uint64_t(h.w[0]) << 32) | h.w[1]; }

struct Count {
  uint64_t key;       // 0 = empty slot
  uint32_t occurrences;
  uint32_t games;
  uint32_t last_game; // game index + 1 of the latest game counted
  int32_t file;
  int32_t stones;
};

}  // namespace

// Open-addressing counter of positions, doubled when half full.
struct BookCounter {
  std::vector<Count> slots = std::vector<Count>(1 << 16);
  size_t used = 0;

  Count& at(uint64_t key) {
    size_t mask = slots.size() - 1;
    size_t i = (key ^ (key >> 29)) & mask;
    while (slots[i].key != 0 && slots[i].key != key) i = (i + 1) & mask;
    if (slots[i].key == 0) {
      slots[i] = Count{key, 0, 0, 0, -1, 0};
      if (++used * 2 > slots.size()) {
        grow(slots.size() * 2);
        return at(key);
      }
    }
    return slots[i];
  }
  void grow(size_t n) {
    std::vector<Count> old(n);
    old.swap(slots);
    used = 0;
    for (const Count& c : old) {
      if (c.key) at(c.key) = c;
    }
  }
  void count(uint64_t key, long game, int stones) {
    if (key == 0) return;
    Count& c = at(key);
    c.occurrences++;
    if (c.last_game != uint32_t(game + 1)) {
      c.games++;
      c.last_game = uint32_t(game + 1);
    }
    if (c.file < 0) c.file = int32_t(game), c.stones = stones;
  }
  // Memory stays bounded on big collections: positions of one game only are
  // forgotten (deterministically, at the same points for the same input).
  void prune() {
    if (used < COUNTER_PRUNE_AT) return;
    std::vector<Count> keep;
    for (const Count& c : slots) {
      if (c.key && c.games >= 2) keep.push_back(c);
    }
    slots.assign(slots.size(), Count{});
    used = 0;
    for (const Count& c : keep) at(c.key) = c;
  }
  // The most frequent positions into the table (at most max entries).
  int fill(BookTable& t, uint32_t min_games, size_t max) const {
    std::vector<Count> chosen;
    for (const Count& c : slots) {
      if (c.key && c.games >= min_games) chosen.push_back(c);
    }
    std::sort(chosen.begin(), chosen.end(), [](const Count& a, const Count& b) {
      return a.games != b.games ? a.games > b.games : a.key < b.key;
    });
    if (chosen.size() > max) chosen.resize(max);
    int stored = 0;
    for (const Count& c : chosen) {
      BookEntry* e = book_lookup(t, uint32_t(c.key), uint32_t(c.key >> 32));
      if (!e) continue;
      e->key_low = uint32_t(c.key);
      e->key_high = uint32_t(c.key >> 32);
      e->occurrences = c.occurrences;
      e->games = uint16_t(std::min<uint32_t>(c.games, 65535));
      e->stones = int16_t(c.stones);
      e->file = c.file;
      stored++;
    }
    t.use = stored;
    t.loaded = true;
    return stored;
  }
};

void BookKeys::clear(int board_size, int window_size) {
  size = board_size;
  window = window_size;
  for (auto& r : h) {
    for (auto& t : r) t[0] = t[1] = Hash96{};
  }
  for (int& s : stones) s = 0;
}

void BookKeys::toggle(int z, int color, int delta) {
  for (int r = 0; r < 4; r++) {
    int x = z_x(z), y = z_y(z);
    book_rotate(r, size, x, y);
    if (x < 1 || y < 1 || x > window || y > window) continue;
    const int plain = make_z(x, y), turned = make_z(y, x);
    stones[r] += delta;
    h[r][0][0] ^= hash_key96[plain][color];
    h[r][0][1] ^= hash_key96[plain][opponent(color)];
    h[r][1][0] ^= hash_key96[turned][color];
    h[r][1][1] ^= hash_key96[turned][opponent(color)];
  }
}

uint64_t BookKeys::whole_key(int kou) const {
  uint64_t best = ~uint64_t(0);
  for (int r = 0; r < 4; r++) {
    Hash96 ko[2] = {};
    if (kou) {
      int x = z_x(kou), y = z_y(kou);
      book_rotate(r, size, x, y);
      ko[0] = hash_key96[make_z(x, y)][0];
      ko[1] = hash_key96[make_z(y, x)][0];
    }
    for (int t = 0; t < 2; t++) {
      for (int s = 0; s < 2; s++) {
        Hash96 k = h[r][t][s];
        k ^= ko[t];
        best = std::min(best, key_of(k));
      }
    }
  }
  return best;
}

uint64_t BookKeys::corner_key(int rotation, int color, int kou) const {
  const int s = color == WHITE;
  Hash96 a = h[rotation][0][s], b = h[rotation][1][s];
  if (kou) {
    int x = z_x(kou), y = z_y(kou);
    book_rotate(rotation, size, x, y);
    if (x >= 1 && y >= 1 && x <= window && y <= window) {
      a ^= hash_key96[make_z(x, y)][0];
      b ^= hash_key96[make_z(y, x)][0];
    }
  }
  return std::min(key_of(a), key_of(b));
}

BookBuildResult build_books(const std::vector<std::string>& sources, const BookBuildOptions& opt) {
  static GlobalBoard board;
  static int zs[GAME_MOVES_MAX], colors[GAME_MOVES_MAX];
  BookCounter whole, corner;
  BookBuildResult result;
  BookKeys wk, ck;
  for_each_source_game(sources, [&](const GameRecord& rec, long index) {
    if (opt.end_game >= 0 && index >= opt.end_game) return false;
    if (index < opt.first_game) return true;
    const Figure& f = rec.main;
    if (f.b_size != BOOK_BOARD || has_setup_stones(f)) return true;
    const int n = main_line_moves(f, zs, colors, std::max(opt.whole_depth, opt.corner_depth));
    board_reset(board, BOOK_BOARD);
    wk.clear(BOOK_BOARD, BOOK_WINDOW_WHOLE);
    ck.clear(BOOK_BOARD, BOOK_WINDOW_CORNER);
    result.games_used++;
    for (int t = 0; t < n; t++) {
      const int z = zs[t], c = colors[t];
      if (z == 0 || board.ban[z] != EMPTY || put_stone(board, z, c) != PUT_OK) break;
      const MoveRecord<256>& m = board.te[board.fukasa - 1];
      wk.toggle(z, c, 1);
      ck.toggle(z, c, 1);
      for (int i = 0; i < m.captured_stone_num; i++) {
        wk.toggle(m.captured_stones[i], opponent(c), -1);
        ck.toggle(m.captured_stones[i], opponent(c), -1);
      }
      const int moves = t + 1;
      if (moves <= opt.whole_depth) whole.count(wk.whole_key(board.kou_iti), index, moves);
      if (moves <= opt.corner_depth) {
        for (int r = 0; r < 4; r++) {
          const int s = ck.stones[r];
          if (s > 0 && s <= opt.corner_max_stones) corner.count(ck.corner_key(r, c, board.kou_iti), index, s);
        }
      }
    }
    whole.prune();
    corner.prune();
    return true;
  });
  result.positions19 = long(whole.used);
  result.positions11 = long(corner.used);
  book_table_init(book19, "hash19x19book", BOOK19_ENTRIES);
  book_table_init(book11, "hash11x11book", BOOK11_ENTRIES);
  result.entries19 = whole.fill(book19, opt.whole_min_games, BOOK19_ENTRIES / 2);
  result.entries11 = corner.fill(book11, opt.corner_min_games, BOOK11_ENTRIES / 2);
  return result;
}

bool book_table_save(const BookTable& t, const std::string& path) {
  FILE* fp = fopen(path.c_str(), "wb");
  if (!fp) return false;
  const size_t n = fwrite(t.entries.data(), sizeof(BookEntry), t.entries.size(), fp);
  return (fclose(fp) == 0) & (n == t.entries.size());
}
