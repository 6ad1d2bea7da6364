#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "knowledge/gtp_scoring.h"
#include "position_setup.h"
#include "support/gtp_session.h"

namespace {

class GtpScoring : public ::testing::Test {
 protected:
  void SetUp() override {
    load_eyes();
    register_scoring_commands(true);
    set_dead_stone_position();
    komi = 6.5;
  }
};

TEST_F(GtpScoring, final_score_is_the_result_after_komi) {
  EXPECT_EQ(send("final_score\n"), "= W+12.5\n\n");
  EXPECT_EQ(send("komi 0\nfinal_score\n"), "= \n\n= W+6.0\n\n");
  EXPECT_EQ(send("komi -6\n3 final_score\n"), "= \n\n=3 0\n\n") << "an exact tie";
  EXPECT_EQ(send("komi -10.5\nfinal_score\n"), "= \n\n= B+4.5\n\n");
  fChineseRule = 1;
  EXPECT_EQ(send("komi 0\nfinal_score\n"), "= \n\n= W+7.0\n\n") << "area: 21 against 28";
  fChineseRule = 0;
}

TEST_F(GtpScoring, final_status_of_stones_and_points) {
  EXPECT_EQ(send("final_status B6\n"), "= dead\n\n");
  EXPECT_EQ(send("final_status c7\n"), "= alive\n\n");
  EXPECT_EQ(send("final_status A1\n"), "= black_territory\n\n");
  EXPECT_EQ(send("final_status G7\n"), "= white_territory\n\n");
  EXPECT_EQ(send("final_status H7\n"), "? invalid coordinate\n\n") << "outside a 7x7 board";
  EXPECT_EQ(send("final_status\n"), "? invalid coordinate\n\n");
}

TEST_F(GtpScoring, final_status_list_rows_and_failures) {
  EXPECT_EQ(send("final_status_list dead\n"), "= B6\n\n");
  EXPECT_EQ(send("4 final_status_list dead\n"), "=4 B6\n\n");
  EXPECT_EQ(send("final_status_list seki\n"), "= \n\n");
  EXPECT_EQ(send("final_status_list dame\n"), "= \n\n");
  EXPECT_EQ(send("final_status_list alive\n"),
            "= C7 D7\nC6 D6\nC5 D5\nC4 D4\nC3 D3\nC2 D2\nC1 D1\n\n");
  std::string black = send("final_status_list black_territory\n");
  EXPECT_EQ(black.substr(0, 17), "= A7 B7\nA6\nA5 B5\n");
  EXPECT_EQ(send("final_status_list\n"), "? missing status\n\n");
  EXPECT_EQ(send("final_status_list Dead\n"), "? invalid status\n\n") << "status words are exact";
  EXPECT_EQ(send("final_status_list territory\n"), "? invalid status\n\n");
}

TEST_F(GtpScoring, extension_commands_show_the_judgement) {
  EXPECT_EQ(send("dragon_status B6\n"), "= dead\n\n");
  EXPECT_EQ(send("dragon_status C1\n"), "= alive\n\n");
  EXPECT_EQ(send("dragon_status A1\n"), "? vertex must not be empty\n\n");
  std::string rows = send("eval_territory\n");
  EXPECT_EQ(rows.substr(0, 30), "= 100 100 100 -100 -100 -100 -");
  int lines = 0;
  for (char c : rows) lines += c == '\n';
  EXPECT_EQ(lines, 7 + 1);
}

}  // namespace
