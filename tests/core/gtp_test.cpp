#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>

#include "support/engine_setup.h"
#include "support/gtp_session.h"

namespace {

class Gtp : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_setup(19);
    komi = 6.5;
  }
};

TEST_F(Gtp, FramingWithAndWithoutIds) {
  EXPECT_EQ(send("protocol_version\n"), "= 2\n\n");
  EXPECT_EQ(send("7 name\n"), "=7 Miro\n\n");
  EXPECT_EQ(send("version\n"), "=  Editor 1.04\n\n");
  EXPECT_EQ(send("3 clear_board\n"), "=3 \n\n");
  EXPECT_EQ(send("frobnicate\n"), "? unknown command\n\n");
  EXPECT_EQ(send("12 frobnicate\n"), "?12 unknown command\n\n");
  EXPECT_EQ(send("\n# comment\n   \nname # trailing\n"), "= Miro\n\n");
  EXPECT_EQ(send("name\r\n"), "= Miro\n\n");
  EXPECT_EQ(send("quit\nname\n"), "= \n\n") << "nothing is read after quit";
  EXPECT_EQ(send("name"), "= Miro\n\n") << "a last line without newline";
}

TEST_F(Gtp, KnownAndListedCommandsAreCaseSensitive) {
  EXPECT_EQ(send("known_command play\n"), "= true\n\n");
  EXPECT_EQ(send("known_command PLAY\n"), "= false\n\n");
  EXPECT_EQ(send("known_command\n"), "= false\n\n");
  EXPECT_EQ(send("PLAY b c3\n"), "? unknown command\n\n");
  std::string list = send("list_commands\n");
  EXPECT_EQ(list.rfind("= protocol_version\nname\nversion\n", 0), 0u);
  EXPECT_EQ(list.substr(list.size() - 2), "\n\n");
  // Standard commands keep their table order around those not yet present.
  EXPECT_LT(list.find("\nplay\n"), list.find("\nundo\n"));
  EXPECT_LT(list.find("\ntime_settings\n"), list.find("\nset_free_handicap\n"));
}

TEST_F(Gtp, BoardsizeAndKomi) {
  EXPECT_EQ(send("boardsize 4\n"), "? unacceptable size\n\n");
  EXPECT_EQ(send("boardsize 20\n"), "? unacceptable size\n\n");
  EXPECT_EQ(send("boardsize nine\n"), "? boardsize not an integer\n\n");
  EXPECT_EQ(ban_size, 19);
  EXPECT_EQ(send("boardsize 9\n"), "= \n\n");
  EXPECT_EQ(ban_size, 9);
  EXPECT_EQ(send("komi x\n"), "? komi not a float\n\n");
  EXPECT_EQ(send("komi 0.5\nget_komi\n"), "= \n\n= 0.5\n\n");
}

TEST_F(Gtp, PlayParsesColoursVerticesAndPasses) {
  EXPECT_EQ(send("play B J1\n"), "= \n\n");
  EXPECT_EQ(gban.ban[make_z(9, 19)], BLACK) << "J is the ninth column";
  EXPECT_EQ(send("play white i5\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play w T19\n"), "= \n\n");
  EXPECT_EQ(gban.ban[make_z(19, 1)], WHITE);
  EXPECT_EQ(send("play red c3\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play b u3\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play b c0\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play b c20\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play b\n"), "? invalid color or coordinate\n\n");
  EXPECT_EQ(send("play b PASS\nplay w Resign\n"), "= \n\n= \n\n");
  EXPECT_EQ(tesuu, 4);
  EXPECT_EQ(kifu[4].z, 0);
}

TEST_F(Gtp, IllegalMovesLeaveTheGameUnchanged) {
  send("boardsize 9\nplay b c3\n");
  Hash96 h = gban.hash;
  EXPECT_EQ(send("play w c3\n"), "? illegal move\n\n");
  // Suicide in the corner.
  send("play b a2\nplay w e5\nplay b b1\n");
  h = gban.hash;
  int moves = tesuu;
  EXPECT_EQ(send("play w a1\n"), "? illegal move\n\n");
  EXPECT_TRUE(gban.hash == h);
  EXPECT_EQ(tesuu, moves);
  // Ko: black takes, white may not retake at once.
  send("clear_board\nplay b d5\nplay w e5\nplay b c4\nplay w f4\nplay b d3\nplay w e3\nplay b e4\nplay w d4\n");
  EXPECT_EQ(gban.ban[make_z(5, 6)], EMPTY) << "white captured e4";
  EXPECT_EQ(send("play b e4\n"), "? illegal move\n\n");
  EXPECT_EQ(send("play b j9\nplay w j1\nplay b e4\n"), "= \n\n= \n\n= \n\n");
  // The taker moving again (a record with a pass left out) may fill the ko.
  send("clear_board\nplay b d5\nplay w e5\nplay b c4\nplay w f4\nplay b d3\nplay w e3\nplay b e4\nplay w d4\n");
  EXPECT_EQ(send("play w e4\n"), "= \n\n");
  EXPECT_EQ(gban.ban[make_z(5, 6)], WHITE);
}

TEST_F(Gtp, UndoReplaysTheRecordMinusItsLastMove) {
  send("boardsize 9\nplay b c3\nplay w d4\n");
  EXPECT_EQ(send("undo\n"), "= \n\n");
  EXPECT_EQ(tesuu, 1);
  EXPECT_EQ(gban.ban[make_z(4, 6)], EMPTY);
  EXPECT_EQ(gban.ban[make_z(3, 7)], BLACK);
  EXPECT_EQ(send("undo\nundo\n"), "= \n\n= \n\n");
  EXPECT_EQ(tesuu, 0);
}

TEST_F(Gtp, TimeCommandsCheckTheirArguments) {
  EXPECT_EQ(send("time_left b 30 0\n"), "= \n\n");
  EXPECT_EQ(send("time_left x 30 0\n"), "? invalid color\n\n");
  EXPECT_EQ(send("time_left w 30\n"), "? time and stones not two integers\n\n");
  EXPECT_EQ(send("time_settings 300 30 5\n"), "= \n\n");
  EXPECT_EQ(send("time_settings 300 30\n"), "? not three integers\n\n");
}

TEST_F(Gtp, FreeHandicap) {
  send("boardsize 9\n");
  EXPECT_EQ(send("place_free_handicap 10\n"), "? too many handicap\n\n");
  EXPECT_EQ(send("place_free_handicap 1\n"), "? invalid handicap\n\n");
  EXPECT_EQ(send("place_free_handicap x\n"), "? handicap not an integer\n\n");
  EXPECT_EQ(send("place_free_handicap 4\n"), "= C7 G7 C3 G3\n\n");
  EXPECT_EQ(send("place_free_handicap 10\n"), "? board not empty\n\n");
  send("clear_board\n");
  EXPECT_EQ(send("set_free_handicap c3 g7 e5\n"), "= \n\n");
  EXPECT_EQ(handicap_stones, 3);
  EXPECT_EQ(tesuu, 0);
  EXPECT_EQ(send("set_free_handicap c3 c3\n"), "? repeated vertex\n\n");
  EXPECT_EQ(gban.ban[make_z(3, 7)], EMPTY) << "a failure leaves an empty board";
  EXPECT_EQ(send("set_free_handicap c3 zz\n"), "? invalid coordinate\n\n");
  EXPECT_EQ(send("set_free_handicap c3\n"), "? invalid handicap\n\n");
  EXPECT_EQ(gban.ban[make_z(3, 7)], EMPTY);
}

// Random command lines from the protocol's vocabulary with random, often
// malformed arguments: nothing a controller sends may stop the engine, and
// the board must stay consistent with the record.
TEST(GtpRobustness, RandomCommandLinesNeverStopTheEngine) {
  engine_setup(19);
  const char* words[] = {"play", "boardsize", "clear_board", "komi", "undo", "set_free_handicap",
                         "place_free_handicap", "time_left", "known_command", "get_komi", "list_commands"};
  const char* args[] = {"b", "w", "black", "WHITE", "pass", "resign", "a1", "t19", "j10", "z99", "i3", "-5",
                        "5", "9", "19", "0", "2", "7.5", "x", "", "\x01", "c3 c3", "e5 f6", "99999999999"};
  std::mt19937 rng(11);
  std::string script;
  for (int i = 0; i < 4000; i++) {
    std::string line = words[rng() % std::size(words)];
    int n = int(rng() % 4);
    for (int k = 0; k < n; k++) line += std::string(" ") + args[rng() % std::size(args)];
    if (rng() % 50 == 0) line = std::to_string(rng() % 100) + " " + line;
    script += line + "\n";
  }
  std::string out = send(script);
  EXPECT_FALSE(out.empty());
  // The record replays to the same board.
  Hash96 h = gban.hash;
  replay_kifu(tesuu);
  EXPECT_TRUE(gban.hash == h);
}

}  // namespace
