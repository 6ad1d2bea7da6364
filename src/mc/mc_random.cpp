#include "mc/mc_random.h"

#include <ctime>
#include <unistd.h>

void mc_random_seed(McRandom& r, int thread_id, uint32_t seconds, uint32_t pid) {
  r.thread_id = thread_id;
  uint32_t s = seconds + pid + uint32_t(thread_id) + 4357u;
  // Words 0..16 take the top bits of 32 successive congruential values each.
  for (int i = 0; i <= 16; i++) {
    uint32_t w = 0;
    for (int j = 0; j < 32; j++) {
      s = s * 1566083941u + 1;
      w = (w >> 1) | (s & 0x80000000u);
    }
    r.x[i] = w;
  }
  r.x[16] = (r.x[0] << 23) ^ (r.x[16] >> 9) ^ r.x[15];
  for (int i = 17; i < MC_RANDOM_WORDS; i++) r.x[i] = (r.x[i - 17] << 23) ^ (r.x[i - 16] >> 9) ^ r.x[i - 1];
  for (int k = 0; k < 3; k++) mc_random_refresh(r);
  r.index = MC_RANDOM_WORDS;
}

void mc_random_seed_now(McRandom& r, int thread_id) {
  mc_random_seed(r, thread_id, uint32_t(time(nullptr)), uint32_t(getpid()));
}
