#include "core/internal_stop.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/board.h"
#include "core/kifu.h"
#include "core/kifu_sgf.h"
#include "core/log.h"
#include "core/position_table.h"

SearchCounters search_counters;

namespace {
InternalStopReporter reporter = nullptr;
bool stopping = false;

std::string last_three_lines() {
  std::vector<std::string> lines = log_lines();
  // The line being written is usually empty; skip it.
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::string text;
  size_t from = lines.size() > 3 ? lines.size() - 3 : 0;
  for (size_t i = from; i < lines.size(); i++) text += lines[i].substr(0, 255) + "\n";
  return text;
}

// Without a window: the log and the game go to files beside the log.
void report_to_files(const std::string& last_lines, const std::string& sgf) {
  std::string dir = log_folder();
  std::string log_path = dir + "internal_error.log", sgf_path = dir + "internal_error.sgf";
  if (FILE* fp = fopen(log_path.c_str(), "wb")) {
    std::string text = log_text();
    fwrite(text.data(), 1, text.size(), fp);
    fclose(fp);
  }
  if (FILE* fp = fopen(sgf_path.c_str(), "wb")) {
    fwrite(sgf.data(), 1, sgf.size(), fp);
    fclose(fp);
  }
  fprintf(stderr, "内部エラーで停止しました\n\n%s\nlog: %s\ngame: %s\n", last_lines.c_str(), log_path.c_str(),
          sgf_path.c_str());
}
}  // namespace

void set_internal_stop_reporter(InternalStopReporter r) { reporter = r; }

void internal_stop() {
  if (stopping) _Exit(1);  // a fault while reporting must not loop
  stopping = true;
  std::string last_lines = last_three_lines();
  PRT("debug!!!\n");
  PRT("深=%d,手数=%d,te_info_num=%d,RM=%d,局面数=%ld,nodes=%ld\n", search_counters.fukasa, tesuu, gban.fukasa,
      search_counters.rm, search_counters.positions, search_counters.nodes);
  hash_print_stats();
  PRT("\n");
  print_board(gban);
  std::string sgf = kifu_to_sgf();
  report_to_files(last_lines, sgf);
  if (reporter) reporter(last_lines, sgf);
  exit(1);
}

void internal_stop_at(const char* file, int line, const char* fmt, ...) {
  PRT("%s %d行目\n\n", file, line);
  char buf[PRT_BUF_SIZE];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  PRT("%s", buf);
  internal_stop();
}
