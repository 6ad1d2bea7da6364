// The tactical problem set in tests/data/reading: one SGF collection per theme,
// each problem a position with a marked string, the question (capture or save)
// and every correct move, checked with GNU Go's deep reading when it was made
// (tools/reading_problems/reading_gnugo.py). Scores by theme may rise but never fall
// below the floors, and both boards must give the same answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/random.h"
#include "knowledge/reading.h"

namespace {

namespace fs = std::filesystem;

struct Problem {
  std::string name, theme, question;
  int size = 19;
  std::vector<std::pair<int, int>> black, white, answers;  // (column, row) from 1
  std::pair<int, int> target{0, 0};
};

std::vector<std::pair<int, int>> points(const std::string& node, const std::string& prop) {
  std::vector<std::pair<int, int>> out;
  size_t at = node.find(prop + "[");
  if (at == std::string::npos) return out;
  at += prop.size();
  while (at < node.size() && node[at] == '[') {
    if (at + 3 < node.size() && node[at + 3] == ']') out.push_back({node[at + 1] - 'a' + 1, node[at + 2] - 'a' + 1});
    at = node.find(']', at) + 1;
  }
  return out;
}

std::string text(const std::string& node, const std::string& prop) {
  size_t at = node.find(prop + "[");
  if (at == std::string::npos) return "";
  at += prop.size() + 1;
  return node.substr(at, node.find(']', at) - at);
}

std::vector<Problem> load_problems() {
  fs::path dir = fs::path(__FILE__).parent_path().parent_path() / "data" / "reading";
  std::vector<Problem> all;
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& e : fs::directory_iterator(dir, error))
    if (e.path().extension() == ".sgf") files.push_back(e.path());
  EXPECT_FALSE(error) << dir << ": " << error.message();
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("(;", 0) != 0) continue;
      Problem p;
      p.name = text(line, "GN");
      p.theme = text(line, "XT");
      p.question = text(line, "XQ");
      p.size = std::stoi(text(line, "SZ"));
      // property names are matched with their bracket: "AB[" cannot match "XAB["
      p.black = points(line, "]AB");
      p.white = points(line, "]AW");
      p.answers = points(line, "XA");
      auto t = points(line, "TR");
      if (!t.empty()) p.target = t[0];
      all.push_back(p);
    }
  }
  return all;
}

// What one board answers: the reading's verdict and its move (point code).
struct Answer {
  int verdict = 0, move = 0;
  bool operator==(const Answer&) const = default;
};

template <int S>
int pt(std::pair<int, int> xy) {
  int z = make_z(xy.first, xy.second);
  return S == 256 ? z : zc_from_z(z);
}

template <int S>
Answer solve(const Problem& p) {
  auto b = std::make_unique<Board<S>>();
  board_reset(*b, p.size);
  for (auto xy : p.black) EXPECT_EQ(put_stone(*b, pt<S>(xy), BLACK), PUT_OK) << p.name;
  for (auto xy : p.white) EXPECT_EQ(put_stone(*b, pt<S>(xy), WHITE), PUT_OK) << p.name;
  b->fukasa = 0;
  reading_table_clear();
  ReadingState& rs = reading_state(0);
  rs.max_depth = READ_DEPTH_MAX;
  int z = pt<S>(p.target);
  Answer a;
  a.verdict = kill_string(*b, z, rs);
  a.move = a.verdict == READ_DEAD ? reading_move(*b, rs) : 0;
  if (p.question == "defend" && a.verdict == READ_DEAD) {
    a.verdict = save_string(*b, z, a.move, rs) == READ_LIVE ? READ_LIVE : READ_DEAD;
    a.move = a.verdict == READ_LIVE ? reading_move(*b, rs) : 0;
  } else if (p.question == "defend") {
    a.verdict = 0;  // "1 PASS": the string was judged safe, wrongly
  }
  EXPECT_EQ(b->fukasa, 0) << p.name;
  if (a.move) a.move = to_point_code<S>(a.move);
  return a;
}

bool solved(const Problem& p, const Answer& a) {
  if (p.theme == "safe") return a.verdict == READ_LIVE;
  int want = p.question == "attack" ? READ_DEAD : READ_LIVE;
  if (a.verdict != want) return false;
  return std::any_of(p.answers.begin(), p.answers.end(),
                     [&](auto xy) { return make_z(xy.first, xy.second) == a.move; });
}

// The least each theme must keep solving (of how many it holds).
const std::map<std::string, int> FLOOR = {
    {"atari", 14},        {"defend", 16}, {"defend_capture", 10}, {"edge", 28},     {"ladder", 28},
    {"loose_ladder", 15}, {"net", 13},    {"safe", 22},           {"snapback", 16}, {"throw_in", 9},
};

class ReadingProblems : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    random_startup();
    make_hashboard64();
  }
};

TEST_F(ReadingProblems, set_is_large_and_every_problem_is_well_formed) {
  auto problems = load_problems();
  EXPECT_GE(problems.size(), 150u);
  for (const auto& p : problems) {
    EXPECT_TRUE(p.question == "attack" || p.question == "defend") << p.name;
    EXPECT_TRUE(FLOOR.count(p.theme)) << p.name << " has an unknown theme " << p.theme;
    EXPECT_NE(p.target.first, 0) << p.name;
    EXPECT_EQ(p.answers.empty(), p.theme == "safe") << p.name;
  }
}

TEST_F(ReadingProblems, no_theme_loses_ground_and_both_boards_agree) {
  std::map<std::string, std::pair<int, int>> score;  // theme: solved, held
  std::map<std::string, std::string> missed;
  for (const auto& p : load_problems()) {
    Answer global = solve<256>(p), compact = solve<32>(p);
    EXPECT_EQ(global, compact) << p.name << ": the two boards read differently";
    auto& s = score[p.theme];
    s.second++;
    if (solved(p, global)) s.first++;
    else missed[p.theme] += " " + p.name;
  }
  int total = 0, held = 0;
  for (const auto& [theme, s] : score) {
    std::printf("%-15s %3d / %3d\n", theme.c_str(), s.first, s.second);
    total += s.first;
    held += s.second;
    auto floor = FLOOR.find(theme);
    if (floor != FLOOR.end()) {
      EXPECT_GE(s.first, floor->second) << theme << " misses" << missed[theme];
    }
  }
  std::printf("%-15s %3d / %3d\n", "all", total, held);
}

}  // namespace
