// The weak levels 5 and 6 over GTP, as a controller drives them.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "core/think.h"
#include "knowledge/gtp_genmove.h"
#include "mc/patterns.h"
#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

// The vertices of the "= ..." answers, in order.
std::vector<std::string> answers(const std::string& reply) {
  std::vector<std::string> out;
  std::istringstream in(reply);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() >= 2 && line[0] == '=') out.push_back(line.substr(2));
  }
  return out;
}

class WeakLevel : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    engine_setup(5);
    register_genmove_commands();
    if (!patterns_register_levels()) GTEST_SKIP() << "weak255.db not beside the tests";
    ASSERT_TRUE(think_fix_level(GetParam()));
  }
  void TearDown() override { think_fix_level(-1); }
};

// Sending two, returning one: Black throws in two stones at B5 C5 and White
// takes them at A5; Black's retake at B5 (a capture the level favours) would
// bring back the position before the throw-in, which positional super-ko
// forbids. The only other legal point is C5.
TEST_P(WeakLevel, never_answers_a_move_that_repeats_an_earlier_position) {
  const std::string position =
      "boardsize 5\nclear_board\n"
      "play b B5\nplay w D5\n"
      "play b A4\nplay w B4\nplay w C4\nplay w D4\nplay w E4\n"
      "play b A3\nplay b B3\nplay b C3\nplay w D3\n"
      "play b B2\nplay w C2\nplay w D2\nplay w E2\n"
      "play b A1\nplay b B1\nplay w C1\nplay w E1\n"
      "play b C5\nplay w A5\n";
  ASSERT_EQ(send(position).find('?'), std::string::npos);
  std::string asks;
  for (int i = 0; i < 20; i++) asks += "reg_genmove b\n";
  const std::vector<std::string> moves = answers(send(asks));
  ASSERT_EQ(moves.size(), 20u);
  std::set<std::string> distinct(moves.begin(), moves.end());
  EXPECT_EQ(distinct.count("B5"), 0u);
  // Every answer is one the engine itself accepts as Black's move.
  for (const std::string& m : distinct) {
    ASSERT_EQ(send("play b " + m + "\n"), "= \n\n") << m;
    send("undo\n");
  }
  // The retake is refused by play too, so it was a real repetition.
  EXPECT_EQ(send("play b B5\n").substr(0, 1), "?");
}

INSTANTIATE_TEST_SUITE_P(Levels5And6, WeakLevel, ::testing::Values(5, 6));

}  // namespace
