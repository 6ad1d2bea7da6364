#include "knowledge/gtp_genmove.h"

#include <gtest/gtest.h>

#include <string>

#include "core/think.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

int cleanup_seen = -1;
int fixed_answer = 0;
int answer(int) {
  cleanup_seen = gtp_cleanup_mode;
  latest_value = 12.34567;
  return fixed_answer;
}

class GtpGenmove : public ::testing::Test {
 protected:
  void SetUp() override {
    register_genmove_commands();
    think_register_level(0, answer);
    ASSERT_TRUE(think_fix_level(0));
    engine_setup(9);
  }
  void TearDown() override {
    think_fix_level(-1);
    think_register_level(0, nullptr);
  }
};

TEST_F(GtpGenmove, GenmovePlaysAndRecordsTheMove) {
  fixed_answer = make_z(3, 3);  // C7 on 9x9
  EXPECT_EQ(send("5 genmove black\n"), "=5 C7\n\n");
  EXPECT_EQ(tesuu, 1);
  EXPECT_EQ(kifu[1].z, make_z(3, 3));
  EXPECT_EQ(gban.ban[make_z(3, 3)], BLACK);
  EXPECT_EQ(cleanup_seen, 0);
  fixed_answer = 0;
  EXPECT_EQ(send("genmove w\n"), "= PASS\n\n");
  EXPECT_EQ(tesuu, 2);
  fixed_answer = -1;
  EXPECT_EQ(send("genmove b\n"), "= resign\n\n");
}

TEST_F(GtpGenmove, RegGenmoveTellsTheMoveAndLeavesTheGame) {
  send("play b e5\n");
  Hash96 before = gban.hash;
  fixed_answer = make_z(4, 4);
  EXPECT_EQ(send("reg_genmove w\n"), "= D6\n\n");
  EXPECT_EQ(send("reg_genmove w\n"), "= D6\n\n");
  EXPECT_EQ(tesuu, 1);
  EXPECT_EQ(gban.hash, before);
  EXPECT_EQ(gban.ban[make_z(4, 4)], EMPTY);
}

TEST_F(GtpGenmove, CleanupModeHoldsOnlyDuringItsThink) {
  fixed_answer = make_z(5, 5);
  EXPECT_EQ(send("kgs-genmove_cleanup b\n"), "= E5\n\n");
  EXPECT_EQ(cleanup_seen, 1);
  EXPECT_EQ(gtp_cleanup_mode, 0);
  EXPECT_EQ(tesuu, 1);
}

TEST_F(GtpGenmove, BadColourAndTheLatestValue) {
  EXPECT_EQ(send("genmove red\n"), "? invalid color\n\n");
  EXPECT_EQ(send("reg_genmove\n"), "? invalid color\n\n");
  EXPECT_EQ(tesuu, 0);
  fixed_answer = make_z(5, 5);
  send("genmove b\n");
  EXPECT_EQ(send("miro-latest_winrate\n"), "= 12.346\n\n");
}

}  // namespace
