#include "core/board.h"

#include <cstring>

#include "core/internal_stop.h"
#include "core/log.h"
#include "core/random.h"

int ban_size = 19;
Hash96 hash_key96[21 * 256][6];
Hash96 extra_key96[EXTRA_KEY_NUM];
Hash64 hashboard64[21 * 32][5];
int position_class[21 * 256];
GlobalBoard gban;
int8_t initial_ban[BOARD_MAX + 1][21 * 256];
int8_t ban_start[21 * 256];
int handicap_stones;

namespace {

// put_stone looks at the neighbours in this order.
template <int S>
constexpr int kDir[4] = {1, -1, -S, S};

uint32_t key_word() {
  uint32_t w = uint32_t(rand_next());
  if (rand_next() & 1) w += 0x80000000u;
  return w;
}

Hash96 key96() {
  Hash96 h;
  for (uint32_t& w : h.w) w = key_word();
  return h;
}

template <int S>
const typename Board<S>::Hash& key_of(int p, int slot) {
  if constexpr (S == 256) {
    return hash_key96[p][slot];
  } else {
    return hashboard64[p][slot];
  }
}

template <int S>
bool in_board(const Board<S>& b, int p) {
  int x = p % S, y = p / S;
  return x >= 1 && x <= b.size && y >= 1 && y <= b.size;
}

template <int S>
void next_stamp(Board<S>& b) {
  if (++b.stamp > uint32_t(STAMP_LIMIT)) {
    b.stamp = 1;
    memset(b.lib_stamp, 0, sizeof b.lib_stamp);
  }
}

template <int S>
void add_lib(StringRecord<S>& r, int p) {
  if (r.lib_num >= LIB_MAX) INTERNAL_STOP("liberty list over! z=%04x\n", to_point_code<S>(p));
  r.libs[r.lib_num++] = uint16_t(p);
}

// Copies n liberties; short lists, the usual case, as one fixed-size block
// (the lists are arrays of LIB_MAX, so the block never leaves them).
inline void copy_libs(uint16_t* to, const uint16_t* from, int n) {
  constexpr int SHORT = 16;
  if (n <= SHORT) {
    memcpy(to, from, sizeof(uint16_t) * SHORT);
  } else {
    memcpy(to, from, sizeof(uint16_t) * size_t(n));
  }
}

// Swap-remove; returns the index p sat at, -1 if absent.
template <int S>
int remove_lib(StringRecord<S>& r, int p) {
  for (int i = 0; i < r.lib_num; i++) {
    if (r.libs[i] == p) {
      r.libs[i] = r.libs[--r.lib_num];
      return i;
    }
  }
  return -1;
}

template <int S>
void add_enemy(StringRecord<S>& r, int n) {
  if constexpr (BoardTraits<S>::kEnemyList) {
    if (r.enemy_num < ENEMY_MAX) r.enemy[r.enemy_num++] = uint16_t(n);
  }
}

template <int S>
void fail_occupied(const Board<S>& b, int z) {
  if constexpr (S == 256) {
    PRT("既に石がある! z=%04x, fukasa=%d :", z, b.fukasa);
  } else {
    PRT("既に石がある! z=%04x, ko=%04x,depth=%d :", to_point_code<S>(z), to_point_code<S>(b.kou_iti), b.fukasa);
  }
  for (int i = 0; i < b.fukasa; i++) PRT("%04x:", to_point_code<S>(b.te[i].z));
  PRT("\n");
  internal_stop();
}

// The global board also checks that the captured stone touches exactly one
// own single stone in atari: the one just played.
int ko_neighbours(const GlobalBoard& b, int p, int color) {
  int n = 0;
  for (int d : kDir<256>) {
    int q = p + d;
    if (b.ban[q] != color) continue;
    const auto& r = b.ren[string_of(b, q)];
    if (r.stones == 1 && r.lib_num == 1) n++;
  }
  return n;
}

}  // namespace

template <int S>
int string_of_chain(const Board<S>& b, int z) {
  int n = b.ren_no[z];
  for (int step = 0; step < 8; step++) {
    const int id = b.ren[n].id;
    if (id == n) return n;
    n = id;
  }
  PRT("こりゃおかしい！！！連番号がサーチが無限ループ！！！ z=%04x\n", to_point_code<S>(z));
  internal_stop();
}

template <int S>
int put_stone(Board<S>& b, int z, int c) {
  using Cell = typename Board<S>::Cell;
  if (b.fukasa >= TE_INFO_MAX - 1) {
    PRT("te_info over =%d!\n", b.fukasa);
    internal_stop();
  }
  MoveRecord<S>& m = b.te[b.fukasa];
  if (z == 0) {
    m.z = 0;
    m.color = c;
    m.merged_num = m.captured_num = m.captured_stone_num = m.touched_num = 0;
    m.prev_kou = b.kou_iti;
    m.prev_hash = b.hash;
    b.hash.complement();
    if (b.kou_iti) b.hash ^= key_of<S>(b.kou_iti, 0);
    b.kou_iti = 0;
    b.fukasa++;
    return PUT_OK;
  }
  if (b.ban[z] != EMPTY) {
    fail_occupied(b, z);
    return PUT_OCCUPIED;
  }
  next_stamp(b);
  if (z == b.kou_iti) return PUT_KO;

  const int o = opponent(c);
  int main_n = 0, others[3], other_num = 0, enemies[4], enemy_num = 0;
  // The stones around first, without branching on what each neighbour is.
  bool has_empty = false;
  int stone_at[4], stone_num = 0;
  for (int d : kDir<S>) {
    const int col = b.ban[z + d];
    has_empty |= col == EMPTY;
    stone_at[stone_num] = z + d;
    stone_num += (col == BLACK) | (col == WHITE);
  }
  for (int k = 0; k < stone_num; k++) {
    const int p = stone_at[k];
    const int col = b.ban[p];
    const int n = string_of(b, p);
    if (col == o) {
      bool seen = false;
      for (int i = 0; i < enemy_num; i++) seen |= enemies[i] == n;
      enemies[enemy_num] = n;
      enemy_num += !seen;
    } else {
      if (main_n == 0) {
        main_n = n;
      } else if (n != main_n) {
        bool seen = false;
        for (int i = 0; i < other_num; i++) seen |= others[i] == n;
        if (seen) continue;
        if (b.ren[n].stones > b.ren[main_n].stones) {
          others[other_num++] = main_n;
          main_n = n;
        } else {
          others[other_num++] = n;
        }
      }
    }
  }
  if (!has_empty) {
    bool captures = false;
    for (int i = 0; i < enemy_num; i++) captures |= b.ren[enemies[i]].lib_num == 1;
    bool own_breathes = main_n && b.ren[main_n].lib_num > 1;
    for (int i = 0; i < other_num; i++) own_breathes |= b.ren[others[i]].lib_num > 1;
    if (!captures && !own_breathes) return PUT_SUICIDE;
  }

  m.z = z;
  m.color = c;
  m.prev_kou = b.kou_iti;
  m.prev_hash = b.hash;
  m.merged_num = m.captured_num = m.captured_stone_num = m.touched_num = 0;
  int n;
  if (main_n == 0) {
    n = b.ren_num + 1;
    if (n > REN_MAX) {
      PRT("REN_MAX over!\n");
      internal_stop();
    }
    b.ren_num = n;
    StringRecord<S>& r = b.ren[n];
    r.id = n;
    r.stones = 1;
    r.color = c;
    r.first = r.last = z;
    r.lib_num = 0;
    r.alive = 1;
    if constexpr (BoardTraits<S>::kEnemyList) r.enemy_num = 0;
    m.new_string = 1;
    b.next_stone[z] = 0;
  } else {
    n = main_n;
    StringRecord<S>& r = b.ren[n];
    m.new_string = 0;
    m.saved_stones = r.stones;
    m.saved_last = r.last;
    m.saved_lib_num = r.lib_num;
    copy_libs(m.saved_libs, r.libs, r.lib_num);
    if constexpr (BoardTraits<S>::kEnemyList) m.saved_enemy_num = r.enemy_num;
    for (int i = 0; i < r.lib_num; i++) b.lib_stamp[r.libs[i]] = b.stamp;
    for (int i = 0; i < other_num; i++) {
      StringRecord<S>& a = b.ren[others[i]];
      m.merged[m.merged_num++] = others[i];
      b.next_stone[r.last] = Cell(a.first);
      r.last = a.last;
      a.id = n;
      // Renumbered stones resolve at the first step of string_of.
      for (int p = a.first;; p = b.next_stone[p]) {
        b.ren_no[p] = Cell(n);
        if (p == a.last) break;
      }
      for (int k = 0; k < a.lib_num; k++) {
        int p = a.libs[k];
        if (b.lib_stamp[p] == b.stamp) continue;
        b.lib_stamp[p] = b.stamp;
        add_lib(r, p);
      }
      if constexpr (BoardTraits<S>::kEnemyList) {
        for (int k = 0; k < a.enemy_num && r.enemy_num < ENEMY_MAX; k++) r.enemy[r.enemy_num++] = a.enemy[k];
      }
      r.stones += a.stones;
    }
    remove_lib(r, z);
    b.next_stone[r.last] = Cell(z);
    b.next_stone[z] = 0;
    r.last = z;
    r.stones++;
  }
  m.main_string = n;
  b.ren_no[z] = Cell(n);
  b.ban[z] = Cell(c);
  b.hash ^= key_of<S>(z, c);
  b.hash.complement();

  StringRecord<S>& r = b.ren[n];
  for (int i = 0; i < enemy_num; i++) {
    StringRecord<S>& e = b.ren[enemies[i]];
    if (e.lib_num != 1) continue;
    m.captured_start[m.captured_num] = m.captured_stone_num;
    m.captured[m.captured_num++] = enemies[i];
    b.captured[c] += e.stones;
    e.alive = 0;
    int k = 0;
    for (int p = e.first; p; p = b.next_stone[p]) {
      if constexpr (BoardTraits<S>::kStoneList) e.stone_list[k++] = uint16_t(p);
      m.captured_ren_no[m.captured_stone_num] = uint16_t(b.ren_no[p]);
      m.captured_stones[m.captured_stone_num++] = uint16_t(p);
      b.ban[p] = EMPTY;
      b.ren_no[p] = 0;
      b.hash ^= key_of<S>(p, o);
      b.lib_stamp[p] = b.stamp;
      int given[4], given_num = 0;
      for (int d : kDir<S>) {
        if (b.ban[p + d] != c) continue;
        int g = string_of(b, p + d);
        bool seen = false;
        for (int j = 0; j < given_num; j++) seen |= given[j] == g;
        if (seen) continue;
        given[given_num++] = g;
        add_lib(b.ren[g], p);
      }
    }
  }
  for (int i = 0; i < enemy_num; i++) {
    StringRecord<S>& e = b.ren[enemies[i]];
    if (!e.alive) continue;
    int t = m.touched_num++;
    m.touched[t] = enemies[i];
    m.touched_lib_index[t] = remove_lib(e, z);
    if constexpr (BoardTraits<S>::kEnemyList) {
      m.touched_enemy_num[t] = e.enemy_num;
      add_enemy(e, n);
      add_enemy(r, enemies[i]);
    }
  }
  // Branch-free: whether a neighbour is a new liberty is as good as random.
  for (int d : kDir<S>) {
    const int p = z + d;
    const bool fresh = (b.ban[p] == EMPTY) & (b.lib_stamp[p] != b.stamp);
    if (r.lib_num >= LIB_MAX) {
      if (fresh) add_lib(r, p);  // stops: the list is full
      continue;
    }
    r.libs[r.lib_num] = uint16_t(p);
    r.lib_num += fresh;
    b.lib_stamp[p] = fresh ? b.stamp : b.lib_stamp[p];
  }

  if (b.kou_iti) b.hash ^= key_of<S>(b.kou_iti, 0);
  b.kou_iti = 0;
  if ((main_n == 0) & (r.lib_num == 1) & (m.captured_stone_num == 1)) {
    int p = m.captured_stones[0];
    bool ko = true;
    if constexpr (S == 256) {
      int k = ko_neighbours(b, p, c);
      if (k > 1) {
        PRT("１つ取られて、コウの位置へ打つと、１つの石を2つ以上取れる！ z=%04x\n", p);
        internal_stop();
      }
      ko = k == 1;
    }
    if (ko) {
      b.kou_iti = p;
      b.hash ^= key_of<S>(p, 0);
    }
  }
  b.fukasa++;
  return PUT_OK;
}

template <int S>
void take_back(Board<S>& b, int z, int c) {
  using Cell = typename Board<S>::Cell;
  if (b.fukasa <= 0) INTERNAL_STOP("take_back with no move! z=%04x\n", to_point_code<S>(z));
  MoveRecord<S>& m = b.te[b.fukasa - 1];
  if (z == 0) {
    b.hash = m.prev_hash;
    b.kou_iti = m.prev_kou;
    b.fukasa--;
    return;
  }
  if (b.ban[z] != c || m.z != z) {
    PRT("取り除こうとする石の色が違う！ ban[%04x]=%d, te_color=%d\n", to_point_code<S>(z), int(b.ban[z]), c);
    internal_stop();
  }
  const int o = opponent(c);
  // Revive captured strings, last first, so that the liberties they gave
  // their neighbours come off the ends of the lists in reverse order.
  for (int i = m.captured_num - 1; i >= 0; i--) {
    int en = m.captured[i];
    StringRecord<S>& e = b.ren[en];
    int end = i + 1 < m.captured_num ? m.captured_start[i + 1] : m.captured_stone_num;
    for (int k = end - 1; k >= m.captured_start[i]; k--) {
      int p = m.captured_stones[k];
      int taken[4], taken_num = 0;
      for (int d : kDir<S>) {
        if (b.ban[p + d] != c) continue;
        int g = string_of(b, p + d);
        bool seen = false;
        for (int j = 0; j < taken_num; j++) seen |= taken[j] == g;
        if (seen) continue;
        taken[taken_num++] = g;
        StringRecord<S>& r = b.ren[g];
        if (r.lib_num > 0 && r.libs[r.lib_num - 1] == p) r.lib_num--;
      }
      b.ban[p] = Cell(o);
      b.ren_no[p] = Cell(m.captured_ren_no[k]);
      // Later moves may have reused the point; relink the chain.
      b.next_stone[p] = Cell(k + 1 < end ? m.captured_stones[k + 1] : 0);
    }
    e.alive = 1;
    b.captured[c] -= e.stones;
  }
  for (int i = m.touched_num - 1; i >= 0; i--) {
    StringRecord<S>& e = b.ren[m.touched[i]];
    int at = m.touched_lib_index[i];
    if (at >= 0) {
      e.libs[e.lib_num] = e.libs[at];
      e.libs[at] = uint16_t(z);
      e.lib_num++;
    }
    if constexpr (BoardTraits<S>::kEnemyList) e.enemy_num = m.touched_enemy_num[i];
  }
  StringRecord<S>& r = b.ren[m.main_string];
  if (m.new_string) {
    b.ren_num--;
  } else {
    for (int i = m.merged_num - 1; i >= 0; i--) {
      StringRecord<S>& a = b.ren[m.merged[i]];
      a.id = m.merged[i];
      for (int p = a.first;; p = b.next_stone[p]) {
        b.ren_no[p] = Cell(m.merged[i]);
        if (p == a.last) break;
      }
      b.next_stone[a.last] = 0;
    }
    b.next_stone[m.saved_last] = 0;
    r.last = m.saved_last;
    r.stones = m.saved_stones;
    r.lib_num = m.saved_lib_num;
    copy_libs(r.libs, m.saved_libs, m.saved_lib_num);
    if constexpr (BoardTraits<S>::kEnemyList) r.enemy_num = m.saved_enemy_num;
  }
  b.ban[z] = EMPTY;
  b.ren_no[z] = 0;
  b.next_stone[z] = 0;
  b.kou_iti = m.prev_kou;
  b.hash = m.prev_hash;
  b.fukasa--;
}

template <int S>
int tyokuzen_get_num(const Board<S>& b) {
  return b.fukasa > 0 ? b.te[b.fukasa - 1].captured_stone_num : 0;
}

template <int S>
void board_reset(Board<S>& b, int size) {
  b.size = size;
  for (int p = 0; p < Board<S>::ARRAY; p++) {
    int x = p % S, y = p / S;
    b.ban[p] = (x >= 1 && x <= size && y >= 1 && y <= size) ? EMPTY : EDGE;
  }
  memset(b.ren_no, 0, sizeof b.ren_no);
  memset(b.next_stone, 0, sizeof b.next_stone);
  memset(b.lib_stamp, 0, sizeof b.lib_stamp);
  b.stamp = 1;
  b.ren_num = 0;
  b.kou_iti = 0;
  b.captured[0] = b.captured[1] = b.captured[2] = 0;
  b.fukasa = 0;
  b.hash = {};
}

template <int S>
void compact_strings(Board<S>& b) {
  using Cell = typename Board<S>::Cell;
  for (int p = 0; p < Board<S>::ARRAY; p++) {
    if (b.ban[p] == BLACK || b.ban[p] == WHITE) b.ren_no[p] = Cell(string_of(b, p));
  }
  // New numbers of the live strings; absorbed records lead to their survivor.
  int renumber[REN_MAX + 1] = {};
  int k = 0;
  for (int n = 1; n <= b.ren_num; n++) {
    if (b.ren[n].alive && b.ren[n].id == n) renumber[n] = ++k;
  }
  if constexpr (BoardTraits<S>::kEnemyList) {
    for (int n = 1; n <= b.ren_num; n++) {
      StringRecord<S>& r = b.ren[n];
      if (!renumber[n]) continue;
      int kept = 0;
      for (int i = 0; i < r.enemy_num; i++) {
        int e = r.enemy[i];
        for (int step = 0; step < 8 && b.ren[e].id != e; step++) e = b.ren[e].id;
        if (renumber[e]) r.enemy[kept++] = uint16_t(renumber[e]);
      }
      r.enemy_num = kept;
    }
  }
  for (int n = 1; n <= b.ren_num; n++) {
    int to = renumber[n];
    if (!to || to == n) continue;
    b.ren[to] = b.ren[n];
    b.ren[to].id = to;
    for (int p = b.ren[to].first; p; p = b.next_stone[p]) b.ren_no[p] = Cell(to);
  }
  b.ren_num = k;
}

void make_global_keys() {
  for (int slot = 0; slot < 6; slot += 3) {
    for (int z = 0; z < 21 * 256; z++) {
      for (int s = slot; s < slot + 3; s++) hash_key96[z][s] = key96();
    }
  }
  for (Hash96& k : extra_key96) k = key96();
}

uint64_t rand64() {
  static uint32_t x = 123456789, y = 362436069, z = 521288629, w = 88675123;
  auto next = [&]() {
    uint32_t t = x ^ (x << 11);
    x = y, y = z, z = w;
    w = w ^ (w >> 19) ^ (t ^ (t >> 8));
    return w;
  };
  uint64_t hi = next();
  return (hi << 32) | next();
}

void make_hashboard64() {
  static bool made = false;
  if (made) return;
  made = true;
  for (auto& point : hashboard64) {
    for (Hash64& k : point) k.v = rand64();
  }
}

namespace {
void make_position_class(int size) {
  for (int z = 0; z < 21 * 256; z++) {
    int x = z_x(z), y = z_y(z);
    if (x < 1 || x > size || y < 1 || y > size) {
      position_class[z] = 0;
      continue;
    }
    int dx = std::min(x - 1, size - x), dy = std::min(y - 1, size - y);
    position_class[z] = std::min(dx, dy) * 10 + std::max(dx, dy);
  }
}
}  // namespace

void init_ban() {
  board_reset(gban, ban_size);
  int placed = 0;
  for (int z = 0; z < 21 * 256; z++) {
    int c = initial_ban[ban_size][z];
    if ((c != BLACK && c != WHITE) || !in_board(gban, z)) continue;
    if (gban.ban[z] != EMPTY || put_stone(gban, z, c) != PUT_OK) continue;
    placed++;
  }
  compact_strings(gban);
  // The setup is a position, not a move sequence: no depth, no side-to-move bit.
  if (placed & 1) gban.hash.complement();
  gban.fukasa = 0;
  if (gban.kou_iti) gban.hash ^= hash_key96[gban.kou_iti][0];
  gban.kou_iti = 0;
  for (int z = 0; z < 21 * 256; z++) ban_start[z] = int8_t(gban.ban[z]);
  make_position_class(ban_size);
}

void store_initial_position() {
  for (int z = 0; z < 21 * 256; z++) {
    int c = gban.ban[z];
    initial_ban[ban_size][z] = int8_t((c == BLACK || c == WHITE) ? c : EMPTY);
  }
}

void ban_clear() {
  memset(initial_ban[ban_size], 0, sizeof initial_ban[ban_size]);
  init_ban();
}

void load_search_board(SearchBoard& sb, const GlobalBoard& g, int last_move_color) {
  make_hashboard64();
  board_reset(sb, g.size);
  int placed = 0;
  for (int y = 1; y <= g.size; y++) {
    for (int x = 1; x <= g.size; x++) {
      int c = g.ban[make_z(x, y)];
      if (c != BLACK && c != WHITE) continue;
      int zc = y * 32 + x;
      if (put_stone(sb, zc, c) != PUT_OK) {
        PRT("初期盤面にエラー発生！！！ z = %x\n", make_z(x, y));
        internal_stop();
      }
      placed++;
    }
  }
  compact_strings(sb);
  sb.fukasa = 0;
  if (placed & 1) sb.hash.complement();
  if (sb.kou_iti) sb.hash ^= key_of<32>(sb.kou_iti, 0);
  sb.kou_iti = 0;
  if (g.kou_iti) {
    sb.kou_iti = zc_from_z(g.kou_iti);
    sb.hash ^= key_of<32>(sb.kou_iti, 0);
  }
  if (last_move_color == BLACK) sb.hash.complement();
  sb.captured[1] = g.captured[1];
  sb.captured[2] = g.captured[2];
}

template <int S>
void print_strings(const Board<S>& b) {
  PRT("string_num=%d\n", b.ren_num);
  for (int n = 1; n <= b.ren_num; n++) {
    const StringRecord<S>& r = b.ren[n];
    PRT("[%3d] 仮=%2d,数=%2d,色=%d,生=%d,先=%04x,後=%04x,呼吸点=%d:", n, r.id, r.stones, r.color, r.alive,
        to_point_code<S>(r.first), to_point_code<S>(r.last), r.lib_num);
    for (int i = 0; i < r.lib_num; i++) PRT("%04x,", to_point_code<S>(r.libs[i]));
    PRT("\n");
  }
}

template <int S>
void print_board(const Board<S>& b) {
  static const char* const glyph[4] = {" .", " X", " O", " #"};
  for (int y = 1; y <= b.size; y++) {
    for (int x = 1; x <= b.size; x++) PRT("%s", glyph[b.ban[y * S + x]]);
    PRT("   ");
    for (int x = 1; x <= b.size; x++) PRT("%3d", b.ban[y * S + x] ? string_of(b, y * S + x) : 0);
    PRT("\n");
  }
  PRT("kou_iti=%04x, hama=%d,%d\n", to_point_code<S>(b.kou_iti), b.captured[1], b.captured[2]);
}

template <int S>
void print_moves(const Board<S>& b) {
  for (int i = 0; i < b.fukasa; i++) {
    const char* mark = b.te[i].color == BLACK ? "●" : "○";
    if (b.te[i].z == 0) {
      PRT("？PASS:");
    } else {
      PRT("%s%04x:", mark, to_point_code<S>(b.te[i].z));
    }
  }
  PRT("\n");
}

#define INSTANTIATE(S)                                   \
  template int put_stone<S>(Board<S>&, int, int);        \
  template void take_back<S>(Board<S>&, int, int);       \
  template int string_of_chain<S>(const Board<S>&, int); \
  template void compact_strings<S>(Board<S>&);           \
  template void board_reset<S>(Board<S>&, int);          \
  template int tyokuzen_get_num<S>(const Board<S>&);     \
  template void print_strings<S>(const Board<S>&);       \
  template void print_board<S>(const Board<S>&);         \
  template void print_moves<S>(const Board<S>&);
INSTANTIATE(256)
INSTANTIATE(32)
