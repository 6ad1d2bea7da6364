// The command line and the engine's start-up order.
#pragma once
#include <string>

constexpr int PATH_MAX_LEN = 260;
constexpr int THREADS_SWITCH_MAX = 64;
constexpr int PLAYOUTS_SWITCH_MAX = 10000000;

struct CommandLine {
  bool gtp_mode = false;
  bool chinese_rule = false;
  bool log_to_file = false;     // "--log-file": PRT appends to "output"
  bool gtp_extensions = false;  // "--gtp-extensions": analysis commands
  int level = -1;               // "--level N": fixed think level
  int threads = 1;              // "--threads N": Monte-Carlo search threads
  int playouts = 0;             // "--playouts N": fixed simulations per thread, no clock (0: off)
  bool time_control = false;    // "--time-control": plan by time_settings and time_left
  bool show_help = false;       // "--help", "-h"
  bool show_version = false;    // "--version"
  std::string cDragFile;        // record to open
  std::string error;            // a switch that could not be read
};

CommandLine parse_command_line(int argc, char** argv);

// The program's name and version, as "--version" prints them.
extern const char* const VERSION_LINE;
// What "--help" prints: the modes, every switch, where the data files are looked for.
const char* usage_text();

// Steps of subsystems above the core, run in their places of the order.
struct StartupSteps {
  void (*bad_shape_table)() = nullptr;
  void (*eye_database)() = nullptr;
  void (*eye_corner_patches)() = nullptr;
};

// Program folder, machine figures, random start-up, position tables, board,
// the subsystems' steps, and the clock seed.
void engine_startup(const char* argv0, const StartupSteps& steps);
