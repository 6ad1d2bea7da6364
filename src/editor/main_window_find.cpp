// The main window's ways to find games: the record list, collections, the
// game database search and its builder.
#include <QFile>
#include <QMessageBox>

#include "editor/board_view.h"
#include "editor/game_chooser.h"
#include "editor/gamedb_build_dialog.h"
#include "editor/gamedb_dialog.h"
#include "editor/main_window.h"
#include "editor/record_list.h"
#include "knowledge/gamedb.h"

RecordListWindow* MainWindow::record_list() const { return record_list_; }

GameDbDialog* MainWindow::gamedb_dialog() const { return gamedb_dialog_; }

bool MainWindow::open_game(const QString& path, int game) {
  if (!ask_save_changes() || !load_file(path, game)) return false;
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  return true;
}

int MainWindow::choose_game(const QString& path) {
  if (count_file_games(path) <= 1) return GAME_ONLY;
  GameChooser chooser(path, this);
  if (!chooser.fill() || chooser.exec() != QDialog::Accepted || chooser.chosen_game() < 0) return GAME_CANCELLED;
  return chooser.chosen_game();
}

void MainWindow::show_record_list() {
  if (record_list_) {
    if (record_list_->isMinimized()) record_list_->showNormal();
    record_list_->raise();
    record_list_->activateWindow();
    return;
  }
  record_list_ = new RecordListWindow(settings_, [this](const QString& path, int game) { return open_game(path, game); },
                                      this);
  record_list_->show();
  record_list_->scan_folder();
}

void MainWindow::show_gamedb_search() {
  if (!gamedb_dialog_) {
    gamedb_dialog_ = new GameDbDialog(
        settings_, &state_.working(), board_,
        [this](const QString& path, int move) {
          if (!open_game(path, GAME_ONLY)) return false;
          go_to_move(move);  // the position that was searched, as the game reached it
          return true;
        },
        this);
  }
  gamedb_dialog_->show();
  gamedb_dialog_->raise();
  gamedb_dialog_->activateWindow();
}

void MainWindow::build_game_database() {
  GameDbBuildDialog dlg(settings_.GameDbFolder, this);
  if (dlg.exec() != QDialog::Accepted) return;
  QString report;
  const bool built = run_gamedb_build(this, dlg.sources(), dlg.destination(), report);
  if (built) {
    settings_.GameDbFolder = dlg.destination();
    gamedb_set_folder(QFile::encodeName(dlg.destination()).toStdString());
  }
  QMessageBox box(built ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("棋譜データベース作成"),
                  report.isEmpty() ? QStringLiteral("作成できませんでした。") : report, QMessageBox::Ok, this);
  box.setObjectName("build_report");
  box.exec();
}
