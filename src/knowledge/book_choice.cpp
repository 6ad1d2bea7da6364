// Book move choice on the global board: candidates from the book, weights,
// a roulette draw, and whether the move is forced.
#include "core/kifu.h"
#include "core/log.h"
#include "core/random.h"
#include "knowledge/book.h"
#include "knowledge/mimic.h"

namespace {

constexpr int DIR4[4] = {1, 256, -1, -256};
constexpr int HANDICAP_STONES_BELOW = 10;
constexpr int CONTACT_CHECK_MOVES = 20;
constexpr int CORNER_MIN_GAMES = 4;

// A lone contact move against an opponent that has already developed around
// the point: one opponent stone touches it and more lie a little further out.
bool lone_contact(const GlobalBoard& b, int z, int color) {
  int own = 0, opp = 0, empty = 0;
  auto count = [&](int p) {
    int c = b.ban[p];
    if (c == EMPTY) empty++;
    else if (c == color) own++;
    else if (c == opponent(color)) opp++;
  };
  for (int d : DIR4) count(z + d);
  if (!(opp == 1 && empty == 3)) return false;
  for (int i = 0; i < 4; i++) count(z + DIR4[i] + DIR4[(i + 1) & 3]);
  if (!(opp == 1 && empty == 7)) return false;
  for (int i = 0; i < 4; i++) {
    const int d = DIR4[i], e = DIR4[(i + 1) & 3];
    const int p = z + 2 * d;
    if (p < 0 || p >= 21 * 256) continue;
    count(p);
    if (p + e >= 0 && p + e < 21 * 256) count(p + e);
    if (p - e >= 0 && p - e < 21 * 256) count(p - e);
  }
  return opp >= 2 && own == 0;
}

double corner_weight(const BookCandidate& c, int last_quadrant) {
  const double o = c.occurrences, g = c.games;
  double r = g / o;
  if (g > 200 && r > 0.9) r *= 5;
  if (g > 100 && r > 0.9) r *= 2;
  if (g > 50 && r > 0.9) r *= 1.5;
  if (g < 50) r /= (50 - g);
  if (c.stones <= 2) r *= 0.2;
  if (c.stones <= 4) r *= 0.5;
  r *= book_quadrant(c.z) == last_quadrant ? 10000 : 0.001;
  if (g > 1000) r *= 10;
  if (g > 5000) r *= 20;
  if (g > 10000) r *= 50;
  if (g > 20000) r *= 100;
  return r;
}

int last_move(int back) { return tesuu - back >= 1 ? kifu[tesuu - back].z : 0; }

}  // namespace

int book_candidates(int color, int size, BookCandidate* list) {
  BookTable& t = size == BOOK_WINDOW_WHOLE ? book19 : book11;
  if (!t.loaded || gban.size != BOOK_WINDOW_WHOLE) return 0;
  const int n = gban.size;
  int num = 0;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      const int z = make_z(x, y);
      if (gban.ban[z] != EMPTY) continue;
      if (size == BOOK_WINDOW_WHOLE && tesuu == 0 && !(x >= 10 && y <= 10 && x + y >= 20)) continue;
      if (put_stone(gban, z, color) != PUT_OK) continue;
      const uint64_t key = size == BOOK_WINDOW_WHOLE ? book19_key(gban) : book11_key(gban, z, color);
      take_back(gban, z, color);
      const BookEntry* e = book_lookup(t, uint32_t(key), uint32_t(key >> 32));
      if (!e || e->occurrences == 0) continue;
      if (size == BOOK_WINDOW_CORNER && e->games <= CORNER_MIN_GAMES) continue;
      if (size == BOOK_WINDOW_WHOLE && tesuu <= CONTACT_CHECK_MOVES && lone_contact(gban, z, color)) continue;
      PRT("%04x, 出=%6d,譜=%5d,石=%2d,file=%5d, %016llx: \n", z, e->occurrences, e->games, e->stones, e->file,
          (unsigned long long)key);
      list[num++] = BookCandidate{z, e->occurrences, e->games, e->stones, e->file, 0.0};
    }
  }
  const int last_quadrant = book_quadrant(last_move(0));
  for (int i = 0; i < num; i++) {
    list[i].weight = size == BOOK_WINDOW_WHOLE ? double(list[i].games) : corner_weight(list[i], last_quadrant);
  }
  return num;
}

int book_choice(int color, int size, int* force) {
  *force = 0;
  if (gban.size != BOOK_WINDOW_WHOLE || !books_ready()) return 0;
  static BookCandidate list[BOOK_CANDIDATE_MAX];
  const int num = book_candidates(color, size, list);
  int stones[3] = {0, 0, 0};
  for (int y = 1; y <= gban.size; y++) {
    for (int x = 1; x <= gban.size; x++) {
      int c = gban.ban[make_z(x, y)];
      if (c == BLACK || c == WHITE) stones[c]++;
    }
  }
  // Selection sort, descending; among equal weights the later one first.
  for (int i = 0; i < num; i++) {
    int best = i;
    for (int j = i + 1; j < num; j++) {
      if (list[j].weight >= list[best].weight) best = j;
    }
    std::swap(list[i], list[best]);
  }
  double sum = 0;
  uint64_t total_occurrences = 0;
  for (int i = 0; i < num; i++) sum += list[i].weight, total_occurrences += list[i].occurrences;
  PRT("定石手=%d, size=%d\n", num, size);
  for (int i = 0; i < num; i++) {
    const BookCandidate& c = list[i];
    const double share = size == BOOK_WINDOW_CORNER ? double(c.games) / c.occurrences
                                                    : 100.0 * c.games / double(total_occurrences);
    PRT("%04x,%9.3f,(%7.3f)(出=%6d,譜=%5d)\n", c.z, c.weight, share, c.occurrences, c.games);
  }
  const double target = (rand_next() & 0x3FFFFFFF) * (1.0 / (1 << 30)) * sum;
  double running = 0;
  int z = 0;
  for (int i = 0; i < num; i++) {
    running += list[i].weight;
    if (running > target) {
      z = list[i].z;
      break;
    }
  }
  if (z == 0) return 0;
  if (size == BOOK_WINDOW_WHOLE) {
    *force = 1;
  } else {
    const int q = book_quadrant(z);
    *force = tesuu >= 2 && q != 0 && q == book_quadrant(last_move(0)) && q == book_quadrant(last_move(1));
  }
  const int placed = stones[BLACK] + stones[WHITE];
  const int diff = stones[BLACK] - stones[WHITE];
  if (placed < HANDICAP_STONES_BELOW && (diff >= 2 || diff <= -2)) {
    *force = 0;
    if (size == BOOK_WINDOW_WHOLE) return 0;
  }
  PRT("定石選択=%04x, size=%d, fForce=%d\n", z, size, *force);
  return z;
}

int book_move(int color, int* force) {
  const int mimic = mimic_response(color);
  if (mimic) return mimic;
  int z = book_choice(color, BOOK_WINDOW_WHOLE, force);
  if (z) return z;
  return book_choice(color, BOOK_WINDOW_CORNER, force);
}
