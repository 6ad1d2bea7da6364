// The engine's Park-Miller generator and the probe offsets shared by every
// open-addressing table.
#pragma once
#include <cstdint>

constexpr int32_t RAND_SELFTEST_VALUE = 1043618065;  // seed after 10000 draws from 1
constexpr int PROBE_NUM = 2047;

void rand_set_seed(int32_t seed);
int32_t rand_get_seed();
int32_t rand_next();
// Adds the local date and time to the seed (done once start-up is over).
void rand_seed_from_clock();

// Seed 1, self-test, the global board's keys, then the probe offsets:
// deterministic, so every run has the same key tables.
void random_startup();

// 2047 distinct offsets 1..2047, in the order the start-up drew them.
extern int probe_offset[PROBE_NUM];
