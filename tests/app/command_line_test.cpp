// The program run without a display: help, version, bad switches and the
// editor's refusal must all end with a status, never with an abort.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "support/files.h"

namespace {

struct Outcome {
  int status = -1;  // exit status; -1 when the program died of a signal
  std::string out, err;
};

// Runs ranvel with no display in the environment (plus `env`) and stdin empty.
Outcome run_headless(const std::string& args, const std::string& env = "") {
  // ctest runs the tests of this file side by side: each process has its own files.
  const std::string stem = testing::TempDir() + "ranvel_cli_" + std::to_string(getpid());
  const std::string out = stem + "_out", err = stem + "_err";
  std::string cmd = "ulimit -c 0; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + env + " " + std::string(RANVEL_PROGRAM) +
                    " " + args + " </dev/null >" + out + " 2>" + err;
  int raw = std::system(cmd.c_str());
  Outcome r;
  if (WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
  // The shell reports a child killed by a signal as 128 + the signal.
  if (r.status > 128) r.status = -1;
  r.out = read_text(out);
  r.err = read_text(err);
  return r;
}

TEST(CommandLine, HelpAndVersionPrintWithoutDisplay) {
  for (const char* sw : {"--help", "-h"}) {
    Outcome r = run_headless(sw);
    EXPECT_EQ(r.status, 0) << sw << ": " << r.err;
    for (const char* must : {"--mode gtp", "--chinese-rule", "--log-file", "--level", "--gtp-extensions", "--threads",
                             "--playouts", "--time-control", "--convert", "--build-gamedb", "--version", "mm3x3.db",
                             "parent folder"})
      EXPECT_NE(r.out.find(must), std::string::npos) << sw << " does not mention " << must;
    EXPECT_TRUE(r.err.empty()) << r.err;
  }
  Outcome v = run_headless("--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "Ranvel Editor 1.04\n");
  // Help wins over a record named beside it: nothing is opened.
  EXPECT_EQ(run_headless("game.sgf --help").status, 0);
}

TEST(CommandLine, UnknownSwitchIsNamedWithUsageAndStatus2) {
  Outcome r = run_headless("--frobnicate");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("ranvel: unknown switch --frobnicate\n", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("usage:"), std::string::npos);
  EXPECT_TRUE(r.out.empty());
  Outcome level = run_headless("--level x");
  EXPECT_EQ(level.status, 2);
  EXPECT_NE(level.err.find("usage:"), std::string::npos);
}

TEST(CommandLine, EditorWithoutDisplayExitsWithOneLine) {
  Outcome r = run_headless("");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("needs a display"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("--mode gtp"), std::string::npos);
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  // A display that is named but cannot be reached ends the same way, without a core.
  Outcome broken = run_headless("", "DISPLAY=:9999");
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_NE(broken.err.find("--mode gtp"), std::string::npos) << broken.err;
  // The engine itself needs none.
  EXPECT_EQ(run_headless("--mode gtp").status, 0);
}

}  // namespace
