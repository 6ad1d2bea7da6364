#include "core/kifu.h"

#include "core/internal_stop.h"
#include "core/log.h"
#include "core/random.h"

KifuEntry kifu[KIFU_MAX + 2];
int tesuu;
int kifu_length;
int fChineseRule;
Hash96 hash_go[KIFU_MAX + 2];
Hash96 hash_go_noko[KIFU_MAX + 2];

namespace {

struct TejunSlot {
  Hash96 hash;
  int16_t kou;
  int16_t depth;
};
TejunSlot tejun[TEJUN_SIZE];
int tejun_num;
bool tejun_ready;

uint32_t tejun_probe(uint32_t word, int k) {
  return k == 0 ? word & (TEJUN_SIZE - 1) : (word + uint32_t(probe_offset[k - 1])) & (TEJUN_SIZE - 1);
}

void note_position(int i) {
  hash_go[i] = gban.hash;
  hash_go_noko[i] = hash_without_ko(gban);
}

void print_hash(const Hash96& h) {
  for (uint32_t w : h.w) PRT("%08x ", w);
}

// The game's moves are never taken back one by one (undo replays the
// record), so the board's move stack is left to the searches.
void settle_game_move() {
  compact_strings(gban);
  gban.fukasa = 0;
}

}  // namespace

Hash96 hash_without_ko(const GlobalBoard& b) {
  Hash96 h = b.hash;
  if (b.kou_iti) h ^= hash_key96[b.kou_iti][0];
  return h;
}

int set_kifu_time(int z, int color, int seconds) {
  PRT("set_kifu_time z=%04x,col=%d,tesuu=%d,t=%d\n", z, color, tesuu, seconds);
  if (color != BLACK && color != WHITE) {
    PRT("Illegal move? x,y,z=%d,%d,%04x,col=%d\n", z_x(z), z_y(z), z, color);
    return KIFU_REFUSED;
  }
  // The same side moving again: the opponent's pass was left out, and with
  // it the ko no longer binds.
  if (tesuu > 0 && kifu[tesuu].color == color && gban.kou_iti) {
    gban.hash ^= hash_key96[gban.kou_iti][0];
    gban.kou_iti = 0;
  }
  if (z > 0) {
    int x = z_x(z), y = z_y(z);
    bool on_board = x >= 1 && x <= ban_size && y >= 1 && y <= ban_size;
    if (!on_board || gban.ban[z] != EMPTY || put_stone(gban, z, color) != PUT_OK) {
      PRT("Illegal move? x,y,z=%d,%d,%04x,col=%d\n", x, y, z, color);
      return KIFU_REFUSED;
    }
    settle_game_move();
  } else if (z == 0) {
    put_stone(gban, 0, color);
    settle_game_move();
  }
  if (tesuu < KIFU_MAX) {
    tesuu++;
    kifu[tesuu] = {z < 0 ? 0 : z, color, seconds};
    kifu_length = tesuu;
    note_position(tesuu);
  } else {
    PRT("\nover KIFU_MAX!\n");
  }
  if (z < 0) return KIFU_RESIGN;
  if (z == 0 && tesuu > 1 && kifu[tesuu - 1].z == 0) {
    PRT("２回連続パスですね\n");
    return KIFU_TWO_PASSES;
  }
  if (tesuu >= KIFU_MAX) {
    PRT("手数が%d手を超えました\n", KIFU_MAX + 1);
    return KIFU_FULL;
  }
  return KIFU_OK;
}

void kifu_clear() {
  tesuu = 0;
  kifu_length = 0;
  note_position(0);
}

void replay_kifu(int n) {
  init_ban();
  for (int i = 1; i <= n; i++) {
    if (put_stone(gban, kifu[i].z, kifu[i].color) != PUT_OK) {
      PRT("Err in kifu_tejun_set.i=%d\n", i);
      internal_stop();
    }
    settle_game_move();
  }
}

void kifu_tejun_set() {
  int kept = tesuu;
  init_ban();
  tejun_clear();
  for (int i = 0; i <= kept; i++) {
    if (i >= 1) {
      if (put_stone(gban, kifu[i].z, kifu[i].color) != PUT_OK) {
        PRT("Err in kifu_tejun_set.i=%d\n", i);
        internal_stop();
      }
      settle_game_move();
    }
    tejun_hash_set(-i);
    note_position(i);
  }
  tesuu = kept;
}

void tejun_clear() {
  for (TejunSlot& s : tejun) s.depth = TEJUN_EMPTY;
  tejun_num = 0;
  tejun_ready = true;
}

void tejun_hash_set(int depth) {
  if (!tejun_ready) tejun_clear();
  for (int k = 0; k < TEJUN_SIZE; k++) {
    TejunSlot& s = tejun[tejun_probe(gban.hash.w[0], k)];
    if (s.depth != TEJUN_EMPTY) continue;
    s = {gban.hash, int16_t(gban.kou_iti), int16_t(depth)};
    tejun_num++;
    return;
  }
  PRT("tejun_hash_set Over!\n");
  internal_stop();
}

void tejun_hash_del(int depth) {
  for (int k = 0; k < TEJUN_SIZE; k++) {
    TejunSlot& s = tejun[tejun_probe(gban.hash.w[0], k)];
    if (s.depth == TEJUN_EMPTY) {
      PRT("tejun_hash_del 未登録！\n");
      internal_stop();
    }
    if (s.hash == gban.hash && s.kou == gban.kou_iti && s.depth == depth) {
      s.depth = TEJUN_EMPTY;
      tejun_num--;
      return;
    }
  }
  PRT("tejun_hash_del Over!\n");
  internal_stop();
}

int tejun_hash_check(int depth) {
  if (!tejun_ready) tejun_clear();
  for (int k = 0; k < TEJUN_SIZE; k++) {
    const TejunSlot& s = tejun[tejun_probe(gban.hash.w[0], k)];
    if (s.depth == TEJUN_EMPTY) return 0;
    if (!(s.hash == gban.hash)) continue;
    if (s.kou == gban.kou_iti) return 1;
    PRT("劫だけが違う同一局面？！kou_iti=%04x,fukasa=%d,past_fukasa=%d\n", gban.kou_iti, depth, s.depth);
    print_hash(gban.hash);
    PRT("劫=%04x\n", s.kou);
    print_board(gban);
    return 0;
  }
  PRT("tejun_hash_check Over!\n");
  internal_stop();
}

int super_ko_check() {
  if (tejun_hash_check(gban.fukasa)) return 1;
  Hash96 h = hash_without_ko(gban), other = h;
  other.complement();
  for (int i = 0; i <= tesuu; i++) {
    if (hash_go_noko[i] == h || hash_go_noko[i] == other) {
      PRT("\nsuper-ko rule! 深=%d,手数=(%d/%d)\n\n", gban.fukasa, i, tesuu);
      return 1;
    }
  }
  return 0;
}

namespace {
struct HandicapPoint {
  int x, y;
};

void place(int x, int y) { initial_ban[ban_size][make_z(x, y)] = BLACK; }
}  // namespace

void put_handicap(int k) {
  int limit = ban_size == 19 ? 25 : 9;
  if (k < 2 || k > limit) {
    PRT("handicap stones is only 2 - 9. k=%d\n", k);
    printf("handicap stones is only 2 - 9. k=%d\n", k);
    internal_stop();
  }
  ban_clear();
  kifu_clear();
  handicap_stones = k;
  if (ban_size == 9 || ban_size == 13 || ban_size == 19) {
    // Lines 3/5/7 on 9x9, 4/7/10 on 13x13, 4/10/16 on 19x19.
    int lo = ban_size == 9 ? 3 : 4, hi = ban_size + 1 - lo, mid = (ban_size + 1) / 2;
    place(hi, lo), place(lo, hi);
    if (k >= 4) place(lo, lo), place(hi, hi);
    if (k >= 6) place(lo, mid), place(hi, mid);
    if (k >= 8) place(mid, lo), place(mid, hi);
    if (k == 3) place(hi, hi);
    if (k == 5 || k == 7 || k >= 9) place(mid, mid);
    if (ban_size == 19 && k == 13) place(3, 3), place(17, 3), place(3, 17), place(17, 17);
    if (ban_size == 19 && k == 25) {
      static const HandicapPoint more[] = {{7, 4},   {13, 4},  {4, 7},   {7, 7},   {10, 7}, {13, 7},
                                           {16, 7},  {7, 10},  {13, 10}, {4, 13},  {7, 13}, {10, 13},
                                           {13, 13}, {16, 13}, {7, 16},  {13, 16}};
      for (const HandicapPoint& p : more) place(p.x, p.y);
    }
  }
  init_ban();
  note_position(0);
}

int side_to_move() {
  if (tesuu == 0) return handicap_stones > 0 ? WHITE : BLACK;
  return opponent(kifu[tesuu].color);
}
