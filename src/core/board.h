// The board in its two forms: the global board (point code, stride 256) and
// the search board (compact code, stride 32). One implementation serves both:
// Board<256> and Board<32> differ only in cell width, hash width and the
// per-string stone list (global) or enemy list (search).
#pragma once
#include <array>
#include <cstdint>
#include <type_traits>

constexpr int BOARD_MAX = 19;
constexpr int REN_MAX = 277;
constexpr int TE_INFO_MAX = 1024;  // move records of one sequence
constexpr int LIB_MAX = 230;
constexpr int STONE_LIST_MAX = 360;
constexpr int ENEMY_MAX = 30;
constexpr int CAPTURED_STONES_MAX = 360;
constexpr int STAMP_LIMIT = 0x10000000;
constexpr int EXTRA_KEY_NUM = 128;

enum Color : int { EMPTY = 0, BLACK = 1, WHITE = 2, EDGE = 3 };
enum PutResult : int { PUT_OK = 0, PUT_SUICIDE = 1, PUT_KO = 2, PUT_OCCUPIED = 3 };

inline int opponent(int color) { return 3 - color; }

// Process-wide board size N (5..19 over GTP, 2..19 from records).
extern int ban_size;

struct Hash96 {
  uint32_t w[3];
  bool operator==(const Hash96&) const = default;
  Hash96& operator^=(const Hash96& o) {
    w[0] ^= o.w[0], w[1] ^= o.w[1], w[2] ^= o.w[2];
    return *this;
  }
  void complement() { w[0] = ~w[0], w[1] = ~w[1], w[2] = ~w[2]; }
};

struct Hash64 {
  uint64_t v;
  bool operator==(const Hash64&) const = default;
  Hash64& operator^=(const Hash64& o) {
    v ^= o.v;
    return *this;
  }
  void complement() { v = ~v; }
};

struct NoField {};

template <int S>
struct BoardTraits;

template <>
struct BoardTraits<256> {
  using Cell = int32_t;
  using Hash = Hash96;
  static constexpr bool kStoneList = true;
  static constexpr bool kEnemyList = false;
};

template <>
struct BoardTraits<32> {
  using Cell = int16_t;
  using Hash = Hash64;
  static constexpr bool kStoneList = false;
  static constexpr bool kEnemyList = true;
};

template <int S>
struct StringRecord {
  using Traits = BoardTraits<S>;
  int32_t id;      // own number while live; the absorbing string's after a merge
  int32_t stones;
  int32_t color;
  [[no_unique_address]] std::conditional_t<Traits::kStoneList, std::array<uint16_t, STONE_LIST_MAX>, NoField>
      stone_list;  // filled when captured
  int32_t first;
  int32_t last;
  int32_t lib_num;
  int32_t alive;
  uint16_t libs[LIB_MAX];
  [[no_unique_address]] std::conditional_t<Traits::kEnemyList, int32_t, NoField> enemy_num;
  [[no_unique_address]] std::conditional_t<Traits::kEnemyList, std::array<uint16_t, ENEMY_MAX>, NoField> enemy;
};

template <int S>
struct MoveRecord {
  using Hash = typename BoardTraits<S>::Hash;
  int32_t z;
  int32_t color;
  int32_t prev_kou;
  Hash prev_hash;
  int32_t main_string;        // survivor of a merge, or the new single-stone string
  int32_t new_string;         // 1 when the move made a new string
  int32_t saved_stones;       // survivor's stone count before the move
  int32_t saved_last;
  int32_t saved_lib_num;
  uint16_t saved_libs[LIB_MAX];
  int32_t saved_enemy_num;
  int32_t merged_num;
  int32_t merged[3];
  int32_t captured_num;
  int32_t captured[4];
  int32_t captured_start[4];
  int32_t captured_stone_num;
  uint16_t captured_stones[CAPTURED_STONES_MAX];
  uint16_t captured_ren_no[CAPTURED_STONES_MAX];  // restored on take-back so later splits still resolve
  int32_t touched_num;
  int32_t touched[4];
  int32_t touched_lib_index[4];   // where z sat in the toucheds' liberty lists
  int32_t touched_enemy_num[4];
};

template <int S>
struct Board {
  using Traits = BoardTraits<S>;
  using Cell = typename Traits::Cell;
  using Hash = typename Traits::Hash;
  static constexpr int STRIDE = S;
  static constexpr int ARRAY = 21 * S;

  int size;
  Cell ban[ARRAY];       // colour of every point, EDGE on the frame
  Cell ren_no[ARRAY];    // string number of a stone (renumbered when its string is absorbed)
  Cell next_stone[ARRAY];
  uint32_t lib_stamp[ARRAY];
  uint32_t stamp;
  int ren_num;
  StringRecord<S> ren[REN_MAX + 1];
  int kou_iti;
  int captured[3];       // stones of the opponent taken by colour c
  int fukasa;
  Hash hash;
  MoveRecord<S> te[TE_INFO_MAX];
};

using GlobalBoard = Board<256>;
using SearchBoard = Board<32>;

// Point codes.
inline int make_z(int x, int y) { return y * 256 + x; }
inline int z_x(int z) { return z & 255; }
inline int z_y(int z) { return z >> 8; }
inline int zc_from_z(int z) { return ((z >> 8) << 5) | (z & 255); }
inline int z_from_zc(int zc) { return ((zc >> 5) << 8) | (zc & 31); }
template <int S>
inline int to_point_code(int p) {
  return S == 256 ? p : z_from_zc(p);
}

// Key tables. Global: six 96-bit keys per point (0 ko, 1 black, 2 white) plus
// 128 extra keys for reading; search: five 64-bit keys per compact point.
extern Hash96 hash_key96[21 * 256][6];
extern Hash96 extra_key96[EXTRA_KEY_NUM];
extern Hash64 hashboard64[21 * 32][5];
void make_global_keys();    // from the Park-Miller generator, at start-up
void make_hashboard64();    // xorshift128 from its standard seeds, once
uint64_t rand64();

// Position class min*10+max of the distances to the nearer edges, by point code.
extern int position_class[21 * 256];

// The process-wide global board, its stored initial positions (one per size)
// and the copy of the board made by init_ban.
extern GlobalBoard gban;
extern int8_t initial_ban[BOARD_MAX + 1][21 * 256];
extern int8_t ban_start[21 * 256];
extern int handicap_stones;

template <int S>
int put_stone(Board<S>& b, int z, int color);
template <int S>
void take_back(Board<S>& b, int z, int color);
// Follows absorbed records to their survivor; stops when the chain does not
// end (a broken board).
template <int S>
int string_of_chain(const Board<S>& b, int z);
// Stones are renumbered when their string is absorbed, so the first record
// is the string; every put_stone asks, so inline and short.
template <int S>
inline int string_of(const Board<S>& b, int z) {
  const int n = b.ren_no[z];
  if (b.ren[n].id == n) [[likely]] return n;
  return string_of_chain(b, z);
}
template <int S>
void compact_strings(Board<S>& b);
// Empties the board (frame from its size) without placing anything.
template <int S>
void board_reset(Board<S>& b, int size);
// Stones removed by the latest move, and its record.
template <int S>
int tyokuzen_get_num(const Board<S>& b);

void init_ban();
void ban_clear();
// Makes the stones of the global board the stored initial position of its size.
void store_initial_position();
void load_search_board(SearchBoard& sb, const GlobalBoard& g, int last_move_color);

template <int S>
void print_strings(const Board<S>& b);
template <int S>
void print_board(const Board<S>& b);
template <int S>
void print_moves(const Board<S>& b);
