// The internal error stop: the reaction to a broken engine invariant. User
// input never reaches it.
#pragma once
#include <string>

[[noreturn]] void internal_stop();
[[noreturn]] void internal_stop_at(const char* file, int line, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
#define INTERNAL_STOP(...) internal_stop_at(__FILE__, __LINE__, __VA_ARGS__)

// The window side reports the stop its own way (message box, clipboard,
// recovery files); it receives the three last log lines and the game as SGF.
using InternalStopReporter = void (*)(const std::string& last_lines, const std::string& game_sgf);
void set_internal_stop_reporter(InternalStopReporter reporter);

// Counters of the running search shown in the stop's dump.
struct SearchCounters {
  int fukasa;
  int rm;
  long positions;
  long nodes;
};
extern SearchCounters search_counters;
