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
    } else if (arg == "--help" || arg == "-h") {
      cl.show_help = true;
    } else if (arg == "--version") {
      cl.show_version = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      // A mistyped switch must not be taken for a record to open.
      cl.error = arg == "--mode" ? "--mode takes only the word gtp" : "unknown switch " + arg;
      return cl;
    } else if (cl.cDragFile.empty()) {
      // A path handed over with its quotes loses them.
      if (arg.size() >= 2 && arg.front() == '"') arg = arg.substr(1, arg.size() - 2);
      cl.cDragFile = arg.substr(0, PATH_MAX_LEN - 1);
    }
  }
  if (cl.gtp_mode) cl.cDragFile.clear();
  return cl;
}

const char* const VERSION_LINE = "Ranvel Editor 1.04";

const char* usage_text() {
  return "usage: ranvel [SWITCHES] [RECORD]       the editor (needs a display), opening RECORD\n"
         "       ranvel --mode gtp [SWITCHES]     Go Text Protocol engine on standard input/output\n"
         "       ranvel --convert SRC DST         converts one record between the formats the\n"
         "                                        extensions name (.sgf .mgt .ugf .ugi .ig1 .ngf)\n"
         "       ranvel --convert ARCHIVE.ugz FOLDER   unpacks an archive of records into FOLDER\n"
         "       ranvel --build-gamedb SOURCE... DEST  builds the game database DEST/happo.db\n"
         "       ranvel --print RECORD OUT.pdf [--figure whole|FIRST-LAST|split:N] [--two-digit]\n"
         "                                        prints the game's figures to a PDF\n"
         "       ranvel --board-image RECORD OUT.png [--move N] [--size PIXELS]\n"
         "                                        saves the board as the editor draws it\n"
         "\n"
         "switches:\n"
         "  --mode gtp          the engine instead of the editor (no display needed)\n"
         "  --chinese-rule      area scoring and the other Chinese-rule behaviours\n"
         "  --log-file          appends the debug log to the file 'output' in the program folder\n"
         "  --level N           fixes the think level (0..9; 7 is the Monte-Carlo tree search)\n"
         "  --gtp-extensions    adds attack, defend, dragon_status and eval_territory to GTP\n"
         "  --threads N         level 7 searches on N threads\n"
         "  --playouts N        level 7 runs exactly N simulations per thread per move\n"
         "  --time-control      plans each move's time from GTP time_settings and time_left\n"
         "  -h, --help          prints this text\n"
         "  --version           prints the program's name and version\n"
         "\n"
         "Data files (book19.db, book11.db, mm3x3.db, patlist.db, weak255.db, areasum.db,\n"
         "happo.db) are looked for in the program folder (the folder of the executable, cut\n"
         "at Release/ or Debug/), then in its parent folder.\n";
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
