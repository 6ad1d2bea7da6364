#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/log.h"
#include "core/random.h"
#include "knowledge/eye_database.h"

namespace {

struct Area {
  std::vector<int> points;
  std::vector<int> marks;
};

// Points given as (column, row) offsets from (dx, dy).
Area at(std::initializer_list<std::pair<int, int>> xy, int dx, int dy) {
  Area a;
  for (auto [x, y] : xy) a.points.push_back(make_z(x + dx, y + dy)), a.marks.push_back(0);
  return a;
}

EyeLookup look(Area a, int context = 0, int size = 19) {
  EyeLookup r;
  eye_lookup<256>(a.points.data(), a.marks.data(), int(a.points.size()), context, size, r);
  return r;
}

int attacker_first(const EyeLookup& r) { return r.eye_value >> 4; }
int owner_first(const EyeLookup& r) { return r.eye_value & 15; }
bool two_eyes(const EyeLookup& r) { return attacker_first(r) >= 9; }
bool lives_if_owner_first(const EyeLookup& r) { return !two_eyes(r) && owner_first(r) >= 4; }
bool one_eye(const EyeLookup& r) { return !two_eyes(r) && owner_first(r) < 4; }

const std::initializer_list<std::pair<int, int>> STRAIGHT3 = {{0, 0}, {1, 0}, {2, 0}};
const std::initializer_list<std::pair<int, int>> BENT4 = {{0, 0}, {1, 0}, {2, 0}, {0, 1}};

class EyeDatabase : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    random_startup();
    ban_size = 19;
    ASSERT_EQ(load_eye_database(), 1);
    patch_corner_shapes();
  }
};

TEST_F(EyeDatabase, three_point_spaces_live_only_if_the_owner_takes_the_middle) {
  for (auto shape : {STRAIGHT3, std::initializer_list<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}}}) {
    EyeLookup r = look(at(shape, 8, 8));
    ASSERT_EQ(r.found, 1);
    EXPECT_TRUE(lives_if_owner_first(r));
    int middle = make_z(9 - (shape.size() == 3 && shape.begin()[2].second == 1), 8);
    EXPECT_EQ(r.vital1, middle);
    EXPECT_EQ(r.vital2, middle);
    // The attacker on the middle point: one eye whoever moves.
    Area taken = at(shape, 8, 8);
    for (size_t i = 0; i < taken.points.size(); i++) taken.marks[i] = taken.points[i] == middle;
    EXPECT_TRUE(one_eye(look(taken)));
  }
}

TEST_F(EyeDatabase, four_point_spaces) {
  EXPECT_TRUE(two_eyes(look(at({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 8, 8))));
  EXPECT_TRUE(two_eyes(look(at(BENT4, 8, 8))));
  EyeLookup square = look(at({{0, 0}, {1, 0}, {0, 1}, {1, 1}}, 8, 8));
  EXPECT_TRUE(one_eye(square));
  EXPECT_EQ(square.vital1, 0);
  EXPECT_EQ(square.vital2, 0);
  EyeLookup pyramid = look(at({{1, 0}, {0, 1}, {1, 1}, {2, 1}}, 8, 8));
  EXPECT_TRUE(lives_if_owner_first(pyramid));
  EXPECT_EQ(pyramid.vital1, make_z(9, 9));
}

// The bulky five in every orientation is checked with the generator.
TEST_F(EyeDatabase, rabbity_six_dies_at_its_vital_point) {
  EyeLookup rabbity = look(at({{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}, {2, 2}}, 8, 8));
  EXPECT_TRUE(lives_if_owner_first(rabbity));
  EXPECT_EQ(rabbity.vital1, make_z(9, 9));
}

TEST_F(EyeDatabase, small_spaces_are_one_eye_unless_the_group_has_another) {
  EyeLookup two = look(at({{0, 0}, {1, 0}}, 8, 8));
  EXPECT_TRUE(one_eye(two));
  EXPECT_EQ(attacker_first(two), EYE_ONE);
  EXPECT_TRUE(two_eyes(look(at({{0, 0}, {1, 0}}, 8, 8), 1)));
  EXPECT_TRUE(two_eyes(look(at({{0, 0}}, 3, 3), 1)));
  EXPECT_TRUE(two_eyes(look(at({{0, 0}}, 3, 3), 2)));
}

TEST_F(EyeDatabase, attacker_stones_inside_count) {
  // An attacker stone on a middle point of straight four: the attacker
  // moving first kills, the owner moving first lives at the other middle point.
  Area a = at({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 8, 8);
  a.marks[1] = 1;
  EyeLookup r = look(a);
  EXPECT_EQ(r.found, 1);
  EXPECT_TRUE(lives_if_owner_first(r));
  EXPECT_EQ(r.vital2, make_z(10, 8));
  // At an end it can always be captured later: still two eyes.
  Area end = at({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 8, 8);
  end.marks[0] = 1;
  EXPECT_TRUE(two_eyes(look(end)));
  // Stones without a liberty count as captured: all four filled reads as empty.
  Area full = at({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 8, 8);
  for (int& m : full.marks) m = 1;
  EXPECT_EQ(look(full).eye_value, look(at({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, 8, 8)).eye_value);
}

TEST_F(EyeDatabase, edge_and_centre_use_different_entries) {
  auto index = [](Area a) {
    return eye_entry_index<256>(a.points.data(), a.marks.data(), int(a.points.size()), 0, 19);
  };
  int centre = index(at(STRAIGHT3, 8, 8));
  Area vertical_centre, vertical_left;
  for (int y = 5; y <= 7; y++) {
    vertical_centre.points.push_back(make_z(8, y)), vertical_centre.marks.push_back(0);
    vertical_left.points.push_back(make_z(1, y)), vertical_left.marks.push_back(0);
  }
  int vc = index(vertical_centre), vl = index(vertical_left);
  ASSERT_GE(centre, 0);
  EXPECT_EQ(vl - vc, (5 - 8) * EYE_CONTEXT_NUM);  // edge code 5 against 8
  EXPECT_NE(index(at(STRAIGHT3, 0, 8)), centre);
  // Straight three on the first line, centre of the edge: still lives if the
  // owner moves first, vital point the middle.
  EyeLookup edge = look(at(STRAIGHT3, 8, 1));
  EXPECT_TRUE(lives_if_owner_first(edge));
  EXPECT_EQ(edge.vital1, make_z(9, 1));
}

TEST_F(EyeDatabase, edge_codes_follow_the_bounding_box) {
  EXPECT_EQ(eye_edge_code(1, 1, 3, 2, 19), 0);
  EXPECT_EQ(eye_edge_code(17, 1, 19, 2, 19), 1);
  EXPECT_EQ(eye_edge_code(1, 18, 2, 19, 19), 2);
  EXPECT_EQ(eye_edge_code(18, 18, 19, 19, 19), 3);
  EXPECT_EQ(eye_edge_code(5, 1, 7, 1, 19), 4);
  EXPECT_EQ(eye_edge_code(1, 5, 1, 7, 19), 5);
  EXPECT_EQ(eye_edge_code(9, 5, 9, 7, 9), 6);
  EXPECT_EQ(eye_edge_code(4, 9, 6, 9, 9), 7);
  EXPECT_EQ(eye_edge_code(4, 4, 6, 6, 9), 8);
}

TEST_F(EyeDatabase, patched_corner_bent_fours_have_no_eye_in_every_corner_and_context) {
  const int points[5] = {0x0101, 0x0102, 0x0103, 0x0201, 0x0301};
  const int marks[5] = {1, 1, 0, 1, 0};
  for (int corner = 0; corner < 4; corner++) {
    for (int context = 0; context < EYE_CONTEXT_NUM; context++) {
      Area a;
      for (int i = 0; i < 5; i++) {
        int x = z_x(points[i]), y = z_y(points[i]);
        if (corner & 1) x = 20 - x;
        if (corner & 2) y = 20 - y;
        a.points.push_back(make_z(x, y));
        a.marks.push_back(marks[i]);
      }
      EyeLookup r = look(a, context);
      EXPECT_EQ(r.found, 1);
      EXPECT_EQ(r.eye_value, 0) << corner << " " << context;
      EXPECT_EQ(r.vital1, 0);
      EXPECT_EQ(r.vital2, 0);
    }
  }
}

TEST_F(EyeDatabase, patched_corner_seven_gives_its_second_point_as_vital) {
  Area a = at({{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}}, 1, 1);
  EyeLookup r = look(a);
  EXPECT_EQ(r.eye_value, EYE_TWO);
  EXPECT_EQ(r.vital1, make_z(2, 1));
  EXPECT_EQ(r.vital2, make_z(2, 1));
}

TEST_F(EyeDatabase, lookups_sort_points_with_their_marks_and_agree_on_both_strides) {
  int points[3] = {make_z(10, 8), make_z(8, 8), make_z(9, 8)};
  int marks[3] = {0, 0, 1};
  int compact[3], compact_marks[3] = {0, 0, 1};
  for (int i = 0; i < 3; i++) compact[i] = zc_from_z(points[i]);
  EyeLookup r256, r32;
  ASSERT_EQ(eye_lookup<256>(points, marks, 3, 0, 19, r256), 1);
  ASSERT_EQ(eye_lookup<32>(compact, compact_marks, 3, 0, 19, r32), 1);
  EXPECT_EQ(points[0], make_z(8, 8));
  EXPECT_EQ(marks[1], 1);  // the mark travelled with its point
  EXPECT_EQ(r256.eye_value, r32.eye_value);
  EXPECT_TRUE(one_eye(r256));
}

TEST_F(EyeDatabase, unknown_areas_clear_the_record) {
  Area nine;
  for (int x = 1; x <= 9; x++) nine.points.push_back(make_z(x, 5)), nine.marks.push_back(0);
  EyeLookup r = look(nine);
  EXPECT_EQ(r.found, 0);
  EXPECT_EQ(r.eye_value, 0);
  Area eight;  // the table holds shapes of up to seven points
  for (int x = 1; x <= 8; x++) eight.points.push_back(make_z(x, 5)), eight.marks.push_back(0);
  EXPECT_EQ(look(eight).found, 0);
  uint32_t twice[2] = {0, 0};
  EXPECT_EQ(find_shape(twice, 2), -1);
}

TEST(EyeDatabaseFile, damaged_or_missing_files_are_reported_and_leave_lookups_empty) {
  random_startup();
  const char* bad = "eye_damaged_test.db";
  FILE* in = fopen(EYE_DB_FILE, "rb");
  ASSERT_NE(in, nullptr);
  std::vector<char> bytes(EYE_FILE_BYTES);
  ASSERT_EQ(fread(bytes.data(), 1, bytes.size(), in), bytes.size());
  fclose(in);
  auto write = [&](size_t n) {
    FILE* out = fopen(bad, "wb");
    fwrite(bytes.data(), 1, n, out);
    fclose(out);
  };
  write(bytes.size() - 1);
  log_clear();
  EXPECT_EQ(load_eye_database(bad), 0);
  EXPECT_NE(log_text().find("Fail load eye-database"), std::string::npos);
  uint32_t one[1] = {0};
  EXPECT_EQ(find_shape(one, 1), -1);
  patch_corner_shapes();  // nothing to patch, and no stop

  bytes[8 + 36] = bytes[8 + 37] = bytes[8 + 38] = bytes[8 + 39] = char(0xFF);  // a base far out
  bytes[8] = bytes[8] ? bytes[8] : 1;
  write(bytes.size());
  EXPECT_EQ(load_eye_database(bad), 0);
  EXPECT_EQ(load_eye_database("no_such_eye_file.db"), 0);
  remove(bad);

  log_clear();
  EXPECT_EQ(load_eye_database(), 1);
  EXPECT_NE(log_text().find("Eye Database from res.. eye_base_num="), std::string::npos);
  EXPECT_GE(find_shape(one, 1), 0);
  ban_size = 19;
  patch_corner_shapes();  // leave the database as start-up would
}

}  // namespace
