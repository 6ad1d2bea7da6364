#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "records/lzh_archive.h"
#include "records/record_io.h"
#include "records/ugz_import.h"

namespace fs = std::filesystem;

namespace {

std::string data_file(const char* name) { return std::string(RECORDS_TEST_DATA) + "/" + name; }

class Ugz : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("ranvel_ugz_" + std::to_string(getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::set<std::string> files() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.insert(e.path().filename().string());
    return out;
  }
  std::string contents(const std::string& name) const {
    std::string data, error;
    read_whole_file((folder / name).string(), data, error);
    return data;
  }

  fs::path folder;
};

TEST_F(Ugz, EveryMethodAndHeaderLevelDecodes) {
  for (const char* name : {"lh5_l2.ugz", "lh6_l1.ugz", "lh7_l0.ugz"}) {
    std::string archive, error;
    ASSERT_TRUE(read_whole_file(data_file(name), archive, error)) << name;
    std::vector<LzhMember> members = read_lzh_members(std::string_view(archive).substr(4));
    ASSERT_GE(members.size(), 2u) << name;
    for (const LzhMember& m : members) {
      EXPECT_TRUE(m.ok) << name << " " << m.name << " " << m.error;
      EXPECT_EQ(m.data.size(), m.original);
      EXPECT_EQ(m.data.rfind("[Header]", 0), 0u);
    }
  }
}

TEST_F(Ugz, DuplicateMemberIsDroppedAndSecondImportFindsAllPresent) {
  ImportReport r = import_ugz(data_file("lh5_l2.ugz"), folder.string());
  EXPECT_EQ(r.total, 4);
  EXPECT_EQ(r.extracted, 3);
  EXPECT_EQ(r.same, 1);
  EXPECT_EQ(r.entries[2].extracted, 0);
  EXPECT_EQ(r.text, "4個の棋譜のうち\n1個の棋譜は既に存在します。\n残りの3個の棋譜のみを取得しました。");
  std::set<std::string> kept = files();
  EXPECT_EQ(kept.size(), 3u);
  // The stored names carry today's date: 13Apr11_1.ugf for 11 April 2013.
  time_t now = time(nullptr);
  struct tm t;
  localtime_r(&now, &t);
  char date[16];
  strftime(date, sizeof date, "%y%b%d", &t);
  for (int n = 1; n <= 3; n++) EXPECT_TRUE(kept.count(std::string(date) + "_" + std::to_string(n) + ".ugf"));
  // Each kept file reads as a record.
  GameRecord rec;
  std::string error;
  EXPECT_EQ(load_record_file((folder / *kept.begin()).string(), rec, true, error), LOAD_OK);
  EXPECT_EQ(rec.main.move_count, 3);

  ImportReport again = import_ugz(data_file("lh5_l2.ugz"), folder.string());
  EXPECT_EQ(again.total, 4);
  EXPECT_EQ(again.extracted, 0);
  EXPECT_EQ(again.text, "4個の棋譜を取得しようとしましたが\n既に同一の棋譜がすべて存在しました。\n新規の取得は行いません。");
  EXPECT_EQ(files(), kept);  // no temporary file left behind
}

TEST_F(Ugz, CorruptedMemberIsNotImported) {
  ImportReport r = import_ugz(data_file("lh0_bad.ugz"), folder.string());
  EXPECT_EQ(r.total, 3);
  EXPECT_EQ(r.extracted, 2);
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.entries[1].error, "CRC error");
  EXPECT_EQ(files().size(), 2u);
  for (const std::string& f : files()) EXPECT_EQ(contents(f).find("player9"), std::string::npos);
}

TEST_F(Ugz, PrefixIsSkippedOnlyForUgzNamesAndJunkGivesFailureReport) {
  // The same archive without its 4 bytes, named .lzh, reads from the start.
  std::string archive, error;
  ASSERT_TRUE(read_whole_file(data_file("lh6_l1.ugz"), archive, error));
  fs::path lzh = folder / "plain.lzh";
  std::ofstream(lzh, std::ios::binary) << archive.substr(4);
  fs::create_directories(folder / "out");
  ImportReport r = import_ugz(lzh.string(), (folder / "out").string());
  EXPECT_EQ(r.extracted, 2);
  EXPECT_EQ(r.text, "2個の棋譜を取得しました。");

  fs::path junk = folder / "junk.ugz";
  std::ofstream(junk, std::ios::binary) << "ABCDthis is no archive at all";
  ImportReport bad = import_ugz(junk.string(), (folder / "out").string());
  EXPECT_EQ(bad.total, 0);
  EXPECT_FALSE(bad.readable);
  EXPECT_EQ(bad.text, "棋譜の展開に失敗しました。");
  ImportReport missing = import_ugz((folder / "none.ugz").string(), folder.string());
  EXPECT_EQ(missing.text, "棋譜の展開に失敗しました。");
}

}  // namespace
