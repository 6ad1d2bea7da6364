#include "editor/settings.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include "core/log.h"

namespace {

const char* const WIN_POS_NAMES[WIN_POS_COUNT] = {"MainWinPos", "PrtWinPos", "FigAddWinPos", "KifListWinPos"};
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMAXIMIZED = 3;

void read_int(QSettings& store, const char* name, int& value) {
  bool ok = false;
  int v = store.value(name).toInt(&ok);
  if (ok) value = v;
}

void read_text(QSettings& store, const QString& name, QString& value, int limit) {
  QVariant v = store.value(name);
  if (v.isValid()) value = v.toString().left(limit - 1);
}

// "%s%d0" / "%s%d1" of the font and photo values.
QString indexed_name(const char* base, int entry, int part) {
  return QStringLiteral("%1%2%3").arg(base).arg(entry).arg(part);
}

QStringList read_list(QSettings& store, const char* group, const char* count_name, const char* entry,
                      int limit) {
  QStringList list;
  store.beginGroup(group);
  int count = store.value(count_name, 0).toInt();
  for (int i = 1; i <= count; i++) {
    QVariant v = store.value(QStringLiteral("%1%2").arg(entry).arg(i));
    if (!v.isValid()) break;
    list << v.toString().left(limit - 1);
  }
  store.endGroup();
  return list;
}

void write_list(QSettings& store, const char* group, const char* count_name, const char* entry,
                const QStringList& list) {
  store.remove(group);
  store.beginGroup(group);
  store.setValue(count_name, (int)list.size());
  for (int i = 0; i < list.size(); i++) store.setValue(QStringLiteral("%1%2").arg(entry).arg(i + 1), list[i]);
  store.endGroup();
}

}  // namespace

QSettings* open_settings_store() {
  return new QSettings(QSettings::IniFormat, QSettings::UserScope, "Ranvel", "Ranvel Editor");
}

QStringList default_record_dirs(const QString& program_folder) {
  QStringList dirs;
  QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!docs.isEmpty()) dirs << QDir::cleanPath(docs);
  dirs << QDir::cleanPath(program_folder);
  const QString home = QDir::homePath();
  const QString usual[12] = {home + "/kifu",          home + "/棋譜",           home + "/sgf",
                             home + "/ugf",           docs + "/kifu",           docs + "/棋譜",
                             docs + "/sgf",           docs + "/ugf",            "/usr/share/goban",
                             "/usr/share/games/gnugo", "/usr/local/share/kifu", program_folder + "/kifu"};
  for (const QString& d : usual) {
    QString clean = QDir::cleanPath(d);
    if (QDir(clean).exists() && !dirs.contains(clean)) dirs << clean;
  }
  return dirs;
}

int load_settings(QSettings& store, Settings& s, const QString& program_folder) {
  s.recent_files = read_list(store, "Recent File List", "RecentFileListNum", "File", RECENT_PATH_LIMIT);
  while (s.recent_files.size() > RECENT_FILE_MAX) s.recent_files.removeLast();
  s.recent_dirs = read_list(store, "Recent Dir List", "DirNum", "Dir", DIR_PATH_LIMIT);
  if (s.recent_dirs.isEmpty()) s.recent_dirs = default_record_dirs(program_folder);

  const Settings defaults;
  QStringList files = s.recent_files, dirs = s.recent_dirs;
  s = defaults;
  s.recent_files = files;
  s.recent_dirs = dirs;
  if (store.childKeys().isEmpty()) {
    PRT("レジストリのオープン(細かい情報)に失敗！\n");
    return 0;
  }
  read_int(store, "SoundDrop", s.SoundDrop);
  read_int(store, "BoardColor", s.BoardColor);
  if (s.BoardColor < 0 || s.BoardColor > 2) s.BoardColor = defaults.BoardColor;
  read_int(store, "InfoWindow", s.InfoWindow);
  read_int(store, "BoardSize", s.BoardSize);
  read_int(store, "Triangle", s.Triangle);
  read_int(store, "LastMoveLoad", s.LastMoveLoad);
  read_int(store, "AtView", s.AtView);
  read_int(store, "ToolBar", s.ToolBar);
  read_int(store, "KoMoveErr", s.KoMoveErr);
  read_int(store, "StoneNumber", s.StoneNumber);
  QVariant sec = store.value("AutoSec");
  if (sec.isValid()) {
    s.AutoSec = sec.toString().toDouble();
    if (s.AutoSec < 0) s.AutoSec = 1.0;
    if (s.AutoSec > AUTO_SEC_MAX) s.AutoSec = AUTO_SEC_MAX;
  }
  read_int(store, "AutoComment", s.AutoComment);
  for (int i = 0; i < 2; i++) {
    read_int(store, indexed_name("FontArray", i, 0).toLatin1().constData(), s.FontArray[i].height);
    read_text(store, indexed_name("FontArray", i, 1), s.FontArray[i].face, FACE_NAME_LIMIT);
    if (s.FontArray[i].height <= 0) s.FontArray[i].height = defaults.FontArray[i].height;
  }
  for (int i = 0; i < 3; i++) read_text(store, indexed_name("Photo", i, 0), s.Photo[i], PHOTO_PATH_LIMIT);
  read_text(store, "ImgFile", s.ImgFile, PHOTO_PATH_LIMIT);
  read_int(store, "ImgSize", s.ImgSize);
  s.ImgSize = std::clamp(s.ImgSize, IMG_SIZE_MIN, IMG_SIZE_MAX);
  read_int(store, "ImgShow", s.ImgShow);
  for (int i = 0; i < WIN_POS_COUNT; i++) read_text(store, WIN_POS_NAMES[i], s.WinPos[i], FACE_NAME_LIMIT);
  read_int(store, "Coordinate", s.Coordinate);
  if (s.Coordinate < COORD_NONE || s.Coordinate > COORD_LETTERS) s.Coordinate = defaults.Coordinate;
  read_int(store, "FigureLarge", s.FigureLarge);
  read_text(store, "GameDbFolder", s.GameDbFolder, DIR_PATH_LIMIT);
  if (s.BoardSize < 2 || s.BoardSize > 19) s.BoardSize = 19;
  return 1;
}

int save_settings(QSettings& store, const Settings& s) {
  store.setValue("SoundDrop", s.SoundDrop);
  store.setValue("GameDbFolder", s.GameDbFolder);
  store.setValue("BoardColor", s.BoardColor);
  store.setValue("InfoWindow", s.InfoWindow);
  store.setValue("BoardSize", s.BoardSize);
  store.setValue("Triangle", s.Triangle);
  store.setValue("LastMoveLoad", s.LastMoveLoad);
  store.setValue("AtView", s.AtView);
  store.setValue("ToolBar", s.ToolBar);
  store.setValue("KoMoveErr", s.KoMoveErr);
  store.setValue("StoneNumber", s.StoneNumber);
  store.setValue("AutoSec", QString::asprintf("%.1f", s.AutoSec));
  store.setValue("AutoComment", s.AutoComment);
  for (int i = 0; i < 2; i++) {
    store.setValue(indexed_name("FontArray", i, 0), s.FontArray[i].height);
    store.setValue(indexed_name("FontArray", i, 1), s.FontArray[i].face);
  }
  for (int i = 0; i < 3; i++) store.setValue(indexed_name("Photo", i, 0), s.Photo[i]);
  store.setValue("ImgFile", s.ImgFile);
  store.setValue("ImgSize", s.ImgSize);
  store.setValue("ImgShow", s.ImgShow);
  for (int i = 0; i < WIN_POS_COUNT; i++)
    if (!s.WinPos[i].isEmpty()) store.setValue(WIN_POS_NAMES[i], s.WinPos[i]);
  store.setValue("Coordinate", s.Coordinate);
  store.setValue("FigureLarge", s.FigureLarge);
  write_list(store, "Recent File List", "RecentFileListNum", "File", s.recent_files);
  write_list(store, "Recent Dir List", "DirNum", "Dir", s.recent_dirs);
  store.sync();
  return store.status() == QSettings::NoError ? 1 : 0;
}

void add_recent_file(Settings& s, const QString& path) {
  if (path.size() >= RECENT_PATH_LIMIT) return;
  s.recent_files.removeAll(path);
  s.recent_files.prepend(path);
  while (s.recent_files.size() > RECENT_FILE_MAX) s.recent_files.removeLast();
}

void delete_recent_file(Settings& s, const QString& path) { s.recent_files.removeAll(path); }

QString recent_menu_label(int index, const QString& path) {
  QString escaped = QString(path).replace('&', "&&");
  if (index < 10) return QStringLiteral("&%1 ").arg((index + 1) % 10) + escaped;
  return QStringLiteral("  ") + escaped;
}

void rebuild_recent_menu(QMenu* menu, QAction* before, const Settings& s) {
  for (QAction* a : menu->actions()) {
    int id = a->data().toInt();
    if (id >= RECENT_MENU_ID && id < RECENT_MENU_ID + RECENT_FILE_MAX) {
      menu->removeAction(a);
      delete a;
    }
  }
  for (int i = 0; i < s.recent_files.size() && i < RECENT_FILE_MAX; i++) {
    QAction* a = new QAction(recent_menu_label(i, s.recent_files[i]), menu);
    a->setData(RECENT_MENU_ID + i);
    menu->insertAction(before, a);
  }
}

QString window_place_text(const QWidget* w) {
  QRect r = w->normalGeometry().isValid() ? w->normalGeometry() : w->geometry();
  int show = w->isMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  return QString::asprintf("%d %d %d %d %d %d %d %d %d", show, -1, -1, -1, -1, r.left(), r.top(),
                           r.left() + r.width(), r.top() + r.height());
}

int restore_window_place(QWidget* w, const QString& text) {
  QStringList parts = text.split(' ', Qt::SkipEmptyParts);
  if (parts.size() != 9) return 0;
  int v[9];
  for (int i = 0; i < 9; i++) {
    bool ok = false;
    v[i] = parts[i].toInt(&ok);
    if (!ok) return 0;
  }
  QRect r(QPoint(v[5], v[6]), QPoint(v[7] - 1, v[8] - 1));
  if (r.width() < 100 || r.height() < 100) return 0;
  // A placement saved on a larger or since removed screen must not put the
  // window where the user cannot reach it.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect avail = screen->availableVirtualGeometry();
    if (!avail.intersects(r)) r.moveTopLeft(avail.topLeft());
    r.setWidth(std::min(r.width(), avail.width()));
    r.setHeight(std::min(r.height(), avail.height()));
  }
  w->setGeometry(r);
  return 1;
}
