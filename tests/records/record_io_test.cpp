#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "records/record_io.h"

namespace fs = std::filesystem;

namespace {

TEST(RecordIo, ExtensionTable) {
  EXPECT_EQ(choose_reader("a.SGF"), FORMAT_SGF);
  EXPECT_EQ(choose_reader("collection/a.MGT"), FORMAT_SGF);
  EXPECT_EQ(choose_writer("a.mgt"), FORMAT_SGF);
  EXPECT_EQ(choose_reader("dir.x/a.Ugi"), FORMAT_UGF);
  EXPECT_EQ(choose_reader("a.ugf"), FORMAT_UGF);
  EXPECT_EQ(choose_reader("a.ig1"), FORMAT_TEXT);
  EXPECT_EQ(choose_reader("a.ngf"), FORMAT_NGF);
  EXPECT_EQ(choose_reader("a.UGZ"), FORMAT_UGZ);
  EXPECT_EQ(choose_reader("a.txt"), FORMAT_NONE);
  EXPECT_EQ(choose_reader("dir.sgf/noext"), FORMAT_NONE);
  EXPECT_EQ(choose_writer("a.UGF"), FORMAT_UGF);
  EXPECT_EQ(choose_writer("a.sgf"), FORMAT_SGF);
  EXPECT_EQ(choose_writer("a.ugi"), FORMAT_TEXT);
  EXPECT_EQ(choose_writer("a"), FORMAT_TEXT);
}

class Save : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("ranvel_save_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path folder;
};

TEST_F(Save, OversizedRecordFailsAndOldFileStays) {
  std::string path = (folder / "game.sgf").string();
  std::ofstream(path) << "old";
  GameRecord rec;
  rec.reset();
  rec.annotation_at(0).text = std::string(SGF_BUF_SIZE, 'x');
  std::string error;
  EXPECT_FALSE(save_record_file(path, rec, error));
  EXPECT_NE(error.find("too large"), std::string::npos);
  std::string data;
  ASSERT_TRUE(read_whole_file(path, data, error));
  EXPECT_EQ(data, "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(Save, ReplacesAtomicallyAndKeepsMode) {
  std::string path = (folder / "game.ugf").string();
  std::ofstream(path) << "old";
  chmod(path.c_str(), 0640);
  GameRecord rec;
  rec.reset();
  rec.main.append_move(figure_z(4, 4), 1);
  std::string error;
  ASSERT_TRUE(save_record_file(path, rec, error)) << error;
  GameRecord back;
  EXPECT_EQ(load_record_file(path, back, true, error), LOAD_OK);
  EXPECT_EQ(back.main.move_count, 1);
  struct stat st;
  stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST(Load, MissingFileAndUnknownExtensionLeaveRecordAlone) {
  GameRecord rec;
  rec.reset();
  rec.main.append_move(figure_z(1, 1), 1);
  std::string error;
  EXPECT_EQ(load_record_file("/nonexistent/a.sgf", rec, true, error), LOAD_NO_FILE);
  EXPECT_EQ(load_record_file("/etc/hostname", rec, true, error), LOAD_NOT_RECORD);
  EXPECT_EQ(rec.main.move_count, 1);
}

}  // namespace
