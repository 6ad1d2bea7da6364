// Position tables A and B of the classic searches: 28-byte entries keyed by
// the global board's 96-bit hash, three probes each.
#pragma once
#include <cstdint>

#include "core/board.h"

#pragma pack(push, 1)
struct PositionEntry {
  uint32_t hash[3];
  int32_t value;
  uint32_t replace;  // table B replaces the probed entry with the smallest
  int16_t depth;
  int16_t value2;
  uint8_t kind;      // A: 0 empty, 3 used; B: 0 empty, 8 used
  uint8_t pad[3];
};
#pragma pack(pop)
static_assert(sizeof(PositionEntry) == 28);

constexpr int REAL_MEM_MB = 64;
constexpr uint8_t KIND_A_USED = 3;
constexpr uint8_t KIND_B_USED = 8;

struct PositionTables {
  int hash_mb = 1;
  int factor_b = 64;
  int made_mb = 0;       // HashMB the tables were made with
  PositionEntry* a = nullptr;
  PositionEntry* b = nullptr;
  uint32_t size_a = 0, size_b = 0;
  int stored_a = 0, failed_a = 0, stored_b = 0, failed_b = 0;
};
extern PositionTables position_tables;

struct PositionLookup {
  int kind;
  int value;
  int depth;
  int value2;
};

void hash_tables_init();
void hash_a_store(const Hash96& h, int value, int depth, int value2);
PositionLookup hash_a_lookup(const Hash96& h);
// Returns the stored entry when it was kept because it is deeper.
const PositionEntry* hash_b_store(const Hash96& h, int value, int depth, int value2, uint32_t replace);
PositionLookup hash_b_lookup(const Hash96& h);
void hash_print_stats();
