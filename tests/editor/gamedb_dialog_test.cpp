#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

#include "editor/board_view.h"
#include "editor/commands.h"
#include "editor/gamedb_dialog.h"
#include "editor/main_window.h"
#include "editor/settings.h"
#include "knowledge/gamedb.h"
#include "qt_env.h"
#include "records/record_io.h"
#include "support/engine_setup.h"
#include "window_answers.h"

namespace {

// Stones on the odd lines only never touch, so no game has a capture.
std::vector<std::pair<int, int>> scattered_points(unsigned seed) {
  std::vector<std::pair<int, int>> points;
  for (int y = 1; y <= 19; y += 2)
    for (int x = 1; x <= 19; x += 2) points.emplace_back(x, y);
  std::shuffle(points.begin(), points.end(), std::mt19937(seed));
  return points;
}

std::string sgf_game(const std::vector<std::pair<int, int>>& moves, const char* black, const char* result) {
  std::string s = std::string("(;GM[1]FF[4]SZ[19]PB[") + black + "]PW[W]DT[2001]RE[" + result + "]";
  for (size_t i = 0; i < moves.size(); i++)
    s += std::string(i % 2 ? ";W[" : ";B[") + char('a' + moves[i].first - 1) + char('a' + moves[i].second - 1) + "]";
  return s + ")\n";
}

class GameDbDialogTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  Settings settings;
  GameRecord record;
  std::vector<std::pair<int, int>> first = scattered_points(1), second = first, other = scattered_points(2);
  std::vector<std::pair<QString, int>> opened;

  void SetUp() override {
    engine_setup(19);
    // Games 1 and 2 share their first 20 moves; game 3 goes its own way.
    std::swap(second[20], second[40]);
    std::string text = sgf_game({first.begin(), first.begin() + 60}, "One", "B+R") +
                       sgf_game({second.begin(), second.begin() + 60}, "Two", "W+2.5") +
                       sgf_game({other.begin(), other.begin() + 60}, "Three", "B+R");
    const std::string source = QFile::encodeName(dir.filePath("games.sgf")).toStdString();
    std::string error;
    ASSERT_TRUE(replace_file(source, text, error));
    ASSERT_EQ(build_gamedb({source}, QFile::encodeName(dir.filePath("db")).toStdString(), stdout), 0);
    settings.GameDbFolder = dir.filePath("db");
    gamedb_set_folder("/nonexistent");  // a database loaded by another test is not ours
    ASSERT_EQ(read_record(FORMAT_SGF, text, record, false), LOAD_OK);
    record.main.goto_move(20);
  }
  void TearDown() override {
    cancel_pending_answers();
    gamedb_set_folder("");
  }
  std::unique_ptr<GameDbDialog> make_dialog(BoardView* board = nullptr) {
    auto d = std::make_unique<GameDbDialog>(settings, &record.main, board, [this](const QString& path, int move) {
      opened.emplace_back(path, move);
      return true;
    });
    d->setAttribute(Qt::WA_DeleteOnClose, false);
    d->show();
    return d;
  }
};

TEST_F(GameDbDialogTest, a_games_position_after_20_moves_finds_both_games_and_ranks_their_next_moves) {
  auto d = make_dialog();
  d->findChild<QPushButton*>("search_whole")->click();
  QTableWidget* matches = d->match_table();
  ASSERT_EQ(matches->rowCount(), 2);
  EXPECT_EQ(matches->columnCount(), 7);
  // All seven columns in view as the dialog opens, the player columns not cut off.
  EXPECT_FALSE(matches->horizontalScrollBar()->isVisible());
  QStringList players = {matches->item(0, 5)->text(), matches->item(1, 5)->text()};
  players.sort();
  EXPECT_EQ(players, QStringList({"One", "Two"}));
  const std::vector<NextMove>& next = d->next_moves();
  ASSERT_EQ(next.size(), 2u);
  std::vector<int> points = {next[0].zc, next[1].zc};
  std::sort(points.begin(), points.end());
  std::vector<int> expected = {figure_z(first[20].first, first[20].second), figure_z(second[20].first, second[20].second)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(points, expected);
  EXPECT_EQ(next[0].letter, 'A');
  EXPECT_EQ(next[1].letter, 'B');
  // Black won the game that went on at first[20], White the other.
  const NextMove& one = next[0].zc == expected[0] ? next[0] : next[1];
  EXPECT_EQ(one.black_wins + one.white_wins, 1);
  EXPECT_EQ(d->next_table()->rowCount(), 2);
  EXPECT_TRUE(d->next_table()->item(0, 4)->text().startsWith("50.0"));

  // Double-clicking a row opens that game's file at the searched move.
  int row_of_two = matches->item(0, 5)->text() == "Two" ? 0 : 1;
  const QRect cell = matches->visualItemRect(matches->item(row_of_two, 0));
  QTest::mouseClick(matches->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(matches->viewport(), Qt::LeftButton, {}, cell.center());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(QFileInfo(opened[0].first).fileName(), "2.sgf");
  EXPECT_EQ(QFileInfo(opened[0].first).absolutePath(), QDir(dir.filePath("db")).absolutePath());
  EXPECT_EQ(opened[0].second, 20);
}

TEST_F(GameDbDialogTest, corner_search_and_a_changed_board_take_the_letters_away) {
  BoardView board;
  BoardScene scene;
  scene.figure = &record.main;
  board.set_scene(scene);
  board.resize(420, 420);
  board.show();
  auto d = make_dialog(&board);
  // The empty corner is every game's start: three games, their first moves lettered.
  record.main.goto_move(0);
  const QImage before = board.grab().toImage();
  d->findChild<QPushButton*>("search_corner")->click();
  ASSERT_EQ(d->result()->total, 3);
  EXPECT_EQ(d->next_moves().size(), 2u);  // games 1 and 2 begin alike
  EXPECT_TRUE(d->marks_apply());
  EXPECT_NE(board.grab().toImage(), before);
  record.main.goto_move(1);
  EXPECT_FALSE(d->marks_apply());
  record.main.goto_move(0);
  d->close();
  EXPECT_FALSE(d->marks_apply());
  EXPECT_EQ(board.grab().toImage(), before);
}

TEST_F(GameDbDialogTest, without_a_database_the_dialog_says_how_to_make_one) {
  settings.GameDbFolder = dir.filePath("nowhere");
  auto d = make_dialog();
  QString text;
  answer_next_dialog([&](QWidget* box) {
    text = qobject_cast<QMessageBox*>(box)->text();
    answer_box(box, QMessageBox::Ok);
  });
  d->findChild<QPushButton*>("search_whole")->click();
  EXPECT_TRUE(text.contains("--build-gamedb"));
  EXPECT_EQ(d->match_table()->rowCount(), 0);
}

TEST(MainWindowGameDb, search_sits_beside_the_record_list_in_menu_and_toolbar_and_opens_once) {
  QTemporaryDir dir;
  QSettings store{dir.filePath("settings.ini"), QSettings::IniFormat};
  MainWindow w(&store);
  QAction* search = w.action(ID_GAMEDB_SEARCH);
  ASSERT_TRUE(search->isEnabled());
  EXPECT_EQ(search->text(), "棋譜データベース検索(&D)...");
  auto* toolbar = w.findChild<QToolBar*>("ToolBar");
  EXPECT_TRUE(toolbar->actions().contains(search));
  w.command(ID_GAMEDB_SEARCH);
  GameDbDialog* d = w.gamedb_dialog();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(d->isModal());
  w.command(ID_GAMEDB_SEARCH);
  EXPECT_EQ(w.gamedb_dialog(), d);
}

}  // namespace
