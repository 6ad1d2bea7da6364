// Eye-shape database: the generator's run (the build's step) and lookups of
// areas of one to seven points all over the board.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/eye_database.h"

namespace {

std::string exe_dir() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  path[n] = 0;
  std::string s(path);
  return s.substr(0, s.rfind('/'));
}

void BM_eye_generator(benchmark::State& state) {
  std::string dir = exe_dir();
  std::string cmd = dir + "/eyegen " + dir + "/eye_bench.db > /dev/null";
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    if (system(cmd.c_str()) != 0) state.SkipWithError("eyegen failed");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  remove((dir + "/eye_bench.db").c_str());
}
BENCHMARK(BM_eye_generator)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

struct Area {
  int points[7], marks[7], n;
};

// Random connected areas grown from a random point of a 19x19 board.
std::vector<Area> random_areas(int count) {
  std::mt19937 rng(7);
  std::vector<Area> areas;
  while (int(areas.size()) < count) {
    Area a{};
    a.n = 1 + int(rng() % 7);
    a.points[0] = make_z(1 + int(rng() % 19), 1 + int(rng() % 19));
    int have = 1;
    for (int tries = 0; have < a.n && tries < 100; tries++) {
      static constexpr int dir[4] = {1, -1, 256, -256};
      int p = a.points[rng() % have] + dir[rng() % 4];
      if (z_x(p) < 1 || z_x(p) > 19 || z_y(p) < 1 || z_y(p) > 19) continue;
      bool taken = false;
      for (int i = 0; i < have; i++) taken |= a.points[i] == p;
      if (!taken) a.points[have++] = p;
    }
    a.n = have;
    for (int i = 0; i < a.n; i++) a.marks[i] = int(rng() % 4 == 0);
    areas.push_back(a);
  }
  return areas;
}

void BM_eye_lookup(benchmark::State& state) {
  if (chdir(exe_dir().c_str()) != 0 || (random_startup(), load_eye_database()) != 1) {
    state.SkipWithError("eye.db not loaded");
    return;
  }
  std::vector<Area> areas = random_areas(4096);
  long found = 0, lookups = 0;
  for (auto _ : state) {
    for (Area a : areas) {
      EyeLookup r;
      found += eye_lookup<256>(a.points, a.marks, a.n, 0, 19, r);
    }
    lookups += long(areas.size());
  }
  state.counters["lookups/s"] = benchmark::Counter(double(lookups), benchmark::Counter::kIsRate);
  state.counters["found"] = double(found) / double(lookups);
}
BENCHMARK(BM_eye_lookup);

}  // namespace

BENCHMARK_MAIN();
