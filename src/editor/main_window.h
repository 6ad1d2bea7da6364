// The main window "MIRO": the board, the tabs, the comment box, the commands.
#pragma once
#include <QHash>
#include <QMainWindow>
#include <QTimer>

#include "editor/board_scene.h"
#include "editor/editor_state.h"
#include "editor/settings.h"

class BoardView;
class LogWindow;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QTabWidget;
class QToolBar;

// Computes the judgement of a position; false when it cannot. The window
// has none until the whole-board analysis registers one.
using JudgementProvider = bool (*)(const Figure& shown, Judgement& out);

enum TabIndex { TAB_RECORD_INFO = 0, TAB_RECORD_LIST, TAB_JUDGEMENT, TAB_ANALYSIS, TAB_GAME_INFO };

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The window reads its settings from `store` and writes them back on close.
  explicit MainWindow(QSettings* store, QWidget* parent = nullptr);
  ~MainWindow() override;

  static void set_judgement_provider(JudgementProvider provider);

  EditorState& state() { return state_; }
  Settings& settings() { return settings_; }
  BoardView* board_view() const { return board_; }
  QAction* action(int id) const { return actions_.value(id); }
  QTabWidget* tabs() const { return tabs_; }

  // Runs a command as the menu would.
  void command(int id);
  // Opening with the unsaved-changes question; ".ugz" goes to the import.
  bool open_path(const QString& path);
  // The left-button path of a board click.
  void click_point(int zc, Qt::MouseButton button = Qt::LeftButton);
  // Shows a judgement computed elsewhere; the board draws it until switched off.
  void show_judgement(const Judgement& j);
  void hide_judgement();
  bool judgement_shown() const { return judgement_shown_; }
  void go_to_move(int n);
  void refresh();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void build_actions();
  void build_menus();
  void build_toolbar();
  void build_central();
  void apply_view_settings();
  void update_command_states();
  void update_tabs();
  BoardScene current_scene() const;

  // true to go on: nothing to save, saved, or the user said no.
  bool ask_save_changes();
  bool load_file(const QString& path);
  bool save_with_dialog();
  void record_became_current();
  void mark_modified();
  void play_move(int zc);
  void navigate(int target);
  void toggle_judgement();
  void toggle_auto_replay(bool on);
  void auto_replay_tick();
  void delete_last_move();
  void show_settings();
  void show_about();
  void show_help();
  void open_recent(int index);
  void import_archive(const QString& path);
  void comment_edited();

  QSettings* store_;
  Settings settings_;
  EditorState state_;
  QString sound_path_;

  BoardView* board_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QLabel* record_info_ = nullptr;
  QListWidget* move_list_ = nullptr;
  QLabel* judgement_text_ = nullptr;
  QLabel* game_info_ = nullptr;
  QPlainTextEdit* comment_ = nullptr;
  QPushButton* prev_figure_ = nullptr;
  QPushButton* next_figure_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QMenu* file_menu_ = nullptr;
  QAction* recent_anchor_ = nullptr;
  LogWindow* log_window_ = nullptr;
  QHash<int, QAction*> actions_;
  QTimer auto_timer_;
  bool judgement_shown_ = false;
  Judgement judgement_;
  bool filling_comment_ = false;
  int record_generation_ = 0;  // changes with every new or edited record: the move list follows
};
