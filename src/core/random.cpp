#include "core/random.h"

#include <ctime>

#include "core/board.h"
#include "core/log.h"

int probe_offset[PROBE_NUM];

namespace {
int32_t seed = 1;

void make_probe_offsets() {
  bool taken[PROBE_NUM + 1] = {};
  taken[0] = true;
  int n = 0;
  while (n < PROBE_NUM) {
    int v = (rand_next() >> 8) & 0x7FF;
    if (taken[v]) continue;
    taken[v] = true;
    probe_offset[n++] = v;
  }
}
}  // namespace

void rand_set_seed(int32_t s) { seed = s; }
int32_t rand_get_seed() { return seed; }

int32_t rand_next() {
  // Schrage's method keeps 16807 * seed inside 32 bits.
  constexpr int32_t a = 16807, m = 2147483647, q = 127773, r = 2836;
  int32_t hi = seed / q, lo = seed % q;
  int32_t t = a * lo - r * hi;
  if (t <= 0) t += m;
  seed = t;
  return seed;
}

void rand_seed_from_clock() {
  time_t now = time(nullptr);
  struct tm local;
  if (localtime_r(&now, &local) == nullptr) {
    PRT("localtime() == NULL!\n");
    return;
  }
  int year = local.tm_year + 1900, month = local.tm_mon + 1;
  int64_t add = ((((int64_t(year) * 12 + month) * 31 + local.tm_mday) * 24 + local.tm_hour) * 60 +
                 local.tm_min) * 60 + local.tm_sec;
  seed = int32_t((int64_t(seed) + add) % 2147483647);
  if (seed <= 0) seed += 2147483646;
  PRT("Date %4d-%02d-%02d %02d:%02d:%02d,", year, month, local.tm_mday, local.tm_hour, local.tm_min,
      local.tm_sec);
  PRT("%d\n", rand_next());
}

void random_startup() {
  rand_set_seed(1);
  for (int i = 0; i < 10000; i++) rand_next();
  if (seed != RAND_SELFTEST_VALUE) PRT("random seed Err! int must be over 32bit.\n");
  make_global_keys();
  make_probe_offsets();
}
