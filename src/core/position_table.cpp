#include "core/position_table.h"

#include <cstdlib>
#include <cstring>

#include "core/internal_stop.h"
#include "core/log.h"
#include "core/random.h"

PositionTables position_tables;

namespace {

bool power_of_two_mb(int mb) {
  for (int p = 1; p <= 512; p *= 2) {
    if (mb == p) return true;
  }
  return false;
}

uint32_t probe(uint32_t word, int i, uint32_t mask) {
  return i == 0 ? word & mask : (word + uint32_t(probe_offset[i - 1])) & mask;
}

bool same(const PositionEntry& e, const Hash96& h) {
  return e.hash[0] == h.w[0] && e.hash[1] == h.w[1] && e.hash[2] == h.w[2];
}

void fill(PositionEntry& e, const Hash96& h, int value, int depth, int value2, uint8_t kind) {
  memcpy(e.hash, h.w, sizeof e.hash);
  e.value = value;
  e.depth = int16_t(depth);
  e.value2 = int16_t(value2);
  e.kind = kind;
}

PositionLookup lookup(PositionEntry* table, uint32_t size, uint32_t word, const Hash96& h) {
  if (!table) return {};
  for (int i = 0; i < 3; i++) {
    const PositionEntry& e = table[probe(word, i, size - 1)];
    if (e.kind && same(e, h)) return {e.kind, e.value, e.depth, e.value2};
  }
  return {};
}

}  // namespace

void hash_tables_init() {
  PositionTables& t = position_tables;
  if (t.a && t.made_mb == t.hash_mb) {
    memset(t.a, 0, size_t(t.size_a) * sizeof(PositionEntry));
    memset(t.b, 0, size_t(t.size_b) * sizeof(PositionEntry));
    t.stored_a = t.failed_a = t.stored_b = t.failed_b = 0;
    return;
  }
  if (t.hash_mb == 0) INTERNAL_STOP("ハッシュサイズ = 0！最初のハッシュテーブル確保はちゃんと！\n");
  if (REAL_MEM_MB < 128 && t.hash_mb > 32) {
    t.hash_mb = 32;
    PRT("RealMemMB=%d, change to HashMB = %d\n", REAL_MEM_MB, t.hash_mb);
  }
  if (REAL_MEM_MB < 32 && t.hash_mb > 8) {
    t.hash_mb = 8;
    PRT("RealMemMB=%d, change to HashMB = %d\n", REAL_MEM_MB, t.hash_mb);
  }
  if (t.factor_b * t.hash_mb > REAL_MEM_MB / 2) {
    PRT("\n確保しすぎ！RealMem_MB=%d,HashMB=%d\n\n", REAL_MEM_MB, t.hash_mb);
    t.hash_mb = 1;
    t.factor_b = 8;
  }
  if (!power_of_two_mb(t.hash_mb)) INTERNAL_STOP("ハッシュサイズは２のべき乗！また256MBまで！\n");
  t.size_a = uint32_t(t.hash_mb) * (1u << 20) / 32;
  t.size_b = uint32_t(t.factor_b) * uint32_t(t.hash_mb) * (1u << 20) / 32;
  free(t.a);
  free(t.b);
  t.a = static_cast<PositionEntry*>(calloc(t.size_a, sizeof(PositionEntry)));
  if (!t.a) INTERNAL_STOP("ハッシュ確保の失敗！HashMB=%dMB\n", t.hash_mb);
  t.b = static_cast<PositionEntry*>(calloc(t.size_b, sizeof(PositionEntry)));
  if (!t.b) INTERNAL_STOP("hash_b 確保の失敗！HashMB=%dMB\n", t.hash_mb);
  t.made_mb = t.hash_mb;
  PRT("HashMB = %.1fMB(%dMB),size=%d,%d,(HASH)=%d\n", double(t.size_a + t.size_b) * 32 / (1 << 20), t.hash_mb,
      t.size_a, t.size_b, int(sizeof(PositionEntry)));
  t.stored_a = t.failed_a = t.stored_b = t.failed_b = 0;
}

void hash_a_store(const Hash96& h, int value, int depth, int value2) {
  PositionTables& t = position_tables;
  for (int i = 0; i < 3; i++) {
    PositionEntry& e = t.a[probe(h.w[0], i, t.size_a - 1)];
    if (e.kind == 0) {
      fill(e, h, value, depth, value2, KIND_A_USED);
      t.stored_a++;
      return;
    }
    if (same(e, h) && depth >= e.depth) {
      fill(e, h, value, depth, value2, KIND_A_USED);
      return;
    }
  }
  t.failed_a++;
}

PositionLookup hash_a_lookup(const Hash96& h) {
  return lookup(position_tables.a, position_tables.size_a, h.w[0], h);
}

const PositionEntry* hash_b_store(const Hash96& h, int value, int depth, int value2, uint32_t replace) {
  PositionTables& t = position_tables;
  PositionEntry* victim = nullptr;
  for (int i = 0; i < 3; i++) {
    PositionEntry& e = t.b[probe(h.w[1], i, t.size_b - 1)];
    if (e.kind == 0) {
      fill(e, h, value, depth, value2, KIND_B_USED);
      e.replace = replace;
      t.stored_b++;
      return nullptr;
    }
    if (same(e, h)) {
      if (e.depth > depth) return &e;
      fill(e, h, value, depth, value2, KIND_B_USED);
      e.replace = replace;
      return nullptr;
    }
    if (!victim || e.replace < victim->replace) victim = &e;
  }
  fill(*victim, h, value, depth, value2, KIND_B_USED);
  victim->replace = replace;
  t.failed_b++;
  return nullptr;
}

PositionLookup hash_b_lookup(const Hash96& h) {
  return lookup(position_tables.b, position_tables.size_b, h.w[1], h);
}

void hash_print_stats() {
  const PositionTables& t = position_tables;
  PRT("hash=%d(%d),hash_b=%d(%d),", t.stored_a, t.failed_a, t.stored_b, t.failed_b);
}
