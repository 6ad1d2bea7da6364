#include <chrono>

#include "core/random.h"
#include "core/think.h"
#include "mc/simple_mc.h"

void simple_mc_register_levels() {
  // Different games from one start-up to the next, like the engine's own generator.
  auto ticks = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
  simple_mc_seed(ticks ^ (uint64_t(uint32_t(rand_get_seed())) << 32));
  think_register_level(3, flat_mc_think);
  think_register_level(4, bandit_think);
}
