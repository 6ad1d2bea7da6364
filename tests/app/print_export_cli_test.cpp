// ranvel --print and --board-image run as a script would: no display, exit 0
// with the file written, or 1 with one line on stderr and no file at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "support/files.h"

namespace {

struct Outcome {
  int status = -1;
  std::string err;
};

class PrintCli : public testing::Test {
 protected:
  std::string dir;

  void SetUp() override {
    dir = testing::TempDir() + "ranvel_print_" + std::to_string(getpid()) + "_" +
          testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    // Fifteen moves on 9x9 with a capture and a retake of the captured point.
    write("game.sgf",
          "(;GM[1]FF[4]SZ[9]KM[6.5]PB[Kuro]PW[Shiro];B[cc];W[dc];B[gg];W[cb];B[gc];W[bc];B[ge];W[cd];B[ee];W[gd]"
          ";B[ed];W[fd];B[fc];W[cc];B[hd])");
    write("empty.sgf", "(;GM[1]FF[4]SZ[13]AB[dd][jj]AW[dj])");
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

  std::string path(const std::string& name) const { return dir + "/" + name; }
  void write(const std::string& name, const std::string& text) { std::ofstream(path(name)) << text; }
  bool exists(const std::string& name) const {
    struct stat st;
    return ::stat(path(name).c_str(), &st) == 0;
  }

  Outcome run(const std::string& args) {
    const std::string err = path("stderr.txt");
    std::string cmd = "cd '" + dir + "' && ulimit -c 0; env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                      std::string(RANVEL_PROGRAM) + " " + args + " </dev/null >/dev/null 2>" + err;
    int raw = std::system(cmd.c_str());
    Outcome r;
    if (WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    r.err = read_text(err);
    std::remove(err.c_str());
    return r;
  }
};

int pdf_pages(const std::string& pdf) {
  int pages = 0;
  for (size_t i = 0; (i = pdf.find("/Type /Page", i)) != std::string::npos; i++)
    if (pdf.compare(i, 12, "/Type /Pages") != 0) pages++;
  return pages;
}

TEST_F(PrintCli, WritesOnePdfPagePerFigure) {
  Outcome r = run("--print game.sgf whole.pdf");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::string pdf = read_text(path("whole.pdf"));
  EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
  EXPECT_EQ(pdf_pages(pdf), 1);

  r = run("--print game.sgf split.pdf --figure split:4 --two-digit");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(pdf_pages(read_text(path("split.pdf"))), 4);  // 1-4, 5-8, 9-12, 13-15

  // A range past the end is moved into the record rather than dropped.
  r = run("--print game.sgf part.pdf --figure 40-49");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(pdf_pages(read_text(path("part.pdf"))), 1);

  r = run("--print empty.sgf empty.pdf --figure split:100");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(pdf_pages(read_text(path("empty.pdf"))), 1);
}

TEST_F(PrintCli, FailuresSayWhyInOneLineAndWriteNothing) {
  for (const char* args : {"--print game.sgf out.pdf --figure 5-x", "--print missing.sgf out.pdf",
                           "--print game.sgf game.sgf/out.pdf", "--print game.sgf out.pdf --paper A3",
                           "--print game.sgf"}) {
    Outcome r = run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    EXPECT_EQ(r.err.rfind("ranvel: ", 0), 0u) << r.err;
    EXPECT_FALSE(exists("out.pdf")) << args;
  }
  // A failed run leaves an earlier file as it was.
  write("keep.pdf", "earlier");
  EXPECT_EQ(run("--print game.sgf keep.pdf --figure split:x").status, 1);
  EXPECT_EQ(read_text(path("keep.pdf")), "earlier");
}

TEST_F(PrintCli, BoardImageAtTheRequestedMoveAndSize) {
  Outcome r = run("--board-image game.sgf board.png --size 3000 --move 5");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string png = read_text(path("board.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.compare(1, 3, "PNG"), 0);
  auto be32 = [&](size_t at) {
    return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 | (unsigned char)png[at + 2] << 8 |
           (unsigned char)png[at + 3];
  };
  EXPECT_EQ(be32(16), 2000u);  // clamped as the dialog clamps
  EXPECT_EQ(be32(20), 2000u);

  for (const char* args : {"--board-image game.sgf b.png --move 16", "--board-image game.sgf b.bmp",
                           "--board-image game.sgf b.gif", "--board-image game.sgf nowhere/b.png",
                           "--board-image game.sgf b.png --size big"}) {
    r = run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    EXPECT_FALSE(exists("b.png") || exists("b.bmp") || exists("b.gif")) << args;
  }
}

}  // namespace
