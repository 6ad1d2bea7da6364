#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/eye_database.h"

namespace {

std::vector<char> read_all(const char* name) {
  std::vector<char> bytes;
  FILE* fp = fopen(name, "rb");
  if (!fp) return bytes;
  char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, fp)) > 0;) bytes.insert(bytes.end(), buf, buf + n);
  fclose(fp);
  return bytes;
}

TEST(EyeGenerator, runs_are_identical_to_the_built_database) {
  ASSERT_EQ(system("./eyegen eye_generator_test.db > /dev/null"), 0);
  std::vector<char> again = read_all("eye_generator_test.db"), built = read_all(EYE_DB_FILE);
  remove("eye_generator_test.db");
  ASSERT_EQ(long(built.size()), EYE_FILE_BYTES);
  EXPECT_TRUE(again == built);
}

// The generator solves one orientation of each space and maps the answer to
// the others: every turn and mirror of the bulky five, in the centre and
// against each edge, must name the same point of the shape as vital.
TEST(EyeGenerator, turned_and_mirrored_shapes_keep_their_vital_point) {
  random_startup();
  ban_size = 19;
  ASSERT_EQ(load_eye_database(), 1);
  patch_corner_shapes();  // as start-up leaves it; the bulky five is not patched
  // Square (0,0)-(1,1) with (2,1) sticking out; the vital point is (1,1).
  const std::vector<std::pair<int, int>> bulky = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 1}};
  for (int t = 0; t < 8; t++) {
    auto turn = [t](std::pair<int, int> p) {
      auto [x, y] = p;
      if (t & 1) std::swap(x, y);
      if (t & 2) x = 2 - x;
      if (t & 4) y = 2 - y;
      return std::make_pair(x, y);
    };
    // Centre, then against the left, top, right and bottom edges.
    for (auto [dx, dy] : std::vector<std::pair<int, int>>{{8, 8}, {1, 8}, {8, 1}, {17, 8}, {8, 17}}) {
      int points[5], marks[5] = {};
      for (int i = 0; i < 5; i++) {
        auto [x, y] = turn(bulky[i]);
        points[i] = make_z(x + dx, y + dy);
      }
      auto [vx, vy] = turn({1, 1});
      EyeLookup r;
      ASSERT_EQ(eye_lookup<256>(points, marks, 5, 0, 19, r), 1);
      EXPECT_EQ(r.eye_value, EYE_ONE << 4 | EYE_TWO) << t << " " << dx << "," << dy;
      EXPECT_EQ(r.vital1, make_z(vx + dx, vy + dy)) << t << " " << dx << "," << dy;
    }
  }
}

}  // namespace
