#include "mc/hash_go.h"

#include <cstdlib>
#include <cstring>

#include "core/internal_stop.h"
#include "core/log.h"
#include "core/random.h"
#include "mc/uct.h"

HashGo* hash_go_table;
int Hash_Go_Table_Size;
int Hash_Go_Mask;
std::atomic<int> hash_go_use;

namespace {
int hash_go_generation;  // never advanced: the table is cleared instead
}

void init_hash_go(int records) {
  int size = HASH_GO_MIN_SIZE;
  while (size < records) size <<= 1;
  if (!hash_go_table || size > Hash_Go_Table_Size) {
    free(hash_go_table);
    hash_go_table = static_cast<HashGo*>(malloc(size_t(size) * sizeof(HashGo)));
    if (!hash_go_table) {
      PRT("Fail malloc hash_go\n");
      internal_stop();
    }
    Hash_Go_Table_Size = size;
    Hash_Go_Mask = size - 1;
  }
  const size_t bytes = size_t(Hash_Go_Table_Size) * sizeof(HashGo);
  PRT("HashGo=%7d(%3dMB),sizeof(HASH_GO)=%d,Hash_Go_Mask=%d\n", Hash_Go_Table_Size, int(bytes >> 20),
      int(sizeof(HashGo)), Hash_Go_Mask);
  memset(static_cast<void*>(hash_go_table), 0, bytes);
  hash_go_use = 0;
}

HashGo* find_node(uint64_t key) {
  const uint32_t low = uint32_t(key);
  uint32_t i = low & uint32_t(Hash_Go_Mask);
  for (int k = 0;; k++) {
    HashGo* node = &hash_go_table[i];
    lock_node(node);
    if (!node->used || node->hashcode64 == key) return node;
    unlock_node(node);
    if (k >= PROBE_NUM) break;
    i = (low + uint32_t(probe_offset[k])) & uint32_t(Hash_Go_Mask);
  }
  uct_internal_error("no child hash Err loop=%d,hash_go_use=%d\n", PROBE_NUM, hash_go_use.load());
}

int hash_full() {
  if (hash_go_use.load(std::memory_order_relaxed) < long(Hash_Go_Table_Size) * HASH_FULL_PERCENT / 100) return 0;
  PRT("hash full! hash_go_use=%d,Hash_Go_Table_Size=%d\n", hash_go_use.load(), Hash_Go_Table_Size);
  return 1;
}

void clear_node_locks() {
  if (!hash_go_table) return;
  for (int i = 0; i < Hash_Go_Table_Size; i++) unlock_node(&hash_go_table[i]);
}

void swap_scroll(HashGo* node, int from, int to) {
  if (to > from) uct_internal_error("swap_scroll Err\n");
  const UctChild moved = node->child[from];
  memmove(&node->child[to + 1], &node->child[to], sizeof(UctChild) * size_t(from - to));
  node->child[to] = moved;
}

int most_visited_child(const HashGo* node, int& move, float& value, int depth) {
  int best = -1, max_n = -100;
  for (int i = 0; i < node->child_num; i++) {
    if (node->child[i].games > 0 && node->child[i].games > max_n) max_n = node->child[i].games, best = i;
  }
  if (best < 0) {
    PRT("Err! max_n=%d,child_num=%d,深=%d,", max_n, node->child_num, depth);
    for (int i = 0; i < node->child_num; i++) {
      if (node->child[i].iti == 0) best = i;
    }
    if (best < 0) {
      for (int i = 0; i < node->child_num; i++) {
        const UctChild& c = node->child[i];
        PRT("%3d:%04x=%5d,%9f,rave=%5d,%9f\n", i, z_from_zc(c.iti), c.games, double(c.value), c.rave_games,
            double(c.rave_value));
      }
      uct_internal_error("no child to follow\n");
    }
  }
  move = node->child[best].iti;
  value = node->child[best].value;
  return best;
}

void create_node_children(HashGo* node, uint64_t key, int color, int board_size) {
  node->hashcode64 = key;
  node->games_sum = node->rave_games_sum = 0;
  node->child_num = board_size * board_size + 1;
  node->col = color;
  node->sort_done = 0;
  node->string_hint_num = node->urgent_num = 0;
  node->forbid_num = node->forbid_after_num = node->reduce_num = node->answer_after_num = 0;
  node->pair_num[0] = node->pair_num[1] = node->pair_num[2] = 0;
  node->trigger_num = node->raise_num = node->list8_num = node->list16_num = 0;
  node->virtual_loss_count = 0;
  node->age = hash_go_generation;
  node->child[0] = {0, 0, 0.0f, 0, 0.0f};
  for (int y = 1; y <= board_size; y++) {
    for (int x = 1; x <= board_size; x++) node->child[(y - 1) * board_size + x] = {y * 32 + x, 0, 0.0f, 0, 0.0f};
  }
  node->used = 1;
  hash_go_use.fetch_add(1, std::memory_order_relaxed);
}

namespace {
void* tmp_big = nullptr;
}

void tmp_big_mem(int flag) {
  const size_t bytes = size_t(Hash_Go_Table_Size > 0 ? Hash_Go_Table_Size : HASH_GO_MIN_SIZE) * sizeof(HashGo);
  if (!flag) {
    free(tmp_big);
    tmp_big = nullptr;
    return;
  }
  if (tmp_big) return;
  tmp_big = calloc(1, bytes);
  if (tmp_big) PRT("tmp_big_mem() size= %.1fMB\n", bytes / 1048576.0);
  else PRT("tmp_big_mem() fail big malloc size=%d\n", int(bytes));
}
