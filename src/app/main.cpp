// ranvel: the editor, or with "--mode gtp" the Go Text Protocol engine, or
// one of the headless tools ("--convert", "--build-gamedb").
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "core/folders.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/startup.h"
#include "core/time_control.h"
#include "core/think.h"
#include "knowledge/alphabeta_register.h"
#include "knowledge/bad_shape.h"
#include "knowledge/eye_database.h"
#include "knowledge/gamedb.h"
#include "knowledge/gtp_genmove.h"
#include "knowledge/gtp_scoring.h"
#include "knowledge/reading_gtp.h"
#include "mc/patterns.h"
#include "mc/uct_register.h"
#include "mc/simple_mc.h"
#include "records/convert.h"
#include "records/engine_load.h"
#ifdef RANVEL_HAVE_EDITOR
#include "editor/editor_main.h"
#include "editor/judgement.h"
#include "editor/print_export_main.h"
#endif

namespace {

void load_eye_database_step() { load_eye_database(); }

void register_engine(const CommandLine& cl) {
  gtp_register("loadsgf", gtp_loadsgf);
  register_scoring_commands(cl.gtp_extensions);
  register_genmove_commands();
  if (cl.gtp_extensions) reading_gtp_register();
  register_classic_search();
  think_register_level(0, one_move_think);
  patterns_register_levels();
  simple_mc_register_levels();
}

// Level 7 is registered only when asked for: its pattern tables are large.
bool register_tree_search(const CommandLine& cl) {
  const int hardware = int(std::thread::hardware_concurrency());
  if (cl.threads > std::max(hardware, 1)) {
    fprintf(stderr, "ranvel: --threads %d is more than this machine's %d hardware threads\n", cl.threads, hardware);
    return false;
  }
  std::string why;
  if (!uct_register_level(cl.threads, cl.playouts, why)) {
    fprintf(stderr, "ranvel: %s\n", why.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "--convert") == 0) return convert_main(argc, argv);
  if (argc >= 2 && strcmp(argv[1], "--build-gamedb") == 0) return build_gamedb_main(argc, argv);
#ifdef RANVEL_HAVE_EDITOR
  if (argc >= 2 && strcmp(argv[1], "--print") == 0) return print_main(argc, argv);
  if (argc >= 2 && strcmp(argv[1], "--board-image") == 0) return board_image_main(argc, argv);
#endif

  CommandLine cl = parse_command_line(argc, argv);
  if (!cl.error.empty()) {
    fprintf(stderr, "ranvel: %s\n%s", cl.error.c_str(), usage_text());
    return 2;
  }
  // Help and version need neither the engine nor a display.
  if (cl.show_help || cl.show_version) {
    fputs(cl.show_help ? usage_text() : VERSION_LINE, stdout);
    if (!cl.show_help) fputs("\n", stdout);
    return 0;
  }
#ifdef RANVEL_HAVE_EDITOR
  if (!cl.gtp_mode && !editor_display_available()) {
    fprintf(stderr, "ranvel: the editor needs a display (DISPLAY or WAYLAND_DISPLAY); "
                    "'ranvel --mode gtp' runs without one\n");
    return 1;
  }
#endif
  log_set_file_output(cl.log_to_file);
  fChineseRule = cl.chinese_rule;
  if (!cl.cDragFile.empty()) PRT("cDragFile=%s\n", cl.cDragFile.c_str());

  StartupSteps steps;
  steps.bad_shape_table = make_bad_shape_table;
  steps.eye_database = load_eye_database_step;
  steps.eye_corner_patches = patch_corner_shapes;
  engine_startup(argv[0], steps);
  // Start-up changed into the program folder; the user's path was relative to where they were.
  if (!cl.cDragFile.empty()) cl.cDragFile = user_path(cl.cDragFile);

  register_engine(cl);
  time_control_enable(cl.time_control);
  if (cl.level == 7 && !register_tree_search(cl)) return 2;
  if (cl.level >= 0 && !think_fix_level(cl.level)) {
    fprintf(stderr, "ranvel: think level %d is not available in this build\n", cl.level);
    return 2;
  }

  if (cl.gtp_mode) {
    gtp_loop(stdin, stdout);
    return 0;
  }
#ifdef RANVEL_HAVE_EDITOR
  install_judgement();
  return editor_main(argc, argv, cl.cDragFile);
#else
  fprintf(stderr, "ranvel: the editor is not part of this build; use --mode gtp\n");
  return 1;
#endif
}
