#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/gtp.h"
#include "knowledge/reading.h"
#include "knowledge/reading_gtp.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

class ReadingGtp : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_setup(9);
    reading_table_clear();
    reading_gtp_register();
  }
};

TEST_F(ReadingGtp, attack_and_defend_answer_with_the_move) {
  // White E5 with black D5, E6 and G5: black wins the ladder from E4.
  send("play b D5\nplay w E5\nplay b E6\nplay b G5\n");
  EXPECT_EQ(send("attack E5\n"), "= 1 E4\n\n");
  EXPECT_EQ(send("defend E5\n"), "= 1 E4\n\n");
  // In atari with no way out.
  send("play b E4\n");
  EXPECT_EQ(send("attack E5\n"), "= 1 F5\n\n");
  EXPECT_EQ(send("defend E5\n"), "= 0\n\n");
  // A lone stone in the open is in no danger.
  EXPECT_EQ(send("attack D5\n"), "= 0\n\n");
  EXPECT_EQ(send("defend D5\n"), "= 1 PASS\n\n");
}

TEST_F(ReadingGtp, empty_or_bad_vertices_are_refused) {
  EXPECT_EQ(send("attack C3\n"), "? vertex must not be empty\n\n");
  EXPECT_EQ(send("defend Z99\n"), "? invalid coordinate\n\n");
  EXPECT_EQ(send("attack\n"), "? invalid coordinate\n\n");
}

}  // namespace
