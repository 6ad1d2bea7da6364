#include "core/folders.h"

#include <fnmatch.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/log.h"

namespace {
std::string prog_dir;
std::string started_in;
std::string remembered;

struct FolderWalk {
  std::string pattern;
  std::vector<std::string> names;
  size_t next = 0;
  bool active = false;
};
FolderWalk walk;

std::string with_slash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string current_dir() {
  std::error_code ec;
  return std::filesystem::current_path(ec).string();
}
}  // namespace

std::string program_folder(const std::string& exe_path) {
  std::string dir = exe_path.substr(0, exe_path.rfind('/') + 1);
  size_t at = dir.find("Release/");
  if (at == std::string::npos) at = dir.find("Debug/");
  if (at != std::string::npos) dir.resize(at);
  return dir;
}

void set_program_folder(const std::string& executable_path) {
  started_in = with_slash(current_dir());
  std::error_code ec;
  std::string exe = std::filesystem::canonical("/proc/self/exe", ec).string();
  if (ec || exe.empty()) exe = std::filesystem::absolute(executable_path, ec).string();
  std::string dir = program_folder(exe);
  if (!dir.empty() && chdir(dir.c_str()) != 0) PRT("Error chdir to %s\n", dir.c_str());
  prog_dir = with_slash(current_dir());
  log_set_folder(prog_dir);
}

const std::string& program_dir() { return prog_dir; }
const std::string& start_dir() { return started_in; }

std::string user_path(const std::string& path) {
  if (path.empty() || path[0] == '/' || started_in.empty()) return path;
  return started_in + path;
}

FILE* open_data_file(const char* name) {
  if (FILE* fp = fopen(name, "rb")) return fp;
  PRT("not found %s on current dir\n", name);
  return fopen((std::string("../") + name).c_str(), "rb");
}

int change_folder(const char* path) {
  remembered = current_dir();
  if (chdir(path) != 0) {
    PRT("Error chdir to %s\n", path);
    return 0;
  }
  return 1;
}

void back_to_folder() {
  if (chdir(remembered.c_str()) != 0) PRT("Error chdir to local %s\n", remembered.c_str());
}

bool next_file_in_folder(const char* pattern, std::string& name) {
  if (!walk.active || walk.pattern != pattern) {
    walk = FolderWalk{pattern, {}, 0, true};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(".", ec)) {
      std::string file = entry.path().filename().string();
      if (entry.is_regular_file(ec) && fnmatch(pattern, file.c_str(), FNM_CASEFOLD) == 0) walk.names.push_back(file);
    }
    std::sort(walk.names.begin(), walk.names.end());
    if (walk.names.empty()) PRT("カレント ディレクトリには %s ファイルは存在しません。\n", pattern);
  }
  if (walk.next >= walk.names.size()) {
    walk.active = false;
    return false;
  }
  name = walk.names[walk.next++];
  return true;
}
