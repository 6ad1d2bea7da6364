// Whole-board analyses per second on both boards, over middle-game
// positions (move 100) of the professional games in Debian's
// goban-original-games; one core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <memory>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/position_table.h"
#include "core/random.h"
#include "knowledge/analysis.h"
#include "knowledge/eye_database.h"

namespace {

constexpr const char* GAMES_FOLDER = "/usr/share/goban";
constexpr int POSITION_MOVE = 100;
constexpr int POSITIONS_MAX = 40;

struct Position {
  int8_t stones[21 * 256];
};

// The main line's moves of a simple SGF record, as ";B[pd]" and ";W[dc]".
bool play_record(const std::string& text, int moves) {
  if (text.find("SZ[19]") == std::string::npos) return false;
  board_reset(gban, 19);
  int played = 0;
  for (size_t i = 0; i + 5 < text.size() && played < moves; i++) {
    if (text[i] != ';' || (text[i + 1] != 'B' && text[i + 1] != 'W') || text[i + 2] != '[') continue;
    int color = text[i + 1] == 'B' ? BLACK : WHITE;
    char cx = text[i + 3], cy = text[i + 4];
    if (cx < 'a' || cx > 's' || cy < 'a' || cy > 's') return false;
    int z = make_z(cx - 'a' + 1, cy - 'a' + 1);
    if (gban.ban[z] != EMPTY || put_stone(gban, z, color) != PUT_OK) return false;
    played++;
  }
  return played == moves;
}

const std::vector<Position>& positions() {
  static const std::vector<Position> list = [] {
    random_startup();
    hash_tables_init();
    make_hashboard64();
    ban_size = 19;
    load_eye_database();
    patch_corner_shapes();
    std::vector<Position> out;
    DIR* dir = opendir(GAMES_FOLDER);
    if (!dir) return out;
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) names.push_back(e->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (out.size() >= POSITIONS_MAX) break;
      FILE* fp = fopen((std::string(GAMES_FOLDER) + "/" + name).c_str(), "rb");
      if (!fp) continue;
      std::string text;
      char buf[4096];
      for (size_t n; (n = fread(buf, 1, sizeof buf, fp)) > 0;) text.append(buf, n);
      fclose(fp);
      if (!play_record(text, POSITION_MOVE)) continue;
      Position p;
      for (int z = 0; z < 21 * 256; z++) p.stones[z] = int8_t(gban.ban[z]);
      out.push_back(p);
    }
    return out;
  }();
  return list;
}

void set_global(const Position& p) {
  board_reset(gban, 19);
  for (int z = 0; z < 21 * 256; z++) {
    if (p.stones[z] == BLACK || p.stones[z] == WHITE) put_stone(gban, z, p.stones[z]);
  }
  compact_strings(gban);
  gban.fukasa = 0;
}

void analyze_global(benchmark::State& state, AnalysisScope scope) {
  const auto& list = positions();
  if (list.empty()) {
    state.SkipWithError("no game records in /usr/share/goban (goban-original-games)");
    return;
  }
  size_t i = 0;
  int64_t done = 0;
  for (auto _ : state) {
    state.PauseTiming();
    set_global(list[i++ % list.size()]);
    state.ResumeTiming();
    analyze(gban, ban_analysis, 0, scope);
    benchmark::DoNotOptimize(ban_analysis.evaluation);
    done++;
  }
  state.SetItemsProcessed(done);
}

void BM_AnalysisGlobalBoard(benchmark::State& state) { analyze_global(state, ANALYSIS_WITH_FINAL_STATUS); }
BENCHMARK(BM_AnalysisGlobalBoard)->Unit(benchmark::kMicrosecond);

// What the classic search pays at each node.
void BM_AnalysisForSearch(benchmark::State& state) { analyze_global(state, ANALYSIS_WITHOUT_FINAL_STATUS); }
BENCHMARK(BM_AnalysisForSearch)->Unit(benchmark::kMicrosecond);

void BM_AnalysisSearchBoard(benchmark::State& state) {
  const auto& list = positions();
  if (list.empty()) {
    state.SkipWithError("no game records in /usr/share/goban (goban-original-games)");
    return;
  }
  auto boards = std::make_unique<SearchBoard[]>(list.size());
  for (size_t k = 0; k < list.size(); k++) {
    set_global(list[k]);
    load_search_board(boards[k], gban, BLACK);
  }
  auto analysis = std::make_unique<SearchAnalysis>();
  size_t i = 0;
  int64_t done = 0;
  for (auto _ : state) {
    analyze(boards[i++ % list.size()], *analysis);
    benchmark::DoNotOptimize(analysis->final_status[0]);
    done++;
  }
  state.SetItemsProcessed(done);
}
BENCHMARK(BM_AnalysisSearchBoard)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
