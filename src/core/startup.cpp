#include "core/startup.h"

#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "core/board.h"
#include "core/folders.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/position_table.h"
#include "core/random.h"

CommandLine parse_command_line(int argc, char** argv) {
  CommandLine cl;
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    if (arg == "--chinese-rule") {
      cl.chinese_rule = true;
    } else if (arg == "--mode" && i + 1 < argc && std::string(argv[i + 1]) == "gtp") {
      cl.gtp_mode = true;
      i++;
    } else if (arg == "--mode=gtp") {
      cl.gtp_mode = true;
    } else if (arg == "--log-file") {
      cl.log_to_file = true;
    } else if (arg == "--gtp-extensions") {
      cl.gtp_extensions = true;
    } else if (arg == "--level") {
      char* end = nullptr;
      long v = i + 1 < argc ? strtol(argv[i + 1], &end, 10) : -1;
      if (i + 1 >= argc || *end || v < 0 || v > 9) {
        cl.error = "--level needs a number from 0 to 9";
        return cl;
      }
      cl.level = int(v);
      i++;
    } else if (arg == "--threads" || arg == "--playouts") {
      char* end = nullptr;
      long v = i + 1 < argc ? strtol(argv[i + 1], &end, 10) : -1;
      const long most = arg == "--threads" ? THREADS_SWITCH_MAX : PLAYOUTS_SWITCH_MAX;
      if (i + 1 >= argc || *end || v < 1 || v > most) {
        cl.error = arg;
        cl.error += " needs a number from 1 to ";
        cl.error += std::to_string(most);
        return cl;
      }
      (arg == "--threads" ? cl.threads : cl.playouts) = int(v);
      i++;
    } else if (arg == "--time-control") {
      cl.time_control = true;
    } else if (cl.cDragFile.empty()) {
      // A path handed over with its quotes loses them.
      if (arg.size() >= 2 && arg.front() == '"') arg = arg.substr(1, arg.size() - 2);
      cl.cDragFile = arg.substr(0, PATH_MAX_LEN - 1);
    }
  }
  if (cl.gtp_mode) cl.cDragFile.clear();
  return cl;
}

namespace {

void log_machine() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line, name;
  while (std::getline(cpuinfo, line)) {
    if (line.rfind("model name", 0) == 0) {
      name = line.substr(line.find(':') + 2);
      break;
    }
  }
  if (name.empty()) PRT("CPU取得失敗\n");
  else PRT("%s\n", name.c_str());
  struct sysinfo si;
  if (sysinfo(&si) == 0) {
    unsigned long long unit = si.mem_unit, total = si.totalram * unit >> 20, free_mb = si.freeram * unit >> 20;
    PRT("物理メモリ= %d MB, ", int(total));
    PRT("空=%dMB, 割合=%d%%\n", int(free_mb), total ? int(100 - free_mb * 100 / total) : 0);
  }
  int cpus = int(std::thread::hardware_concurrency());
  PRT("CPUs=%d,", cpus < 1 ? 1 : cpus);
  PRT("Type=%d,", 8664);
  PRT("Level=%d\n", 6);
}

}  // namespace

void engine_startup(const char* argv0, const StartupSteps& steps) {
  set_program_folder(argv0);
  log_machine();
  random_startup();
  hash_tables_init();
  init_ban();
  kifu_clear();
  if (steps.bad_shape_table) steps.bad_shape_table();
  if (steps.eye_database) steps.eye_database();
  if (ban_size < 9) {
    ban_clear();
    kifu_clear();
  } else if (steps.eye_corner_patches) {
    steps.eye_corner_patches();
  }
  rand_seed_from_clock();
}
