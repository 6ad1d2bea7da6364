#include "editor/editor_main.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "editor/main_window.h"
#include "editor/recovery.h"
#include "editor/settings.h"

void map_font_names() {
  const QStringList gothic = {"IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "VL Gothic", "TakaoGothic"};
  const QStringList pgothic = {"IPAPGothic", "IPAexGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"};
  const QStringList mincho = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP", "TakaoMincho"};
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
  QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
  QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), pgothic);
  QFont::insertSubstitutions(QStringLiteral("標準明朝"), mincho);
}

void load_qt_translation() {
  // Qt's own buttons and file dialogs speak Japanese with the rest of the window.
  static QTranslator translator;
  if (translator.load(QLocale(QLocale::Japanese), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&translator);
}

bool editor_display_available() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

namespace {

// A display that is named but cannot be reached makes Qt stop the process
// with an abort (and a core file); a user gets one line and status 1 instead.
void display_failure_handler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return;
  }
  std::fprintf(stderr, "ranvel: the editor cannot open its display (%s); 'ranvel --mode gtp' runs without one\n",
               message.toLocal8Bit().constData());
  std::fflush(stderr);
  _exit(1);
}

}  // namespace

int editor_main(int argc, char** argv, const std::string& record_path) {
  QtMessageHandler previous = qInstallMessageHandler(display_failure_handler);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous);
  QApplication::setOrganizationName("Ranvel");
  QApplication::setApplicationName("Ranvel Editor");
  map_font_names();
  load_qt_translation();
  std::unique_ptr<QSettings> store(open_settings_store());
  MainWindow window(store.get());
  install_recovery_stop(&window.state());
  window.show();
  if (!record_path.empty()) {
    QString path = QString::fromStdString(record_path);
    QTimer::singleShot(0, &window, [&window, path] { window.open_path(path); });
  }
  return app.exec();
}
