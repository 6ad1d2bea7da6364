// The areasum command of knowledge_builder, run as a user runs it, on small
// hand-made collections whose played points have a known owner.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace fs = std::filesystem;

namespace {

constexpr int ROWS = 101, BANDS = 10;
using Table = std::vector<int32_t>;  // [row * BANDS + band]

// 7x7, Black above, White below, each wall with two one-point eyes and a
// two-point eye in its edge row, so every point's owner is settled:
//   . X . X . . X
//   X X X X X X X
//   X X X X X X X
//   O O O O O O O
//   O O O O O O O
//   O O O O O O O
//   . O . O . . O
// Black has 17 stones to White's 24, so Black passes in between.
std::string settled_moves() {
  std::vector<std::string> black, white;
  for (const char* row : {"c", "b"}) {
    for (char x = 'a'; x <= 'g'; x++) black.push_back(std::string(1, x) + row);
  }
  for (const char* p : {"ba", "da", "ga"}) black.push_back(p);
  for (const char* row : {"d", "e", "f"}) {
    for (char x = 'a'; x <= 'g'; x++) white.push_back(std::string(1, x) + row);
  }
  for (const char* p : {"bg", "dg", "gg"}) white.push_back(p);
  std::string out;
  for (size_t i = 0; i < white.size(); i++) {
    out += ";B[" + (i < black.size() ? black[i] : std::string()) + "];W[" + white[i] + "]";
  }
  return out;
}

// After the settled position: Black passes, White plays into Black's two-point
// eye (a point Black owns), Black takes the stone (a point Black owns).
std::string settled_game(bool with_ending) {
  return "(;GM[1]SZ[7]KM[0]" + settled_moves() + (with_ending ? ";B[];W[ea];B[fa]" : "") + ")\n";
}

class AreaSumBuilder : public ::testing::Test {
 protected:
  fs::path folder, program_dir;

  void SetUp() override {
    program_dir = fs::read_symlink("/proc/self/exe").parent_path();
    if (!fs::exists(program_dir / "knowledge_builder") || !fs::exists(program_dir / "mm3x3.db")) {
      GTEST_SKIP() << "knowledge_builder or mm3x3.db not built beside the tests";
    }
    folder = fs::temp_directory_path() / ("ranvel_areasum_" + std::to_string(getpid()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    if (!folder.empty()) fs::remove_all(folder);
  }

  // Writes the collection, runs the builder on it and reads the table back.
  Table build(const std::string& name, const std::string& collection, const std::string& options) {
    std::ofstream(folder / (name + ".sgf")) << collection;
    const fs::path out = folder / name;
    fs::create_directories(out);
    const std::string command = (program_dir / "knowledge_builder").string() + " areasum --size 7 --data " +
                                program_dir.string() + " --out " + out.string() + " " + options + " " +
                                (folder / (name + ".sgf")).string() + " > " + (folder / (name + ".log")).string();
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::string bytes = read_text(out / "areasum.db");
    EXPECT_EQ(bytes.size(), size_t(ROWS * BANDS * 4));
    Table t(ROWS * BANDS, 0);
    for (size_t i = 0; i < t.size() && 4 * i + 3 < bytes.size(); i++) {
      const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + 4 * i);
      t[i] = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    }
    return t;
  }
};

long total(const Table& t) {
  long sum = 0;
  for (int32_t v : t) sum += v;
  return sum;
}

TEST_F(AreaSumBuilder, played_point_counted_by_the_movers_ownership_in_the_last_band) {
  const Table without = build("without", settled_game(false), "");
  const Table with = build("with", settled_game(true), "");
  // The positions before are seeded alike, so the ending's two moves are the
  // whole difference: 41 and 42 stones on 49 points fall in the last band.
  Table expected = without;
  expected[0 * BANDS + 6]++;    // White at a point Black owns: 0 from White's side
  expected[100 * BANDS + 6]++;  // Black at its own point
  EXPECT_EQ(with, expected);
  EXPECT_EQ(total(with), 41 + 2) << "every stone counted once, passes not at all";
}

TEST_F(AreaSumBuilder, held_out_games_other_sizes_and_steps_are_left_out) {
  const std::string nine = "(;GM[1]SZ[9];B[ee];W[cc];B[gg])\n";
  const std::string held_out = "(;GM[1]SZ[7];B[dd];W[cc];B[ee];W[ff])\n";
  const std::string collection = settled_game(true) + nine + held_out;
  const Table all = build("all", collection, "--holdout 1");
  EXPECT_EQ(total(all), 43) << "the 9x9 game and the last game add nothing";
  EXPECT_EQ(build("again", collection, "--holdout 1"), all) << "the same input gives the same table";

  // Every 2nd game (the first and the third) and every 3rd move: the first
  // game (running number 0) counts its moves 0, 3, 6, ... except Black's
  // passes (even moves from 34 on), the third (number 2) its move 2.
  int expected = 0;
  for (int i = 0; i < 51; i += 3) expected += i < 34 || i % 2 == 1;
  const Table stepped = build("stepped", collection, "--game-step 2 --move-step 3");
  EXPECT_EQ(total(stepped), expected + 1);
}

}  // namespace
