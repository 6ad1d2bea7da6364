// ranvel: the editor, or with "--mode gtp" the Go Text Protocol engine.
#include <cstdio>

#include "core/folders.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "core/startup.h"

int main(int argc, char** argv) {
  CommandLine cl = parse_command_line(argc, argv);
  if (!cl.error.empty()) {
    fprintf(stderr, "ranvel: %s\n", cl.error.c_str());
    return 2;
  }
  log_set_file_output(cl.log_to_file);
  fChineseRule = cl.chinese_rule;
  if (!cl.cDragFile.empty()) PRT("cDragFile=%s\n", cl.cDragFile.c_str());

  StartupSteps steps;
  engine_startup(argv[0], steps);
  // Start-up changed into the program folder; the user's path was relative to where they were.
  if (!cl.cDragFile.empty()) cl.cDragFile = user_path(cl.cDragFile);

  if (cl.gtp_mode) {
    gtp_loop(stdin, stdout);
    return 0;
  }
  fprintf(stderr, "ranvel: the editor is not built in this version; use --mode gtp\n");
  return 1;
}
