// The program folder, the data files beside it, and folder walking.
#pragma once
#include <cstdio>
#include <string>

// Sets the program folder from the executable's path (cut at "Release/" or
// "Debug/" when present), remembers the folder the user started from, and
// changes into the program folder.
void set_program_folder(const std::string& executable_path);
std::string program_folder(const std::string& exe_path);  // the rule alone
const std::string& program_dir();                          // with trailing '/'
const std::string& start_dir();
// A relative path given by the user is taken relative to the start folder.
std::string user_path(const std::string& path);

FILE* open_data_file(const char* name);
int change_folder(const char* path);
void back_to_folder();
// Files matching a wildcard pattern ("*.ugf") in the current folder, one per
// call; returns false when there are no more (and resets for a new pattern).
bool next_file_in_folder(const char* pattern, std::string& name);
