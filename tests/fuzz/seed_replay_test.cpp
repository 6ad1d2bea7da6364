// Runs every reader's fuzz target over its seed corpus with the normal
// compiler, so CI exercises the targets without libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz_targets.h"
#include "records/record_io.h"

namespace fs = std::filesystem;

namespace {

void replay(const char* reader, int (*target)(const uint8_t*, size_t)) {
  fs::path dir = fs::path(FUZZ_SEEDS) / reader;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string data, error;
    ASSERT_TRUE(read_whole_file(entry.path().string(), data, error)) << entry.path();
    EXPECT_EQ(target(reinterpret_cast<const uint8_t*>(data.data()), data.size()), 0) << entry.path();
    // Every prefix too: readers must stop cleanly wherever the input ends.
    for (size_t cut = 0; cut < data.size(); cut += 1 + data.size() / 64) {
      target(reinterpret_cast<const uint8_t*>(data.data()), cut);
    }
    files++;
  }
  EXPECT_GT(files, 0) << dir;
}

TEST(FuzzSeeds, Sgf) { replay("sgf", fuzz_sgf); }
TEST(FuzzSeeds, Ugf) { replay("ugf", fuzz_ugf); }
TEST(FuzzSeeds, Text) { replay("text", fuzz_text); }
TEST(FuzzSeeds, Ngf) { replay("ngf", fuzz_ngf); }
TEST(FuzzSeeds, Lzh) { replay("lzh", fuzz_lzh); }

}  // namespace
