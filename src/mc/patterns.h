// Pattern databases: 3x3 pattern weights ("mm3x3.db"), large patterns with
// seen and played counts ("patlist.db") and the 3x3 log-probabilities of the
// weak move choice ("weak255.db"). A missing or damaged file is logged and
// leaves its tables unloaded; callers refuse what needs them.
#pragma once
#include <cstdint>
#include <vector>

#include "core/board.h"

// Neighbour order of the 3x3 pattern code (compact point codes); neighbour j
// is base-3 digit j. Its 256-stride twin walks the same neighbours.
constexpr int PATTERN_DIR32[8] = {+1, +32, -1, -32, +33, +31, -33, -31};
constexpr int PATTERN_DIR256[8] = {+1, +256, -1, -256, +257, +255, -257, -255};
constexpr int PATTERN3X3_NUM = 6561;   // 3^8
constexpr int POSITION_CLASS_NUM = 25;
constexpr int NEIGHBOUR_INDEX_NUM = 9;  // k: 0..7 the last move is neighbour k, 8 otherwise
constexpr int NEIGHBOUR_NONE = 8;

// "mm3x3.db": colour c's value for (s, k, p) is read at float
// (c - 1) * MM3X3_BLOCK + (s * 9 + k) * 6561 + p. The file holds the colour-1
// block (MM3X3_USED floats), 256 zero floats, then the colour-2 block cut
// 256 floats short; a read beyond the file is 0. The cut entries are corner
// patterns with stones off the board, which never occur.
constexpr long MM3X3_USED = long(POSITION_CLASS_NUM) * NEIGHBOUR_INDEX_NUM * PATTERN3X3_NUM;  // 1476225
constexpr long MM3X3_BLOCK = MM3X3_USED + 256;                                                 // 1476481
constexpr long MM3X3_FLOATS = 2 * MM3X3_USED;                                                  // 2952450
constexpr const char* MM3X3_FILE = "mm3x3.db";

inline long mm3x3_index(int c, int s, int k, int p) {
  return long(c - 1) * MM3X3_BLOCK + long(s * NEIGHBOUR_INDEX_NUM + k) * PATTERN3X3_NUM + p;
}
inline int mm3x3_feature(int s, int k, int p) { return (s * NEIGHBOUR_INDEX_NUM + k) * PATTERN3X3_NUM + p; }

// Position class 0..24 of column x and row y (both 0..n-1).
int pattern_position_class(int x, int y, int n);
// Pattern code of a point on either board: digit j is the colour of
// neighbour j (0 empty or edge, 1 black, 2 white).
template <int S>
int pattern3x3_code(const Board<S>& b, int z);
// The same code with Black and White exchanged.
int pattern3x3_swap(int p);
// k of point z when the last move was at last (same stride), 8 when none.
template <int S>
int pattern_neighbour_index(int z, int last);

extern std::vector<float> mm3x3;  // empty until loaded
bool load_mm3x3();
float mm3x3_gamma(int c, int s, int k, int p);

// Integer playout weights W(c, s, k, p) for the board size of the last
// make_pattern_weights call. The 18 weights of one place and pattern (both
// colours, every k) sit together, so that a playout's update of a point
// reads one or two cache lines of the 6 MB table instead of three.
extern std::vector<int32_t> pattern_weight;
constexpr int PATTERN_WEIGHT_BLOCK = 2 * NEIGHBOUR_INDEX_NUM;  // per (s, p)
inline long pattern_weight_index(int c, int s, int k, int p) {
  return (long(s) * PATTERN3X3_NUM + p) * PATTERN_WEIGHT_BLOCK + (c - 1) * NEIGHBOUR_INDEX_NUM + k;
}
// Multiplier of W for points next to the last move (k < 8).
constexpr int NEAR_LAST_FACTOR_19 = 16;
constexpr int NEAR_LAST_FACTOR = 2;
extern int pattern_weight_size;
// False (and the weights left empty) when "mm3x3.db" is not loaded.
bool make_pattern_weights(int board_size);
template <int S>
int32_t pattern_weight_at(const Board<S>& b, int z, int color, int last);

// "patlist.db": a 32-bit count n, then 65536 records of 80 bytes.
constexpr int HASHPAT_LIST_NUM = 65536;
constexpr int HASHPAT_UCT_NUM = HASHPAT_LIST_NUM * 8;
constexpr int HASHPAT_UCT_MASK = HASHPAT_UCT_NUM - 1;
constexpr int BIG_PATTERN_SIZE_MIN = 2;
constexpr int BIG_PATTERN_SIZE_MAX = 5;
constexpr int BIG_PATTERN_POINTS = 60;  // rings 1..5 hold 4, 8, 12, 16, 20 points
constexpr double BIG_PATTERN_SCALE = 1000.0;
constexpr const char* PATLIST_FILE = "patlist.db";

struct HashpatList {
  uint64_t key[8];   // one per symmetry, 0 unused
  uint32_t seen;
  uint32_t played;
  uint32_t size;     // 1..5, 0 empty record
  uint32_t extra;
};
static_assert(sizeof(HashpatList) == 80, "patlist records are 80 bytes");

struct HashpatUct {
  uint64_t key;
  uint16_t seen;
  uint16_t played;
  uint16_t size;
  uint16_t extra;
};
static_assert(sizeof(HashpatUct) == 16, "pattern lookup entries are 16 bytes");

// Offsets (dx, dy) of the 60 points of the largest pattern, ring by ring;
// each ring starts above the centre and walks clockwise in four runs.
extern int big_pattern_dx[BIG_PATTERN_POINTS];
extern int big_pattern_dy[BIG_PATTERN_POINTS];
constexpr int big_pattern_points(int size) { return 2 * size * (size + 1); }
// Where symmetry g (0..7) takes ring point i.
extern int big_pattern_symmetry[8][BIG_PATTERN_POINTS];
void make_big_pattern_tables();

// Content of the 60 points (0 empty, 1 the viewer's colour, 2 the other, 3
// off the board) and the key of each size 2..5 from color's side.
template <int S>
void big_pattern_content(const Board<S>& b, int z, int color, uint8_t content[BIG_PATTERN_POINTS]);
void big_pattern_keys(const uint8_t content[BIG_PATTERN_POINTS], uint64_t keys[BIG_PATTERN_SIZE_MAX + 1]);
// Keys of size s under the 8 symmetries (key[0] is the plain one).
void big_pattern_symmetric_keys(const uint8_t content[BIG_PATTERN_POINTS], int size, uint64_t keys[8]);

extern std::vector<HashpatList> hashpat_list;
extern int hashpat_list_num;
extern std::vector<HashpatUct> hashpat_uct;
struct HashpatSizeStats {
  double min_ratio = 1.0;
  double sum_ratio = 0;
  int records = 0;
};
extern HashpatSizeStats hashpat_size_stats[BIG_PATTERN_SIZE_MAX + 1];
bool load_hashpat_list();
// Builds the lookup table from the first n list records.
void make_hashpat_uct(const HashpatList* list, int n);
const HashpatUct* hashpat_lookup(uint64_t key);
template <int S>
double big_pattern_factor(const Board<S>& b, int z, int color);
// The same product from the point's keys of sizes 2..5 (one colour view).
double big_pattern_factor_from_keys(const uint64_t keys[BIG_PATTERN_SIZE_MAX + 1]);

// "weak255.db": count n, table A (27 x 6561 bytes), count no_3x3, table B
// (5 blocks of 11649 bytes). Byte b is the probability 1.04^(b - 255).
constexpr int WEAK_A_NUM = 27 * PATTERN3X3_NUM;  // 177147
constexpr int WEAK_B_BLOCKS = 5;
constexpr int WEAK_B_BLOCK = 11649;
constexpr int WEAK_B_NUM = WEAK_B_BLOCKS * WEAK_B_BLOCK;  // 58245
constexpr const char* WEAK255_FILE = "weak255.db";
extern std::vector<uint8_t> weak_table_a;
extern std::vector<uint8_t> weak_table_b;
extern double weak_byte_probability[256];
bool load_pattern3x3_log();
// Table index of point z for color with the last move at last: table A
// (0..WEAK_A_NUM-1) or table B (WEAK_A_NUM + block * 11649 + index).
int weak_index(const GlobalBoard& b, int z, int last, int color);
double weak_probability(const GlobalBoard& b, int z, int last, int color);

// Prior of a candidate point for the tree search: 3x3 weight x distance to
// the last two moves x edge line x big-pattern factor (boards above 9x9) x the
// second-ring adjustments; prev and prev2 are 0 when there is no such move.
template <int S>
double pattern_prior(const Board<S>& b, int z, int color, int prev, int prev2);
// The prior's factors besides the 3x3 weight and the big-pattern factor:
// distance to the last two moves, edge line and second-ring adjustments.
template <int S>
double prior_context_factor(const Board<S>& b, int z, int color, int prev, int prev2);
extern const double prior_distance_prev[19];
extern const double prior_distance_prev2[19];
extern const double prior_line[10];

// The weak move choice of levels 5 (tactical = 1) and 6 on the global board;
// 0 (pass) when no point is worth playing.
int weak_move_choice(int color, int tactical);
// Registers levels 5 and 6 with the move decision driver; false (logged)
// when "weak255.db" cannot be loaded, so those levels refuse to start.
bool patterns_register_levels();
