#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "records/engine_load.h"
#include "records/record_io.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace fs = std::filesystem;

namespace {

class LoadSgf : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_setup(19);
    gtp_register("loadsgf", gtp_loadsgf);
    file = (fs::temp_directory_path() / ("ranvel_loadsgf_" + std::to_string(getpid()) + ".sgf")).string();
    std::ofstream(file) << "(;SZ[9]RU[Chinese]AB[ee];W[cc];B[dc];W[gg];B[bc];W[cb];B[cd])";
  }
  void TearDown() override { fs::remove(file); }
  std::string file;
};

TEST_F(LoadSgf, WholeGameTakesSizeSetupMovesAndRule) {
  EXPECT_EQ(send("loadsgf " + file + "\n"), "= B\n\n");
  EXPECT_EQ(ban_size, 9);
  EXPECT_EQ(tesuu, 6);
  EXPECT_EQ(gban.ban[make_z(5, 5)], BLACK);
  EXPECT_EQ(gban.ban[make_z(3, 3)], WHITE);
  EXPECT_EQ(fChineseRule, 1);
  EXPECT_EQ(kifu[2].z, make_z(4, 3));
  // A file without RU keeps the rule in effect.
  std::ofstream(file) << "(;SZ[9];B[cc])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(fChineseRule, 1);
  std::ofstream(file) << "(;SZ[9]RU[Japanese];B[cc])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(fChineseRule, 0);
  std::ofstream(file) << "(;SZ[9];B[cc])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(fChineseRule, 0);
}

TEST_F(LoadSgf, KomiComesFromTheRecordWhenItNamesOne) {
  send("komi 0.5\n");
  std::ofstream(file) << "(;SZ[9]KM[7.5];B[cc];W[gg])";
  EXPECT_EQ(send("loadsgf " + file + "\n"), "= B\n\n");
  EXPECT_EQ(send("get_komi\n"), "= 7.5\n\n");
  std::ofstream(file) << "(;SZ[9]KM[-3];B[cc])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(send("get_komi\n"), "= -3.0\n\n");
  // A record without KM leaves the komi the controller set.
  send("komi 5.5\n");
  std::ofstream(file) << "(;SZ[9];B[cc])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(send("get_komi\n"), "= 5.5\n\n");
}

TEST_F(LoadSgf, MoveNumberSetsUpThePositionBeforeIt) {
  EXPECT_EQ(send("7 loadsgf " + file + " 3\n"), "=7 B\n\n");
  EXPECT_EQ(tesuu, 2);
  EXPECT_EQ(gban.ban[make_z(7, 7)], EMPTY);
  EXPECT_EQ(gban.ban[make_z(4, 3)], BLACK);
  send("loadsgf " + file + " 99\n");
  EXPECT_EQ(tesuu, 6);
}

TEST_F(LoadSgf, CapturesReachTheEngineBoard) {
  // White (3,2) is captured by black (4,2)... build an atari and take it.
  std::ofstream(file) << "(;SZ[9];B[bb];W[cb];B[db];W[ee];B[cc];W[ff];B[ca])";
  send("loadsgf " + file + "\n");
  EXPECT_EQ(gban.ban[make_z(3, 2)], EMPTY);
  EXPECT_EQ(gban.captured[BLACK], 1);
}

TEST_F(LoadSgf, UnreadableFileFailsAndLeavesTheGame) {
  send("boardsize 13\nplay b d4\n");
  EXPECT_EQ(send("loadsgf /nonexistent/x.sgf\n"), "? cannot load file\n\n");
  EXPECT_EQ(send("loadsgf\n"), "? missing filename\n\n");
  std::ofstream(file) << "";
  EXPECT_EQ(send("loadsgf " + file + "\n"), "? cannot load file\n\n");
  EXPECT_EQ(ban_size, 13);
  EXPECT_EQ(tesuu, 1);
}

}  // namespace
