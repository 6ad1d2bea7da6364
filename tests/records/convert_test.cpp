#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "records/convert.h"
#include "records/record_io.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

class Convert : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("ranvel_convert_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  int run(const std::string& src, const std::string& dst) {
    std::vector<std::string> args = {"ranvel", "--convert", src, dst};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return convert_main((int)argv.size(), argv.data());
  }
  std::string path(const char* name) const { return (folder / name).string(); }
  fs::path folder;
};

TEST_F(Convert, SgfToUgfAndBack) {
  std::ofstream(path("a.sgf")) << "(;SZ[9]PB[x];B[cc]C[hi];W[gg])";
  EXPECT_EQ(run(path("a.sgf"), path("b.ugf")), 0);
  EXPECT_EQ(run(path("b.ugf"), path("c.sgf")), 0);
  GameRecord rec;
  std::string error;
  ASSERT_EQ(load_record_file(path("c.sgf"), rec, true, error), LOAD_OK);
  EXPECT_EQ(rec.main.move_count, 2);
  EXPECT_EQ(rec.main.info.black[0], "x");
  ASSERT_EQ(rec.figures.size(), 1u);
  EXPECT_EQ(rec.figures[0].text.substr(0, 2), "hi");  // UGF text lines end with a line feed
}

TEST_F(Convert, UgfWithReviewSectionAndMgtConvert) {
  std::ofstream(path("review.ugf")) << "[Header]\r\nSize=9\r\n[Data]\r\nCC,B1,1,0\r\nGG,W1,2,0\r\n"
                                       "[ReviewNode]\r\nNODE,1,0,0,0\r\n";
  ASSERT_EQ(run(path("review.ugf"), path("out.mgt")), 0);
  std::string text = read_text(path("out.mgt"));
  EXPECT_EQ(text.rfind("(;GM[1]SZ[9]", 0), 0u) << text;
  GameRecord rec;
  std::string error;
  ASSERT_EQ(load_record_file(path("out.mgt"), rec, true, error), LOAD_OK);
  EXPECT_EQ(rec.main.move_count, 2);
}

TEST_F(Convert, FailuresWriteNothing) {
  std::ofstream(path("bad.sgf")) << "(;SZ[9];B[cc];W[g";
  std::ofstream(path("x.txt")) << "(;B[aa])";
  EXPECT_NE(run(path("bad.sgf"), path("out.ugf")), 0);
  EXPECT_NE(run(path("x.txt"), path("out.ugf")), 0);
  EXPECT_NE(run(path("missing.sgf"), path("out.ugf")), 0);
  std::ofstream(path("ok.sgf")) << "(;B[aa])";
  EXPECT_NE(run(path("ok.sgf"), path("no/such/dir/out.ugf")), 0);
  EXPECT_FALSE(fs::exists(path("out.ugf")));
}

TEST_F(Convert, ArchiveIntoFolder) {
  std::string archive = std::string(RECORDS_TEST_DATA) + "/lh6_l1.ugz";
  EXPECT_EQ(run(archive, folder.string()), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  EXPECT_NE(run(std::string(RECORDS_TEST_DATA) + "/lh0_bad.ugz", folder.string()), 0);
  EXPECT_NE(run(archive, path("not_a_folder")), 0);
}

}  // namespace
