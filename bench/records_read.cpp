// Reading game records: SGF and UGF parsing (and the full load with replay)
// over a large collection. The collection is RANVEL_CORPUS (a folder of SGF
// collections, one game tree after another), by default /tmp/ranvel-corpus
// (unpack ../shared/corpus/*.sgf.xz there with xz -dk).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "records/record_io.h"
#include "records/sgf.h"
#include "records/ugf.h"

namespace {

// Splits a collection into its game trees (brackets inside values are skipped).
void split_games(const std::string& text, std::vector<std::string>& games) {
  int depth = 0;
  size_t start = 0;
  bool in_value = false;
  for (size_t i = 0; i < text.size(); i++) {
    char c = text[i];
    if (in_value) {
      if (c == '\\') i++;
      else if (c == ']') in_value = false;
    } else if (c == '[') {
      in_value = true;
    } else if (c == '(') {
      if (depth++ == 0) start = i;
    } else if (c == ')' && depth > 0) {
      if (--depth == 0) games.push_back(text.substr(start, i + 1 - start));
    }
  }
}

const std::vector<std::string>& sgf_games() {
  static std::vector<std::string> games = [] {
    std::vector<std::string> out;
    const char* dir = std::getenv("RANVEL_CORPUS");
    std::filesystem::path folder = dir ? dir : "/tmp/ranvel-corpus";
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
      if (e.path().extension() != ".sgf") continue;
      std::string text, error;
      if (read_whole_file(e.path().string(), text, error)) split_games(text, out);
    }
    return out;
  }();
  return games;
}

const std::vector<std::string>& ugf_games() {
  static std::vector<std::string> games = [] {
    std::vector<std::string> out;
    static GameRecord rec;
    SgfBuf buf;
    for (const std::string& g : sgf_games()) {
      read_record(FORMAT_SGF, g, rec, false);
      write_ugf(rec, buf);
      out.push_back(buf.text);
    }
    return out;
  }();
  return games;
}

template <typename Read>
void run(benchmark::State& state, const std::vector<std::string>& games, Read read) {
  if (games.empty()) {
    state.SkipWithError("no records: unpack the corpus into /tmp/ranvel-corpus or set RANVEL_CORPUS");
    return;
  }
  static GameRecord rec;
  size_t bytes = 0, records = 0;
  for (auto _ : state) {
    for (const std::string& g : games) {
      read(g, rec);
      bytes += g.size();
    }
    records += games.size();
  }
  state.SetBytesProcessed((int64_t)bytes);
  state.SetItemsProcessed((int64_t)records);
  state.counters["records"] = (double)games.size();
}

void BM_SgfParse(benchmark::State& state) {
  run(state, sgf_games(), [](const std::string& g, GameRecord& rec) {
    rec.reset();
    benchmark::DoNotOptimize(read_sgf(g, rec));
  });
}

void BM_SgfLoad(benchmark::State& state) {
  run(state, sgf_games(), [](const std::string& g, GameRecord& rec) {
    benchmark::DoNotOptimize(read_record(FORMAT_SGF, g, rec, true));
  });
}

void BM_UgfParse(benchmark::State& state) {
  run(state, ugf_games(), [](const std::string& g, GameRecord& rec) {
    rec.reset();
    benchmark::DoNotOptimize(read_ugf(g, rec));
  });
}

void BM_UgfLoad(benchmark::State& state) {
  run(state, ugf_games(), [](const std::string& g, GameRecord& rec) {
    benchmark::DoNotOptimize(read_record(FORMAT_UGF, g, rec, true));
  });
}

}  // namespace

BENCHMARK(BM_SgfParse)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SgfLoad)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UgfParse)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UgfLoad)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
