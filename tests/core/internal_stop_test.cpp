#include <gtest/gtest.h>

#include <filesystem>

#include "core/internal_stop.h"
#include "support/engine_setup.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

TEST(InternalStop, OccupiedPointStopsWithCodeOneAndKeepsTheGame) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  fs::path dir = fs::temp_directory_path() / "ranvel_stop_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  engine_setup(9);
  log_set_folder(dir.string() + "/");
  set_kifu_time(make_z(3, 3), BLACK, 0);
  set_kifu_time(make_z(7, 7), WHITE, 0);
  EXPECT_EXIT(put_stone(gban, make_z(3, 3), WHITE), ::testing::ExitedWithCode(1), "内部エラーで停止しました");
  std::string sgf = read_text(dir / "internal_error.sgf");
  EXPECT_NE(sgf.find("SZ[9]"), std::string::npos);
  EXPECT_NE(sgf.find(";B[cc];W[gg]"), std::string::npos) << sgf;
  std::string log = read_text(dir / "internal_error.log");
  EXPECT_NE(log.find("既に石がある! z=0303"), std::string::npos);
  EXPECT_NE(log.find("debug!!!"), std::string::npos);
  log_set_folder("");
  fs::remove_all(dir);
}

TEST(InternalStop, RequestedPositionTableSizeMustBeAPowerOfTwo) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  engine_setup(9);
  fs::path dir = fs::temp_directory_path() / "ranvel_stop_test2";
  fs::create_directories(dir);
  log_set_folder(dir.string() + "/");
  EXPECT_EXIT(
      {
        position_tables.hash_mb = 0;
        hash_tables_init();
      },
      ::testing::ExitedWithCode(1), "");
  log_set_folder("");
  fs::remove_all(dir);
}

}  // namespace
