// The per-thread generator of the Monte-Carlo search: 521 words with the
// recurrence x[n] = x[n-32] ^ x[n-521], refreshed a block at a time.
#pragma once
#include <cstdint>

constexpr int MC_RANDOM_WORDS = 521;

struct McRandom {
  int thread_id = 0;
  int index = MC_RANDOM_WORDS;
  uint32_t x[MC_RANDOM_WORDS];
};

// Seeds from s = seconds + process id + record index + 4357.
void mc_random_seed(McRandom& r, int thread_id, uint32_t seconds, uint32_t pid);
// The same from the clock and this process.
void mc_random_seed_now(McRandom& r, int thread_id);

inline void mc_random_refresh(McRandom& r) {
  for (int i = 0; i < 32; i++) r.x[i] ^= r.x[i + MC_RANDOM_WORDS - 32];
  for (int i = 32; i < MC_RANDOM_WORDS; i++) r.x[i] ^= r.x[i - 32];
}

inline uint32_t mc_random_next(McRandom& r) {
  if (r.index >= MC_RANDOM_WORDS) {
    mc_random_refresh(r);
    r.index = 0;
  }
  return r.x[r.index++];
}
