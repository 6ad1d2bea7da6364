#include "editor/editor_main.h"

#include <QApplication>
#include <QFont>
#include <QSettings>
#include <QTimer>
#include <memory>

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

int editor_main(int argc, char** argv, const std::string& record_path) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Ranvel");
  QApplication::setApplicationName("Ranvel Editor");
  map_font_names();
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
