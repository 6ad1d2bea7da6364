// The node table of the Monte-Carlo tree search: one preallocated block of
// nodes found again by the search board's 64-bit position key, so that two
// move orders reaching one position share one node. Each node carries its own
// spin lock; a thread holds at most one at a time.
#pragma once
#include <atomic>
#include <cstdint>

constexpr int UCT_CHILD_MAX = 362;  // 19 x 19 points and the pass
constexpr int STRING_HINT_MAX = 278;
constexpr int URGENT_POINT_MAX = 10;
constexpr int HASH_GO_MIN_SIZE = 4096;
constexpr int HASH_FULL_PERCENT = 90;
constexpr int NO_MOVE_HINT = 0x77f;  // a string hint's "no move"
constexpr int ILLEGAL_CHILD = -1;

struct UctChild {
  int32_t iti;         // compact point code, 0 pass, ILLEGAL_CHILD
  int32_t games;
  float value;         // mean result on the mover's scale; the prior before the first visit
  int32_t rave_games;
  float rave_value;    // mean AMAF result; the prior while the node is prepared
};

struct StringHint {
  uint16_t start_z;    // compact code of a stone of the string
  uint16_t result[4];  // attack move, attack result, defence move, defence result
};

struct HintTriple {
  uint16_t color, move, target;
};
struct HintPair {
  uint16_t a, b;
};

// Capacities of the playout hint lists.
constexpr int HINT_FORBID_MAX = 16;
constexpr int HINT_FORBID_AFTER_MAX = 12;
constexpr int HINT_REDUCE_MAX = 10;
constexpr int HINT_ANSWER_AFTER_MAX = 10;
constexpr int HINT_PAIR_MAX = 10;
constexpr int HINT_TRIGGER_MAX = 10;
constexpr int HINT_RAISE_MAX = 5;
inline int hint_pack(int color, int zc) { return color * 1024 + zc; }

struct HashGo {
  uint64_t hashcode64;
  int32_t lock;  // 0 free, 1 held; only touched through atomic_ref
  int32_t child_num;
  UctChild child[UCT_CHILD_MAX];
  int32_t string_hint_num;
  StringHint string_hint[STRING_HINT_MAX];
  int32_t urgent_num;
  uint16_t urgent[URGENT_POINT_MAX];
  int32_t forbid_num;
  uint16_t forbid[HINT_FORBID_MAX];          // packed: weight 0
  int32_t forbid_after_num;
  HintTriple forbid_after[HINT_FORBID_AFTER_MAX];
  int32_t reduce_num;
  uint16_t reduce[HINT_REDUCE_MAX];          // packed: weight / 1000 + 1
  int32_t answer_after_num;
  HintTriple answer_after[HINT_ANSWER_AFTER_MAX];
  int32_t pair_num[3];
  HintPair pair[3][HINT_PAIR_MAX];           // per colour
  int32_t trigger_num;
  HintPair trigger[HINT_TRIGGER_MAX];
  int32_t raise_num;
  uint16_t raise[HINT_RAISE_MAX];            // packed: (weight + 100) x 10
  int32_t list8_num;
  uint16_t list8[8];
  int32_t list16_num;
  uint16_t list16[16];
  int32_t virtual_loss_count;
  int32_t games_sum;
  int32_t rave_games_sum;
  int32_t sort_done;
  int32_t used;
  int32_t col;
  int32_t age;
};

extern HashGo* hash_go_table;
extern int Hash_Go_Table_Size;
extern int Hash_Go_Mask;
extern std::atomic<int> hash_go_use;

// Allocates the table once with at least `records` nodes (a power of two, at
// least 4096; a larger request grows it), then empties it.
void init_hash_go(int records = HASH_GO_MIN_SIZE);
// The node of key, locked: a matching node or an empty slot (used == 0).
// Exhausted probes take the search's internal error stop.
HashGo* find_node(uint64_t key);
inline void lock_node(HashGo* node) {
  std::atomic_ref<int32_t> lock(node->lock);
  while (lock.exchange(1, std::memory_order_acquire) == 1) {
    while (lock.load(std::memory_order_relaxed) == 1) {
    }
  }
}
inline void unlock_node(HashGo* node) { std::atomic_ref<int32_t>(node->lock).store(0, std::memory_order_release); }
// The temporary big buffer: flag 0 frees it, otherwise it is allocated once.
void tmp_big_mem(int flag);
// The table is 90 % full.
int hash_full();
void clear_node_locks();
// Moves child from to place to (to <= from), shifting the ones between.
void swap_scroll(HashGo* node, int from, int to);
// Index of the child with most games (> 0); the pass child when none was
// visited, or the internal error stop when there is none either.
int most_visited_child(const HashGo* node, int& move, float& value, int depth);
// First phase of creation: every point is a child, in point order.
void create_node_children(HashGo* node, uint64_t key, int color, int board_size);
