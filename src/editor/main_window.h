// The main window "MIRO": the board, the tabs, the comment box, the commands.
#pragma once
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "editor/board_scene.h"
#include "editor/editor_state.h"
#include "editor/record_rows.h"
#include "editor/record_window.h"
#include "editor/settings.h"

class BoardView;
class GameDbDialog;
class RecordListWindow;
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

// The reference-figure tabs "参考図%d" follow the fixed ones.
enum TabIndex { TAB_RECORD_INFO = 0, TAB_RECORD_LIST, TAB_JUDGEMENT, TAB_ANALYSIS, TAB_GAME_INFO, TAB_FIGURE_FIRST };

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

  bool analysis_on() const { return analysis_on_; }
  // The right-button menu of the board at a point (the caller runs and deletes it).
  QMenu* board_popup(int zc);
  // The menu of a figure tab (the caller runs and deletes it).
  QMenu* tab_popup();
  // Shift, insert or delete-only at the shown move, on the clicked point.
  void edit_moves(int id, int zc);
  // FigureList indices of the figures that have tabs, in tab order.
  const std::vector<int>& figure_tabs() const { return figure_tabs_; }
  // The FigureList index of the figure whose tab is shown, -1 when none is.
  int selected_figure() const;
  void select_figure(int list_index);
  RecordWindow* record_window() const { return record_window_; }
  RecordListWindow* record_list() const;
  GameDbDialog* gamedb_dialog() const;
  // Opens game `game` of a record file (-1: a file's only game) after the
  // unsaved-changes question and comes to the front.
  bool open_game(const QString& path, int game);

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
  // game: the game of a collection, -1 for a file's only game, GAME_ASK to offer a collection's games.
  bool load_file(const QString& path, int game = GAME_ASK);
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

  // Editing tools (main_window_tools.cpp).
  void new_game();
  void paste();
  void toggle_analysis();
  void leave_analysis();
  void board_edit();
  void rotate_board();
  void edit_game_info();
  void attach_photos();
  void delete_photos();
  void edit_figure(bool fresh);
  void delete_figure();
  void delete_all(int id);
  void move_figure(int step);
  void step_figure(int step);
  void show_record_window();
  // The record list and the game database (main_window_find.cpp).
  void show_record_list();
  void show_gamedb_search();
  void build_game_database();
  // The game of a collection to open: -1 for a file with one game, GAME_CANCELLED.
  int choose_game(const QString& path);
  void open_test_window();
  void update_figure_tabs();
  void tool_command_states();
  // The figure the comment box and the figure commands work on: the selected
  // tab's, else the one at the shown move; null when there is none.
  Figure* comment_target();
  // A new record takes the window's place (new game, paste, board edit).
  void take_new_record(bool modified);

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
  bool analysis_on_ = false;
  GameRecord analysis_saved_;  // the record as it was when analysis began
  bool analysis_saved_modified_ = false;
  std::vector<int> figure_tabs_;
  QList<BoardView*> figure_views_;
  QPointer<RecordWindow> record_window_;
  QPointer<RecordListWindow> record_list_;
  QPointer<GameDbDialog> gamedb_dialog_;
  QPointer<QWidget> help_window_;  // the in-program help when the desktop cannot show it
  Judgement judgement_;
  bool filling_comment_ = false;
  int record_generation_ = 0;  // changes with every new or edited record: the move list follows
};
