#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <deque>
#include <mutex>

namespace {

struct Log {
  std::mutex lock;
  std::deque<std::string> lines{std::string()};
  bool to_file = false;
  bool echo = false;
  std::string folder;
};

Log& the_log() {
  static Log log;
  return log;
}

void append_char(Log& log, char c) {
  std::string& line = log.lines.back();
  if (c == '\n' || (int)line.size() >= LOG_COLUMNS) {
    log.lines.emplace_back();
    while ((int)log.lines.size() > LOG_KEEP_LINES) log.lines.pop_front();
    if (c == '\n') return;
  }
  log.lines.back().push_back(c);
}

}  // namespace

void PRT(const char* fmt, ...) {
  Log& log = the_log();
  std::lock_guard guard(log.lock);
  char buf[PRT_BUF_SIZE];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (log.to_file) {
    std::string path = log.folder.empty() ? "output" : log.folder + "/output";
    if (FILE* fp = fopen(path.c_str(), "ab")) {
      fputs(buf, fp);
      fclose(fp);
    }
  }
  if (log.echo) fputs(buf, stderr);
  for (const char* p = buf; *p; ++p) append_char(log, *p);
}

void log_set_file_output(bool on) {
  std::lock_guard guard(the_log().lock);
  the_log().to_file = on;
}

bool log_file_output() {
  std::lock_guard guard(the_log().lock);
  return the_log().to_file;
}

void log_set_folder(const std::string& folder) {
  std::lock_guard guard(the_log().lock);
  the_log().folder = folder;
}

std::string log_folder() {
  std::lock_guard guard(the_log().lock);
  return the_log().folder;
}

void log_set_echo_stderr(bool on) {
  std::lock_guard guard(the_log().lock);
  the_log().echo = on;
}

std::vector<std::string> log_lines() {
  std::lock_guard guard(the_log().lock);
  return {the_log().lines.begin(), the_log().lines.end()};
}

std::string log_text() {
  std::string text;
  for (const std::string& line : log_lines()) text += line + "\n";
  return text;
}

void log_clear() {
  std::lock_guard guard(the_log().lock);
  the_log().lines.assign(1, std::string());
}
