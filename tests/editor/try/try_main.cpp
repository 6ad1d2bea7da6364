// The editor alone, set up for looking at it under Xvfb:
// editor_try [RECORD] [--move N] [--numbers] [--coords 0..3] [--size WxH] [--judge] [--no-bmp]
//            [--tab N] [--command ID] [--engine-judge] [--gamedb FOLDER] [--records FOLDER]
//            [--echo-log]
// --engine-judge shows the engine's own judgement of the shown move and its count.
#include <QApplication>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>

#include "core/folders.h"
#include "core/log.h"
#include "core/startup.h"
#include "editor/commands.h"
#include "editor/editor_main.h"
#include "editor/judgement.h"
#include "knowledge/bad_shape.h"
#include "knowledge/eye_database.h"
#include "editor/main_window.h"

int main(int argc, char** argv) {
  StartupSteps steps;
  bool engine_judge = false;
  for (int i = 1; i < argc; i++) engine_judge |= !strcmp(argv[i], "--engine-judge");
  if (engine_judge) {
    steps.bad_shape_table = make_bad_shape_table;
    steps.eye_database = [] { load_eye_database(); };
    steps.eye_corner_patches = patch_corner_shapes;
  }
  engine_startup(argv[0], steps);
  if (engine_judge) install_judgement();
  QApplication app(argc, argv);
  map_font_names();
  load_qt_translation();
  QTemporaryDir dir;
  QSettings store(dir.filePath("try.ini"), QSettings::IniFormat);
  MainWindow w(&store);
  int move = -1, width = 1280, height = 800;
  bool judge = false;
  int tab = -1, command = 0;
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--move") && i + 1 < argc) move = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--numbers")) w.settings().StoneNumber = 1;
    else if (!strcmp(argv[i], "--no-bmp")) w.settings().AtView = 0;
    else if (!strcmp(argv[i], "--coords") && i + 1 < argc) w.settings().Coordinate = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--size") && i + 1 < argc) sscanf(argv[++i], "%dx%d", &width, &height);
    else if (!strcmp(argv[i], "--judge")) judge = true;
    else if (!strcmp(argv[i], "--tab") && i + 1 < argc) tab = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--command") && i + 1 < argc) command = atoi(argv[++i]);
    else if (!strcmp(argv[i], "--echo-log")) log_set_echo_stderr(true);
    else if (!strcmp(argv[i], "--gamedb") && i + 1 < argc) w.settings().GameDbFolder = QString::fromLocal8Bit(argv[++i]);
    else if (!strcmp(argv[i], "--records") && i + 1 < argc) w.settings().recent_dirs.prepend(QString::fromLocal8Bit(argv[++i]));
    else if (argv[i][0] != '-') w.open_path(QString::fromStdString(user_path(argv[i])));
  }
  w.setGeometry(0, 0, width, height);
  if (move >= 0) w.go_to_move(move);
  if (engine_judge) {
    w.command(ID_JUDGEMENT);
    w.tabs()->setCurrentIndex(TAB_JUDGEMENT);
  }
  if (judge) {
    // A made-up overlay: black owns the left half, white the right, with
    // certainty growing towards the edges; stones deep in the other side dead.
    Judgement j;
    const Figure& f = w.state().working();
    for (int y = 1; y <= f.b_size; y++)
      for (int x = 1; x <= f.b_size; x++) {
        int z = figure_z(x, y);
        int v = (f.b_size + 1 - 2 * x) * 100 / f.b_size;
        j.territory[z] = int8_t(v);
        if ((f.board[z] == 1 && v < -40) || (f.board[z] == 2 && v > 40)) j.dead[z] = 1;
      }
    w.show_judgement(j);
  }
  w.refresh();
  w.show();
  if (tab >= 0) w.tabs()->setCurrentIndex(tab);
  if (command) QTimer::singleShot(300, &w, [&w, command] { w.command(command); });
  return app.exec();
}
