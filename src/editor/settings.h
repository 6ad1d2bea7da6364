// The editor's user settings, recent files and folders, window placements.
// They live in a QSettings store under "Ranvel/Ranvel Editor", read once at
// start-up and written back when the main window closes.
#pragma once
#include <QString>
#include <QStringList>

class QSettings;
class QAction;
class QMenu;
class QWidget;

constexpr int RECENT_FILE_MAX = 20;
constexpr int RECENT_PATH_LIMIT = 256;  // paths this long or longer are not listed
constexpr int DIR_PATH_LIMIT = 260;
constexpr int FACE_NAME_LIMIT = 256;
constexpr int PHOTO_PATH_LIMIT = 260;
constexpr int RECENT_MENU_ID = 2000;  // ids 2000..2019 of the recent-file items
constexpr int IMG_SIZE_MIN = 20;
constexpr int IMG_SIZE_MAX = 2000;
constexpr double AUTO_SEC_MAX = 600.0;

enum WindowPlace { MAIN_WIN_POS = 0, PRT_WIN_POS, FIG_ADD_WIN_POS, KIF_LIST_WIN_POS, WIN_POS_COUNT };

enum CoordStyle { COORD_NONE = 0, COORD_KANJI = 1, COORD_INTERNATIONAL = 2, COORD_LETTERS = 3 };

struct FontSetting {
  int height;
  QString face;
};

struct Settings {
  int SoundDrop = 0;
  int BoardColor = 1;
  int InfoWindow = 0;
  int BoardSize = 19;
  int Triangle = 1;
  int LastMoveLoad = 0;
  int AtView = 1;  // the wood board texture ("bmpの碁盤")
  int ToolBar = 1;
  int KoMoveErr = 0;
  int StoneNumber = 0;
  double AutoSec = 1.0;
  int AutoComment = 1;
  FontSetting FontArray[2] = {{16, QStringLiteral("ＭＳ Ｐゴシック")}, {12, QStringLiteral("MS UI Gothic")}};
  QString Photo[3];
  QString ImgFile = QStringLiteral("c:\\sample.png");
  int ImgSize = 340;
  int ImgShow = 0;
  QString WinPos[WIN_POS_COUNT];
  // Kept beside the table's values so the view comes back as the user left it.
  int Coordinate = COORD_LETTERS;
  int FigureLarge = 0;
  QString GameDbFolder;  // where the user keeps a game database (happo.db and its game files)

  QStringList recent_files;  // newest first
  QStringList recent_dirs;
};

// The store of the running program (an INI file in the user's config folder).
QSettings* open_settings_store();

// Fills s from the store; 0 when the store holds no settings yet (defaults kept).
// An empty folder list becomes default_record_dirs(program_folder).
int load_settings(QSettings& store, Settings& s, const QString& program_folder);
// 1 when every value was written.
int save_settings(QSettings& store, const Settings& s);

// A fresh folder list: the documents folder, the program folder, then the
// usual record folders that exist.
QStringList default_record_dirs(const QString& program_folder);

void add_recent_file(Settings& s, const QString& path);
void delete_recent_file(Settings& s, const QString& path);
// Replaces the menu's items 2000..2019 by one per recent file, before `before`.
void rebuild_recent_menu(QMenu* menu, QAction* before, const Settings& s);
QString recent_menu_label(int index, const QString& path);

QString window_place_text(const QWidget* w);
// 1 when a stored placement was applied; the window is shown normally either way.
int restore_window_place(QWidget* w, const QString& text);
