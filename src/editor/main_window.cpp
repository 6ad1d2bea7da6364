#include "editor/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/board.h"
#include "core/folders.h"
#include "core/log.h"
#include "editor/about_dialog.h"
#include "editor/board_view.h"
#include "editor/busy.h"
#include "editor/clipboard_text.h"
#include "editor/commands.h"
#include "editor/help_window.h"
#include "editor/image_save_dialog.h"
#include "editor/judgement.h"
#include "editor/info_text.h"
#include "editor/log_window.h"
#include "editor/print_dialog.h"
#include "editor/record_window.h"
#include "editor/record_io.h"
#include "editor/settings_dialog.h"
#include "editor/stone_sound.h"
#include "records/engine_load.h"
#include "records/sjis.h"
#include "records/ugz_import.h"

namespace {

JudgementProvider judgement_provider = nullptr;

constexpr int START_X = 20, START_Y = 20, START_WIDTH = 800, START_HEIGHT = 580;
constexpr int FIGURE_BUTTON_WIDTH = 30, FIGURE_BUTTON_HEIGHT = 20;
constexpr int AUTO_REPLAY_MIN_MS = 50;

const char* const OPEN_FILTER =
    "囲碁用棋譜ファイル(*.ugf *.ugi *.sgf *.mgt *.ngf *.ig1 *.ugz);;UGFファイル(*.ugf);;UGIファイル(*.ugi);;"
    "SGFファイル(*.sgf *.mgt);;NGFファイル(*.ngf);;IG1ファイル(*.ig1);;UGZファイル(*.ugz);;全てのファイル(*)";
const char* const SAVE_FILTER = "UGFファイル(*.ugf);;SGFファイル(*.sgf);;IG1ファイル(*.ig1);;全てのファイル(*)";

QString program_folder_now() {
  const std::string& dir = program_dir();
  return dir.empty() ? QCoreApplication::applicationDirPath() : QString::fromStdString(dir);
}

QIcon standard_icon(int id) {
  QStyle* st = QApplication::style();
  switch (id) {
    case ID_NEW_GAME: return st->standardIcon(QStyle::SP_FileIcon);
    case ID_OPEN: return st->standardIcon(QStyle::SP_DialogOpenButton);
    case ID_SAVE: return st->standardIcon(QStyle::SP_DialogSaveButton);
    case ID_RECORD_LIST: return st->standardIcon(QStyle::SP_FileDialogDetailedView);
    case ID_GAMEDB_SEARCH: return st->standardIcon(QStyle::SP_FileDialogContentsView);
    case ID_GAME_INFO: return st->standardIcon(QStyle::SP_FileDialogInfoView);
    case ID_FIRST: return st->standardIcon(QStyle::SP_MediaSkipBackward);
    case ID_BACK_10: return st->standardIcon(QStyle::SP_MediaSeekBackward);
    case ID_BACK_1: return st->standardIcon(QStyle::SP_ArrowLeft);
    case ID_FORWARD_1: return st->standardIcon(QStyle::SP_ArrowRight);
    case ID_FORWARD_10: return st->standardIcon(QStyle::SP_MediaSeekForward);
    case ID_LAST: return st->standardIcon(QStyle::SP_MediaSkipForward);
    case ID_PREV_COMMENT: return st->standardIcon(QStyle::SP_ArrowUp);
    case ID_NEXT_COMMENT: return st->standardIcon(QStyle::SP_ArrowDown);
    case ID_AUTO_REPLAY: return st->standardIcon(QStyle::SP_MediaPlay);
    default: return QIcon();
  }
}

// Every command has its window now; the one place to switch a command off.
bool command_available(int) { return true; }

}  // namespace

void MainWindow::set_judgement_provider(JudgementProvider provider) { judgement_provider = provider; }

MainWindow::MainWindow(QSettings* store, QWidget* parent) : QMainWindow(parent), store_(store) {
  setObjectName("MIRO");
  setAcceptDrops(true);
  setGeometry(START_X, START_Y, START_WIDTH, START_HEIGHT);
  if (!load_settings(*store_, settings_, program_folder_now()))
    PRT("Registory Error... something new (If first time, it's OK)\n");
  sound_path_ = ensure_stone_sound(program_folder_now());
  if (sound_path_.isEmpty()) sound_path_ = ensure_stone_sound(QDir::tempPath());

  build_central();
  build_actions();
  build_menus();
  build_toolbar();
  log_window_ = new LogWindow(this);
  connect(log_window_, &LogWindow::closed, this, [this] {
    settings_.InfoWindow = 0;
    actions_[ID_INFO_WINDOW]->setChecked(false);
  });
  connect(&auto_timer_, &QTimer::timeout, this, &MainWindow::auto_replay_tick);

  state_.records.file.reset();
  state_.records.working.reset();
  state_.working().set_size(19);
  restore_window_place(this, settings_.WinPos[MAIN_WIN_POS]);
  apply_view_settings();
  record_became_current();
  if (settings_.InfoWindow) log_window_->show();
}

MainWindow::~MainWindow() = default;

void MainWindow::build_central() {
  board_ = new BoardView(this);
  connect(board_, &BoardView::point_clicked, this,
          [this](int z, Qt::MouseButton b, QPoint) { click_point(z, b); });

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName("SysTabControl32");
  // Every tab label stays readable: the side never gets narrower than the tabs.
  tabs_->setUsesScrollButtons(false);
  tabs_->setElideMode(Qt::ElideNone);
  tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));
  record_info_ = new QLabel(tabs_);
  record_info_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  record_info_->setWordWrap(true);
  record_info_->setMargin(8);
  move_list_ = new QListWidget(tabs_);
  connect(move_list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row != state_.working().tesuu && move_list_->hasFocus()) go_to_move(row);
  });
  judgement_text_ = new QLabel(tabs_);
  judgement_text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  judgement_text_->setWordWrap(true);
  judgement_text_->setMargin(8);
  auto* analysis = new QLabel(QStringLiteral("検討機能\n試しに石を置くことができます\n変更内容は保存されません"), tabs_);
  analysis->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  analysis->setMargin(8);
  game_info_ = new QLabel(tabs_);
  game_info_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  game_info_->setWordWrap(true);
  game_info_->setMargin(8);
  game_info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tabs_->addTab(record_info_, QStringLiteral("棋譜情報"));
  tabs_->addTab(move_list_, QStringLiteral("棋譜一覧"));
  tabs_->addTab(judgement_text_, QStringLiteral("形勢判断"));
  tabs_->addTab(analysis, QStringLiteral("検討"));
  tabs_->addTab(game_info_, QStringLiteral("対局情報"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this] {
    if (actions_.isEmpty()) return;
    refresh();
  });
  tabs_->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tabs_->tabBar(), &QWidget::customContextMenuRequested, this, [this](QPoint at) {
    int tab = tabs_->tabBar()->tabAt(at);
    if (tab < TAB_FIGURE_FIRST || editor_busy()) return;
    tabs_->setCurrentIndex(tab);
    QMenu* menu = tab_popup();
    menu->exec(tabs_->tabBar()->mapToGlobal(at));
    menu->deleteLater();
  });

  prev_figure_ = new QPushButton(QStringLiteral("前参"), this);
  next_figure_ = new QPushButton(QStringLiteral("次参"), this);
  for (QPushButton* b : {prev_figure_, next_figure_}) {
    b->setMinimumSize(FIGURE_BUTTON_WIDTH, FIGURE_BUTTON_HEIGHT);
    b->setEnabled(false);
  }
  connect(prev_figure_, &QPushButton::clicked, this, [this] { command(ID_PREV_FIGURE); });
  connect(next_figure_, &QPushButton::clicked, this, [this] { command(ID_NEXT_FIGURE); });
  comment_ = new QPlainTextEdit(this);
  comment_->setObjectName("EDIT");
  connect(comment_, &QPlainTextEdit::textChanged, this, &MainWindow::comment_edited);

  auto* side = new QWidget(this);
  auto* side_layout = new QVBoxLayout(side);
  side_layout->setContentsMargins(4, 4, 4, 4);
  side_layout->addWidget(tabs_, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(prev_figure_);
  buttons->addWidget(next_figure_);
  buttons->addStretch();
  side_layout->addLayout(buttons);
  side_layout->addWidget(comment_, 2);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(board_);
  split->addWidget(side);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setChildrenCollapsible(false);
  split->setSizes({START_WIDTH * 3 / 4, START_WIDTH / 4});  // the side takes what the tabs need
  setCentralWidget(split);
  board_->setFocus();
}

void MainWindow::build_actions() {
  for (int i = 0; i < command_count; i++) {
    const CommandEntry& c = command_table[i];
    QAction* a = new QAction(QString::fromUtf8(c.label), this);
    a->setData(c.id);
    if (c.shortcut) {
      a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
      a->setShortcutContext(Qt::WindowShortcut);
    }
    if (c.tooltip) a->setToolTip(QString::fromUtf8(c.tooltip));
    a->setCheckable(c.checkable);
    a->setIcon(standard_icon(c.id));
    a->setEnabled(command_available(c.id));
    connect(a, &QAction::triggered, this, [this, id = c.id] { command(id); });
    addAction(a);  // shortcuts work with the menu bar hidden too
    actions_.insert(c.id, a);
  }
  auto* coords = new QActionGroup(this);
  for (int id : {ID_COORD_NONE, ID_COORD_KANJI, ID_COORD_LETTERS, ID_COORD_INTERNATIONAL})
    coords->addAction(actions_[id]);
}

void MainWindow::build_menus() {
  const char* const titles[] = {"ファイル(&F)", "編集(&E)", "表示(&V)", "移動(&M)", "ツール(&T)", "ヘルプ(&H)"};
  QMenu* menus[MENU_NONE];
  for (int m = 0; m < MENU_NONE; m++) menus[m] = menuBar()->addMenu(QString::fromUtf8(titles[m]));
  QMenu* coords = nullptr;
  for (int i = 0; i < command_count; i++) {
    const CommandEntry& c = command_table[i];
    if (c.menu == MENU_NONE) continue;
    QMenu* menu = menus[c.menu];
    bool coordinate = c.id == ID_COORD_NONE || c.id == ID_COORD_KANJI || c.id == ID_COORD_LETTERS ||
                      c.id == ID_COORD_INTERNATIONAL;
    if (coordinate) {
      if (!coords) {
        menu->addSeparator();
        coords = menu->addMenu(QStringLiteral("座標表示(&C)"));
      }
      coords->addAction(actions_[c.id]);
      continue;
    }
    if (c.id == ID_EXIT) {
      recent_anchor_ = menu->addSeparator();
      menu->addAction(actions_[c.id]);
      continue;
    }
    if (c.separator_before) menu->addSeparator();
    menu->addAction(actions_[c.id]);
  }
  file_menu_ = menus[MENU_FILE];
  connect(file_menu_, &QMenu::triggered, this, [this](QAction* a) {
    int id = a->data().toInt();
    if (id >= RECENT_MENU_ID && id < RECENT_MENU_ID + RECENT_FILE_MAX) open_recent(id - RECENT_MENU_ID);
  });
  rebuild_recent_menu(file_menu_, recent_anchor_, settings_);
}

void MainWindow::build_toolbar() {
  toolbar_ = addToolBar(QStringLiteral("ツールバー"));
  toolbar_->setObjectName("ToolBar");
  toolbar_->setMovable(false);
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const int buttons[] = {ID_NEW_GAME, ID_OPEN, ID_SAVE, ID_RECORD_LIST, ID_GAMEDB_SEARCH, ID_GAME_INFO, 0,
                         ID_FIRST, ID_BACK_10, ID_BACK_1, ID_FORWARD_1, ID_FORWARD_10, ID_LAST, 0,
                         ID_PREV_COMMENT, ID_NEXT_COMMENT, ID_AUTO_REPLAY, 0, ID_PASS, ID_JUDGEMENT,
                         ID_ANALYSIS, ID_FIGURE_LARGE, ID_RECORD_WINDOW};
  for (int id : buttons) {
    if (!id) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* a = actions_[id];
    toolbar_->addAction(a);
    // Buttons without a picture show the label without its key and shortcut.
    if (a->icon().isNull()) {
      QString text = a->text();
      int cut = text.indexOf('(');
      if (cut < 0) cut = text.indexOf('\t');
      a->setIconText(cut < 0 ? text : text.left(cut));
      if (auto* tb = qobject_cast<QToolButton*>(toolbar_->widgetForAction(a))) tb->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
  }
}

void MainWindow::apply_view_settings() {
  const Settings& s = settings_;
  actions_[ID_SOUND]->setChecked(s.SoundDrop);
  actions_[ID_TRIANGLE]->setChecked(s.Triangle);
  actions_[ID_NUMBERS]->setChecked(s.StoneNumber);
  actions_[ID_BMP_BOARD]->setChecked(s.AtView);
  actions_[ID_TOOLBAR]->setChecked(s.ToolBar);
  actions_[ID_FIGURE_LARGE]->setChecked(s.FigureLarge);
  actions_[ID_INFO_WINDOW]->setChecked(s.InfoWindow);
  const int coord_ids[] = {ID_COORD_NONE, ID_COORD_KANJI, ID_COORD_INTERNATIONAL, ID_COORD_LETTERS};
  actions_[coord_ids[std::clamp(s.Coordinate, 0, 3)]]->setChecked(true);
  toolbar_->setVisible(s.ToolBar);
  QFont comment_font(s.FontArray[0].face);
  comment_font.setPixelSize(s.FontArray[0].height);
  comment_->setFont(comment_font);
}

BoardScene MainWindow::current_scene() const {
  BoardScene s;
  s.figure = &state_.working();
  const int shown_figure = selected_figure();
  if (settings_.FigureLarge && shown_figure >= 0) {
    // 参考図の拡大: the selected figure takes the main board.
    s.figure = &state_.records.working.figures[shown_figure];
    s.numbers = true;
    s.triangle = false;
    s.coord_style = settings_.Coordinate;
    s.bmp_board = settings_.AtView;
    s.board_color = settings_.BoardColor;
    return s;
  }
  const Figure* ann = state_.annotation(state_.working().tesuu);
  if (ann && !state_.is_reference(*ann)) s.annotation = ann;
  s.analysis = analysis_on_;
  s.coord_style = settings_.Coordinate;
  s.numbers = settings_.StoneNumber;
  s.triangle = settings_.Triangle;
  s.bmp_board = settings_.AtView;
  s.board_color = settings_.BoardColor;
  s.judgement = judgement_shown_ ? &judgement_ : nullptr;
  return s;
}

void MainWindow::refresh() {
  update_figure_tabs();
  board_->set_scene(current_scene());
  update_tabs();
  const Figure* ann = comment_target();
  filling_comment_ = true;
  QString text = ann ? QString::fromStdString(cp932_to_utf8(ann->text)).replace("\r\n", "\n") : QString();
  if (comment_->toPlainText() != text) comment_->setPlainText(text);
  filling_comment_ = false;
  update_command_states();
  setWindowTitle(state_.title());
  if (record_window_) record_window_->rebuild(state_);
}

void MainWindow::update_tabs() {
  const Figure& f = state_.working();
  record_info_->setText(board_info_lines(f, settings_.Coordinate).join('\n'));
  game_info_->setText(game_info_text(f));
  if (move_list_->property("generation").toInt() != record_generation_) {
    move_list_->blockSignals(true);
    move_list_->clear();
    move_list_->addItem(QStringLiteral("=開始局面="));
    for (int i = 1; i <= f.move_count; i++) {
      const FigureMove& m = f.moves[i - 1];
      QString where = m.z ? QString::asprintf("%c%d", char('A' + figure_x(m.z) - 1 + (figure_x(m.z) >= 9)),
                                             f.b_size + 1 - figure_y(m.z))
                          : QStringLiteral("パス");
      move_list_->addItem(QStringLiteral("%1%2%3 %4")
                              .arg(i, 3)
                              .arg(state_.annotation(i) ? '*' : ' ')
                              .arg(m.color == 1 ? QStringLiteral("●") : QStringLiteral("○"))
                              .arg(where));
    }
    move_list_->setProperty("generation", record_generation_);
    move_list_->blockSignals(false);
  }
  move_list_->blockSignals(true);
  move_list_->setCurrentRow(f.tesuu);
  move_list_->blockSignals(false);
  if (judgement_shown_)
    judgement_text_->setText(QString::fromStdString(judgement_summary(judgement_)) +
                             QStringLiteral("\n\n（もう一度「形勢判断」で消えます）"));
  else if (!judgement_provider)
    judgement_text_->setText(QStringLiteral("形勢判断はまだ使えません。\n局面の解析エンジンが組み込まれると、"
                                            "地と死に石を盤上に表示します。"));
  else
    judgement_text_->setText(QStringLiteral("「形勢判断」で現在の局面の地と死に石を表示します。"));
}

void MainWindow::update_command_states() {
  const Figure& f = state_.working();
  const bool at_start = f.tesuu <= 0, at_end = f.tesuu >= f.move_count;
  for (int id : {ID_FIRST, ID_BACK_10, ID_BACK_1}) actions_[id]->setEnabled(!at_start);
  for (int id : {ID_FORWARD_1, ID_FORWARD_10, ID_LAST}) actions_[id]->setEnabled(!at_end);
  actions_[ID_PREV_COMMENT]->setEnabled(state_.previous_annotated(f.tesuu) >= 0);
  actions_[ID_NEXT_COMMENT]->setEnabled(state_.next_annotated(f.tesuu) >= 0);
  actions_[ID_DELETE_LAST]->setEnabled(f.move_count > 0 && at_end);
  const bool annotated = state_.annotation(f.tesuu) != nullptr;
  for (int id : {ID_EDIT_FIGURE, ID_DELETE_FIGURE}) actions_[id]->setEnabled(command_available(id) && annotated);
  actions_[ID_JUDGEMENT]->setChecked(judgement_shown_);
  actions_[ID_AUTO_REPLAY]->setChecked(auto_timer_.isActive());
  actions_[ID_AUTO_REPLAY]->setEnabled(!at_end || auto_timer_.isActive());
  tool_command_states();
}

void MainWindow::command(int id) {
  if (editor_busy()) return;
  QAction* a = actions_.value(id);
  if (a && !a->isEnabled()) return;
  const Figure& f = state_.working();
  switch (id) {
    case ID_OPEN: {
      if (!ask_save_changes()) return;
      QFileDialog dlg(this, QStringLiteral("棋譜を開く"));
      dlg.setObjectName("open_dialog");
      dlg.setOption(QFileDialog::DontUseNativeDialog);
      dlg.setFileMode(QFileDialog::ExistingFile);
      dlg.setNameFilter(QString::fromUtf8(OPEN_FILTER));
      if (!settings_.recent_dirs.isEmpty()) dlg.setDirectory(settings_.recent_dirs.first());
      if (!state_.file_path.isEmpty()) dlg.setDirectory(QFileInfo(state_.file_path).absolutePath());
      if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
      QString path = dlg.selectedFiles().first();
      if (record_kind_of(path) == FORMAT_UGZ) import_archive(path);
      else load_file(path);
      return;
    }
    case ID_SAVE: save_with_dialog(); return;
    case ID_EXIT: close(); return;
    case ID_PASS:
      if (judgement_shown_) {
        PRT("死活表示中は石は置けません。\n");
        return;
      }
      play_move(0);
      return;
    case ID_DELETE_LAST: delete_last_move(); return;
    case ID_NEW_GAME: new_game(); return;
    case ID_COPY_SGF: QApplication::clipboard()->setText(sgf_clipboard_text(state_.records.working)); return;
    case ID_COPY_BOARD: QApplication::clipboard()->setText(position_clipboard_text(f)); return;
    case ID_PASTE: paste(); return;
    case ID_ANALYSIS: toggle_analysis(); return;
    case ID_BOARD_EDIT: board_edit(); return;
    case ID_ROTATE: rotate_board(); return;
    case ID_GAME_INFO: edit_game_info(); return;
    case ID_ATTACH_PHOTO: attach_photos(); return;
    case ID_DELETE_PHOTOS: delete_photos(); return;
    case ID_ADD_FIGURE: edit_figure(true); return;
    case ID_EDIT_FIGURE: edit_figure(false); return;
    case ID_DELETE_FIGURE: delete_figure(); return;
    case ID_DELETE_ALL_FIGURES: case ID_DELETE_ALL_COMMENTS: case ID_DELETE_ALL: delete_all(id); return;
    case ID_FIGURE_RIGHT: move_figure(1); return;
    case ID_FIGURE_LEFT: move_figure(-1); return;
    case ID_PREV_FIGURE: step_figure(-1); return;
    case ID_NEXT_FIGURE: step_figure(1); return;
    case ID_RECORD_WINDOW: show_record_window(); return;
    case ID_PRINT: print_with_dialog(this, state_.working(), &settings_.WinPos[PRT_WIN_POS]); return;
    case ID_SAVE_IMAGE: save_image_with_dialog(this, settings_, current_scene()); return;
    case ID_RECORD_LIST: show_record_list(); return;
    case ID_GAMEDB_SEARCH: show_gamedb_search(); return;
    case ID_GAMEDB_BUILD: build_game_database(); return;
    case ID_TEST_FIGURE: open_test_window(); return;
    case ID_FIRST: navigate(0); return;
    case ID_BACK_10: navigate(f.tesuu - 10); return;
    case ID_BACK_1: navigate(f.tesuu - 1); return;
    case ID_FORWARD_1: navigate(f.tesuu + 1); return;
    case ID_FORWARD_10: navigate(f.tesuu + 10); return;
    case ID_LAST: navigate(f.move_count); return;
    case ID_PREV_COMMENT: {
      int n = state_.previous_annotated(f.tesuu);
      if (n >= 0) navigate(n);
      return;
    }
    case ID_NEXT_COMMENT: {
      int n = state_.next_annotated(f.tesuu);
      if (n >= 0) navigate(n);
      return;
    }
    case ID_AUTO_REPLAY: toggle_auto_replay(!auto_timer_.isActive()); return;
    case ID_JUDGEMENT: toggle_judgement(); return;
    case ID_COORD_NONE: settings_.Coordinate = COORD_NONE; break;
    case ID_COORD_KANJI: settings_.Coordinate = COORD_KANJI; break;
    case ID_COORD_LETTERS: settings_.Coordinate = COORD_LETTERS; break;
    case ID_COORD_INTERNATIONAL: settings_.Coordinate = COORD_INTERNATIONAL; break;
    case ID_NUMBERS: settings_.StoneNumber = !settings_.StoneNumber; break;
    case ID_TRIANGLE: settings_.Triangle = !settings_.Triangle; break;
    case ID_BMP_BOARD: settings_.AtView = !settings_.AtView; break;
    case ID_FIGURE_LARGE: settings_.FigureLarge = !settings_.FigureLarge; break;
    case ID_SOUND: settings_.SoundDrop = !settings_.SoundDrop; break;
    case ID_TOOLBAR: settings_.ToolBar = !settings_.ToolBar; break;
    case ID_INFO_WINDOW:
      settings_.InfoWindow = !log_window_->isVisible();
      log_window_->setVisible(settings_.InfoWindow);
      break;
    case ID_COPY_LOG:
      QApplication::clipboard()->setText(QString::fromStdString(log_text()));
      return;
    case ID_SETTINGS: show_settings(); return;
    case ID_HELP: show_help(); return;
    case ID_ABOUT: show_about(); return;
    default: return;
  }
  apply_view_settings();
  refresh();
}

bool MainWindow::ask_save_changes() {
  leave_analysis();
  if (!state_.modified) return true;
  QMessageBox box(QMessageBox::Question, QStringLiteral("棋譜は変更されています"),
                  QStringLiteral("現在の棋譜を保存しますか？"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setObjectName("save_changes");
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes: return save_with_dialog();
    case QMessageBox::No: return true;
    default: return false;
  }
}

bool MainWindow::open_path(const QString& path) {
  if (!ask_save_changes()) return false;
  if (record_kind_of(path) == FORMAT_UGZ) {
    import_archive(path);
    return true;
  }
  return load_file(path);
}

bool MainWindow::load_file(const QString& path, int game) {
  QString abs = QFileInfo(path).absoluteFilePath();
  if (game == GAME_ASK && (game = choose_game(abs)) == GAME_CANCELLED) return false;
  QString error;
  GameRecord& file = state_.records.file;
  if (!read_file_game(abs, game, file, settings_.LastMoveLoad, error)) {
    QMessageBox::warning(this, QString::fromLatin1(PRODUCT_NAME), error);
    if (!QFileInfo::exists(abs)) {
      delete_recent_file(settings_, abs);
      rebuild_recent_menu(file_menu_, recent_anchor_, settings_);
    }
    return false;
  }
  state_.records.file_to_working();
  state_.file_path = game_save_path(abs, game);
  state_.modified = false;
  add_recent_file(settings_, abs);
  rebuild_recent_menu(file_menu_, recent_anchor_, settings_);
  record_became_current();
  return true;
}

bool MainWindow::save_with_dialog() {
  leave_analysis();  // what was tried is not saved
  QFileDialog dlg(this, QStringLiteral("棋譜を保存"));
  dlg.setObjectName("save_dialog");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setNameFilter(QString::fromUtf8(SAVE_FILTER));
  dlg.setDefaultSuffix("ugf");
  connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
    if (filter.contains("*.sgf")) dlg.setDefaultSuffix("sgf");
    else if (filter.contains("*.ig1")) dlg.setDefaultSuffix("ig1");
    else dlg.setDefaultSuffix("ugf");
  });
  if (!state_.file_path.isEmpty()) {
    dlg.selectFile(state_.file_path);
    if (state_.file_path.endsWith(".sgf", Qt::CaseInsensitive)) dlg.selectNameFilter("SGFファイル(*.sgf)");
  } else if (!settings_.recent_dirs.isEmpty()) {
    dlg.setDirectory(settings_.recent_dirs.first());
  }
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  QString path = dlg.selectedFiles().first();
  state_.records.working_to_file();
  QString error;
  if (!write_record_file(path, state_.records.file, error)) {
    QMessageBox::warning(this, QString::fromLatin1(PRODUCT_NAME), error);
    return false;
  }
  state_.file_path = QFileInfo(path).absoluteFilePath();
  state_.modified = false;
  add_recent_file(settings_, state_.file_path);
  rebuild_recent_menu(file_menu_, recent_anchor_, settings_);
  refresh();
  return true;
}

void MainWindow::record_became_current() {
  record_generation_++;
  toggle_auto_replay(false);
  engine_take_record(state_.working(), state_.working().tesuu);
  judgement_shown_ = false;
  refresh();
}

void MainWindow::mark_modified() {
  record_generation_++;
  state_.modified = true;
  setWindowTitle(state_.title());
}

void MainWindow::click_point(int zc, Qt::MouseButton button) {
  if (editor_busy()) return;
  if (judgement_shown_) {
    PRT(button == Qt::RightButton ? "死活表示中は石は取れません。\n" : "死活表示中は石は置けません。\n");
    return;
  }
  if (board_->scene().figure != &state_.working()) return;  // an enlarged figure is only looked at
  if (button == Qt::RightButton) {
    QMenu* menu = board_popup(zc);
    menu->exec(QCursor::pos());
    menu->deleteLater();
    return;
  }
  if (button != Qt::LeftButton) return;
  play_move(zc);
}

void MainWindow::play_move(int zc) {
  Figure& f = state_.working();
  if (zc && f.board[zc] != EMPTY) {
    PRT("そこには石がありますよ。z=%x\n", zc);
    return;
  }
  if (f.move_count >= FIGURE_MOVES_MAX - 1) {
    QMessageBox::warning(this, QString::fromLatin1(PRODUCT_NAME),
                         QStringLiteral("これ以上の手は記録できません（%1手まで）").arg(FIGURE_MOVES_MAX - 1));
    return;
  }
  const int color = f.side_to_move();
  // Tried on a copy first: a move that cannot be kept must not cost the
  // later moves their place in the record.
  Figure trial = f;
  int code = trial.play_on_figure(zc, color);
  if (code == FIGURE_SUICIDE) {
    PRT("自殺手です z=%x\n", zc);
    return;
  }
  if (code == FIGURE_KO && settings_.KoMoveErr) {
    PRT("コウです z=%x\n", zc);
    return;
  }
  if (f.tesuu < f.move_count && !analysis_on_) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                    QStringLiteral("以降の手順、参考図は削除されます。\n続行しますか？"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setObjectName("truncate_question");
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok) return;
  }
  if (f.tesuu < f.move_count) state_.truncate_after_shown();
  f.append_move(zc, color);
  code = f.play_on_figure(zc, color);
  f.tesuu = f.move_count;
  if (code == FIGURE_KO) PRT("コウだけど続行・・・\n");
  if (analysis_on_) record_generation_++;  // tried moves leave the record unmodified
  else mark_modified();
  refresh();
  if (settings_.SoundDrop && !sound_path_.isEmpty()) play_sound_async(sound_path_);
}

void MainWindow::delete_last_move() {
  Figure& f = state_.working();
  if (f.move_count < 1 || f.tesuu != f.move_count) return;
  f.move_count--;
  f.moves[f.move_count] = FigureMove{0, 0, 0};
  f.goto_move(f.move_count);
  mark_modified();
  refresh();
}

void MainWindow::go_to_move(int n) {
  Figure& f = state_.working();
  f.goto_move(std::clamp(n, 0, f.move_count));
  if (judgement_shown_) {
    if (!judgement_provider || !judgement_provider(f, judgement_)) judgement_shown_ = false;
  }
  refresh();
}

void MainWindow::navigate(int target) {
  if (tabs_->currentIndex() == TAB_GAME_INFO) {
    PRT("対局情報画面で前後移動、無視\n");
    return;
  }
  go_to_move(target);
}

void MainWindow::show_judgement(const Judgement& j) {
  judgement_ = j;
  judgement_shown_ = true;
  refresh();
}

void MainWindow::hide_judgement() {
  judgement_shown_ = false;
  refresh();
}

void MainWindow::toggle_judgement() {
  if (judgement_shown_) {
    hide_judgement();
    return;
  }
  Judgement j;
  if (!judgement_provider) {
    actions_[ID_JUDGEMENT]->setChecked(false);
    tabs_->setCurrentIndex(TAB_JUDGEMENT);
    QMessageBox::information(this, QStringLiteral("形勢判断"),
                             QStringLiteral("形勢判断はまだ使えません。\n局面の解析エンジンが組み込まれていません。"));
    return;
  }
  if (!judgement_provider(state_.working(), j)) {
    actions_[ID_JUDGEMENT]->setChecked(false);
    return;
  }
  show_judgement(j);
}

void MainWindow::toggle_auto_replay(bool on) {
  if (!on) {
    auto_timer_.stop();
  } else {
    auto_timer_.start(std::max(AUTO_REPLAY_MIN_MS, int(settings_.AutoSec * 1000)));
  }
  if (actions_.contains(ID_AUTO_REPLAY)) update_command_states();
}

void MainWindow::auto_replay_tick() {
  Figure& f = state_.working();
  if (f.tesuu >= f.move_count) {
    toggle_auto_replay(false);
    return;
  }
  go_to_move(f.tesuu + 1);
  const Figure* ann = state_.annotation(f.tesuu);
  if (f.tesuu >= f.move_count || (settings_.AutoComment && ann && !ann->text.empty())) toggle_auto_replay(false);
}

void MainWindow::comment_edited() {
  if (filling_comment_) return;
  Figure* target = comment_target();
  Figure& ann = target ? *target : state_.records.working.annotation_at(state_.working().tesuu);
  ann.text = utf8_to_cp932(comment_->toPlainText().replace('\n', "\r\n").toStdString());
  // A comment emptied again leaves no figure behind unless it holds more than text.
  bool bare = ann.text.empty() && !state_.is_reference(ann) &&
              std::all_of(std::begin(ann.labels), std::end(ann.labels), [](int32_t l) { return l == 0; });
  if (bare) std::erase_if(state_.records.working.figures, [&](const Figure& fig) { return &fig == &ann; });
  if (analysis_on_) record_generation_++;
  else mark_modified();
  update_command_states();
}

void MainWindow::show_settings() {
  SettingsDialog dlg(settings_, this);
  connect(&dlg, &SettingsDialog::applied, this, [this](const Settings& s) {
    settings_ = s;
    if (auto_timer_.isActive()) auto_timer_.start(std::max(AUTO_REPLAY_MIN_MS, int(settings_.AutoSec * 1000)));
    apply_view_settings();
    refresh();
  });
  dlg.exec();
}

void MainWindow::show_about() {
  AboutDialog dlg(this);
  dlg.exec();
}

void MainWindow::show_help() {
  QString path = QDir(program_folder_now()).filePath("help/index.html");
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(this, QString::fromLatin1(PRODUCT_NAME), QStringLiteral("ヘルプを開けません：%1").arg(path));
    return;
  }
  if (desktop_opens_html() && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
  if (!help_window_) help_window_ = new HelpWindow(path, this);
  help_window_->show();
  help_window_->raise();
  help_window_->activateWindow();
}

void MainWindow::open_recent(int index) {
  if (index < 0 || index >= settings_.recent_files.size()) return;
  open_path(settings_.recent_files[index]);
}

void MainWindow::import_archive(const QString& path) {
  // The members land in the record folder the record list shows.
  QString folder = settings_.recent_dirs.isEmpty() ? QFileInfo(path).absolutePath() : settings_.recent_dirs.first();
  if (!QFileInfo(folder).isDir()) folder = QFileInfo(path).absolutePath();
  ImportReport report = import_ugz(QFile::encodeName(path).toStdString(), QFile::encodeName(folder).toStdString());
  QMessageBox box(QMessageBox::Information, QStringLiteral("ugz展開完了"), QString::fromStdString(report.text),
                  QMessageBox::Ok, this);
  box.setObjectName("ugz_report");
  box.exec();
  if (report.total && actions_[ID_RECORD_LIST]->isEnabled()) command(ID_RECORD_LIST);
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    QMainWindow::keyPressEvent(e);
    return;
  }
  switch (e->key()) {
    case Qt::Key_Right: command(ID_FORWARD_1); break;
    case Qt::Key_Left: command(ID_BACK_1); break;
    case Qt::Key_Up: case Qt::Key_PageUp: command(ID_BACK_10); break;
    case Qt::Key_Down: case Qt::Key_PageDown: command(ID_FORWARD_10); break;
    case Qt::Key_Home: command(ID_FIRST); break;
    case Qt::Key_End: command(ID_LAST); break;
    default: QMainWindow::keyPressEvent(e); return;
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) {
      e->acceptProposedAction();
      return;
    }
}

void MainWindow::dropEvent(QDropEvent* e) {
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) {
      e->acceptProposedAction();
      // Opening asks questions; let the drag finish first.
      QString path = url.toLocalFile();
      QTimer::singleShot(0, this, [this, path] { open_path(path); });
      return;
    }
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (editor_busy()) {
    PRT("\n\n現在思考中...別のボタンを。\n\n");
    e->ignore();
    return;
  }
  if (!ask_save_changes()) {
    e->ignore();
    return;
  }
  auto_timer_.stop();
  settings_.WinPos[MAIN_WIN_POS] = window_place_text(this);
  settings_.BoardSize = state_.working().b_size;
  save_settings(*store_, settings_);
  log_window_->hide();
  e->accept();
}
