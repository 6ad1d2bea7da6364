#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/folders.h"
#include "core/startup.h"
#include "support/engine_setup.h"

namespace {

TEST(Random, ParkMillerSelfTestValue) {
  rand_set_seed(1);
  for (int i = 0; i < 10000; i++) rand_next();
  EXPECT_EQ(rand_get_seed(), RAND_SELFTEST_VALUE);
}

TEST(Random, ProbeOffsetsArePermutationOf1To2047) {
  engine_setup();
  std::vector<int> sorted(probe_offset, probe_offset + PROBE_NUM);
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < PROBE_NUM; i++) ASSERT_EQ(sorted[i], i + 1);
}

TEST(Random, StartupIsDeterministic) {
  engine_setup();
  Hash96 first = hash_key96[0x0101][1];
  int offset = probe_offset[0];
  random_startup();
  EXPECT_TRUE(hash_key96[0x0101][1] == first);
  EXPECT_EQ(probe_offset[0], offset);
  EXPECT_FALSE(hash_key96[0x0101][1] == hash_key96[0x0101][2]);
}

int count_lines_containing(const std::string& needle) {
  int n = 0;
  for (const std::string& line : log_lines()) n += line.find(needle) != std::string::npos;
  return n;
}

TEST(PositionTables, BuiltInFiguresGiveTwoSizesAndOneOverAllocationLine) {
  engine_setup();
  position_tables = PositionTables{};
  log_clear();
  hash_tables_init();
  hash_tables_init();
  EXPECT_EQ(position_tables.size_a, 32768u);
  EXPECT_EQ(position_tables.size_b, 262144u);
  EXPECT_EQ(count_lines_containing("確保しすぎ！"), 1);
}

Hash96 fake_hash(uint32_t a, uint32_t b) { return Hash96{{a, b, a ^ b}}; }

TEST(PositionTables, TableAKeepsDeeperEntryAndFailsWhenProbesAreFull) {
  engine_setup();
  hash_tables_init();
  Hash96 h = fake_hash(5, 9);
  hash_a_store(h, 100, 4, 7);
  hash_a_store(h, 200, 2, 0);  // shallower: ignored
  PositionLookup got = hash_a_lookup(h);
  EXPECT_EQ(got.kind, KIND_A_USED);
  EXPECT_EQ(got.value, 100);
  EXPECT_EQ(got.value2, 7);
  hash_a_store(h, 300, 4, 0);
  EXPECT_EQ(hash_a_lookup(h).value, 300);
  // Four positions on one first word: the fourth finds its probes full.
  int failed = position_tables.failed_a;
  for (uint32_t k = 1; k <= 4; k++) hash_a_store(fake_hash(1234, 9 + k), 1, 1, 0);
  EXPECT_EQ(position_tables.failed_a, failed + 1);
  EXPECT_EQ(hash_a_lookup(fake_hash(1234, 13)).kind, 0);
  EXPECT_EQ(hash_a_lookup(fake_hash(1234, 12)).kind, KIND_A_USED);
  EXPECT_EQ(hash_a_lookup(fake_hash(6, 9)).kind, 0);
}

TEST(PositionTables, TableBReplacesSmallestReplacementWord) {
  engine_setup();
  hash_tables_init();
  for (uint32_t k = 0; k < 3; k++) hash_b_store(fake_hash(k, 77), int(k), 1, 0, 10 + k);
  hash_b_store(fake_hash(9, 77), 9, 1, 0, 50);
  EXPECT_EQ(hash_b_lookup(fake_hash(0, 77)).kind, 0) << "smallest replacement word goes";
  EXPECT_EQ(hash_b_lookup(fake_hash(9, 77)).value, 9);
  const PositionEntry* kept = hash_b_store(fake_hash(1, 77), 5, 0, 0, 0);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->value, 1) << "a deeper stored entry is returned unchanged";
}

TEST(Log, LinesWrapAtHundredColumnsAndKeepTheLast400) {
  log_clear();
  PRT("%s\n", std::string(250, 'x').c_str());
  std::vector<std::string> lines = log_lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 100u);
  EXPECT_EQ(lines[2].size(), 50u);
  for (int i = 0; i < 500; i++) PRT("line %d\n", i);
  lines = log_lines();
  EXPECT_EQ(int(lines.size()), LOG_KEEP_LINES);
  EXPECT_EQ(lines[lines.size() - 2], "line 499");
}

TEST(Log, LongTextIsCutAtTheFormattingBuffer) {
  log_clear();
  PRT("%s", std::string(10000, 'y').c_str());
  size_t total = 0;
  for (const std::string& line : log_lines()) total += line.size();
  EXPECT_EQ(total, size_t(PRT_BUF_SIZE - 1));
}

CommandLine parse(std::vector<std::string> args) {
  std::vector<char*> argv;
  args.insert(args.begin(), "ranvel");
  for (std::string& a : args) argv.push_back(a.data());
  return parse_command_line(int(argv.size()), argv.data());
}

TEST(CommandLine, SwitchesAndRecordPath) {
  CommandLine both = parse({"--mode", "gtp", "--chinese-rule"});
  EXPECT_TRUE(both.gtp_mode);
  EXPECT_TRUE(both.chinese_rule);
  EXPECT_TRUE(both.cDragFile.empty());
  EXPECT_EQ(parse({"\"my game.sgf\""}).cDragFile, "my game.sgf");
  EXPECT_EQ(parse({"game.ugf"}).cDragFile, "game.ugf");
  EXPECT_EQ(parse({"--level", "1"}).level, 1);
  EXPECT_FALSE(parse({"--level", "x"}).error.empty());
  EXPECT_TRUE(parse({"--log-file"}).log_to_file);
}

TEST(Folders, ProgramFolderIsCutAtReleaseOrDebug) {
  EXPECT_EQ(program_folder("/opt/ranvel/Release/ranvel"), "/opt/ranvel/");
  EXPECT_EQ(program_folder("/opt/ranvel/Debug/ranvel"), "/opt/ranvel/");
  EXPECT_EQ(program_folder("/opt/ranvel/bin/ranvel"), "/opt/ranvel/bin/");
}

TEST(Folders, DataFileFallsBackToParentAndWalkListsMatches) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / "ranvel_folders_test";
  fs::remove_all(root);
  fs::create_directories(root / "sub");
  std::ofstream(root / "book.db") << "x";
  std::ofstream(root / "sub" / "a.ugf") << "1";
  std::ofstream(root / "sub" / "b.UGF") << "2";
  std::ofstream(root / "sub" / "c.sgf") << "3";
  fs::path saved = fs::current_path();
  ASSERT_EQ(change_folder((root / "sub").c_str()), 1);
  FILE* fp = open_data_file("book.db");
  EXPECT_NE(fp, nullptr);
  if (fp) fclose(fp);
  EXPECT_EQ(open_data_file("missing.db"), nullptr);
  std::vector<std::string> names;
  std::string name;
  while (next_file_in_folder("*.ugf", name)) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"a.ugf", "b.UGF"}));
  log_clear();
  EXPECT_FALSE(next_file_in_folder("*.xyz", name));
  EXPECT_EQ(count_lines_containing("*.xyz"), 1);
  back_to_folder();
  EXPECT_EQ(fs::current_path(), saved);
  EXPECT_EQ(change_folder((root / "nowhere").c_str()), 0);
  fs::remove_all(root);
}

}  // namespace
