// Debug log PRT: printf-style, 100-column lines, the last lines kept for the
// log window, optionally appended to the file "output" in the program folder.
#pragma once
#include <string>
#include <vector>

constexpr int PRT_BUF_SIZE = 4096;
constexpr int LOG_COLUMNS = 100;
constexpr int LOG_KEEP_LINES = 400;

void PRT(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Writing to the file "output" (the log window's menu switch; "--log-file" on the command line).
void log_set_file_output(bool on);
bool log_file_output();
// Folder that receives "output"; the program folder once start-up has run.
void log_set_folder(const std::string& folder);
std::string log_folder();
// Also echo every PRT to standard error (for headless runs and tools).
void log_set_echo_stderr(bool on);

// The kept lines, oldest first; the line being written is the last entry.
std::vector<std::string> log_lines();
std::string log_text();
void log_clear();
