#include <QAction>
#include <QFile>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

#include "editor/board_view.h"
#include "editor/commands.h"
#include "editor/main_window.h"
#include "core/log.h"
#include "editor/record_io.h"
#include "qt_env.h"
#include "window_answers.h"
#include "records/sjis.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QSettings store{dir.filePath("settings.ini"), QSettings::IniFormat};
  MainWindow w{&store};
  QString record = dir.filePath("game.sgf");

  void SetUp() override {
    write_file(record, TEN_MOVES);
    w.resize(900, 640);
  }

  void open_record() {
    answer_next_dialog([this](QWidget* d) { choose_file(d, record); });
    w.command(ID_OPEN);
  }
  Figure& f() { return w.state().working(); }
  bool enabled(int id) { return w.action(id)->isEnabled(); }
};

TEST_F(MainWindowTest, an_mgt_file_is_offered_by_the_open_dialog_and_read_as_sgf) {
  QString mgt = dir.filePath("collection.MGT");
  write_file(mgt, TEN_MOVES);
  QStringList filters;
  answer_next_dialog([&](QWidget* d) {
    filters = qobject_cast<QFileDialog*>(d)->nameFilters();
    choose_file(d, mgt);
  });
  w.command(ID_OPEN);
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_TRUE(filters.first().contains("*.mgt"));
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().info.black[0], "Kuro");
}

TEST_F(MainWindowTest, help_opens_in_a_window_of_its_own_when_the_desktop_has_no_browser) {
  QTemporaryDir empty;
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", empty.path().toLocal8Bit());  // no xdg-open to find
  bool refused = false;
  answer_next_dialog([&](QWidget* d) {
    refused = true;
    answer_box(d, QMessageBox::Ok);
  });
  w.command(ID_HELP);
  cancel_pending_answers();
  qputenv("PATH", path);
  EXPECT_FALSE(refused) << "a message box instead of the page";
  auto* help = w.findChild<QWidget*>("help_window");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  auto* browser = help->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->source().path().endsWith("help/index.html"));
  EXPECT_FALSE(browser->toPlainText().trimmed().isEmpty());
  w.command(ID_HELP);  // asked again, the same window comes forward
  EXPECT_EQ(w.findChildren<QTextBrowser*>().size(), 1);
}

TEST_F(MainWindowTest, command_states_at_move_0_and_at_the_last_move) {
  open_record();
  for (int id : {ID_FIRST, ID_BACK_10, ID_BACK_1, ID_PREV_COMMENT, ID_DELETE_LAST}) EXPECT_FALSE(enabled(id)) << id;
  for (int id : {ID_FORWARD_1, ID_FORWARD_10, ID_LAST, ID_NEXT_COMMENT}) EXPECT_TRUE(enabled(id)) << id;
  w.command(ID_LAST);
  EXPECT_EQ(f().tesuu, 10);
  for (int id : {ID_FORWARD_1, ID_FORWARD_10, ID_LAST, ID_NEXT_COMMENT}) EXPECT_FALSE(enabled(id)) << id;
  for (int id : {ID_FIRST, ID_BACK_10, ID_BACK_1, ID_PREV_COMMENT, ID_DELETE_LAST}) EXPECT_TRUE(enabled(id)) << id;
  w.command(ID_PREV_COMMENT);
  EXPECT_EQ(f().tesuu, 8);
  w.command(ID_PREV_COMMENT);
  EXPECT_EQ(f().tesuu, 2);
  EXPECT_FALSE(enabled(ID_PREV_COMMENT));
  EXPECT_FALSE(enabled(ID_DELETE_LAST));
}

TEST_F(MainWindowTest, keys_move_through_the_game_and_stop_at_its_ends) {
  open_record();
  QTest::keyClick(&w, Qt::Key_Left);
  QTest::keyClick(&w, Qt::Key_Home);
  EXPECT_EQ(f().tesuu, 0);
  QTest::keyClick(&w, Qt::Key_Right);
  EXPECT_EQ(f().tesuu, 1);
  QTest::keyClick(&w, Qt::Key_PageDown);
  EXPECT_EQ(f().tesuu, 10);
  QTest::keyClick(&w, Qt::Key_Right);
  QTest::keyClick(&w, Qt::Key_End);
  EXPECT_EQ(f().tesuu, 10);
  QTest::keyClick(&w, Qt::Key_Up);
  EXPECT_EQ(f().tesuu, 0);
  w.tabs()->setCurrentIndex(TAB_GAME_INFO);
  QTest::keyClick(&w, Qt::Key_End);
  EXPECT_EQ(f().tesuu, 0);
}

TEST_F(MainWindowTest, click_before_the_end_asks_cancel_keeps_every_move_ok_cuts_later_moves_and_figures) {
  open_record();
  w.go_to_move(4);
  bool asked = false;
  answer_next_dialog([&](QWidget* d) {
    asked = d->objectName() == "truncate_question";
    answer_box(d, QMessageBox::Cancel);
  });
  w.click_point(figure_z(9, 1));
  EXPECT_TRUE(asked);
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().tesuu, 4);
  EXPECT_FALSE(w.state().modified);
  answer_next_dialog([](QWidget* d) { answer_box(d, QMessageBox::Ok); });
  w.click_point(figure_z(9, 1));
  EXPECT_EQ(f().move_count, 5);
  EXPECT_EQ(f().tesuu, 5);
  EXPECT_EQ(f().moves[4].z, figure_z(9, 1));
  EXPECT_EQ(f().moves[4].color, 1);
  EXPECT_NE(w.state().annotation(2), nullptr);
  EXPECT_EQ(w.state().annotation(8), nullptr);
  EXPECT_TRUE(w.state().modified);
}

TEST_F(MainWindowTest, suicide_and_occupied_points_change_nothing_and_ask_nothing) {
  write_file(record, "(;GM[1]SZ[9];B[ba];W[ee];B[ab];W[ff])");
  open_record();
  w.go_to_move(2);
  bool asked = false;
  answer_next_dialog([&](QWidget* d) {
    asked = true;
    answer_box(d, QMessageBox::Cancel);
  });
  w.go_to_move(3);
  w.click_point(figure_z(1, 1));  // white into black's corner: suicide
  w.click_point(figure_z(2, 1));  // occupied
  QTest::qWait(100);
  EXPECT_FALSE(asked);
  EXPECT_EQ(f().move_count, 4);
  EXPECT_EQ(f().tesuu, 3);
  EXPECT_FALSE(w.state().modified);
  cancel_pending_answers();
}

TEST_F(MainWindowTest, pass_and_delete_last_move) {
  w.click_point(figure_z(5, 5));
  w.command(ID_PASS);
  EXPECT_EQ(f().move_count, 2);
  EXPECT_EQ(f().moves[1].z, 0);
  EXPECT_EQ(f().side_to_move(), 1);
  w.command(ID_DELETE_LAST);
  w.command(ID_DELETE_LAST);
  EXPECT_EQ(f().move_count, 0);
  EXPECT_EQ(f().board[figure_z(5, 5)], 0);
  EXPECT_FALSE(enabled(ID_DELETE_LAST));
}

bool fake_judgement(const Figure& shown, Judgement& out) {
  out = Judgement{};
  out.territory[figure_z(1, 1)] = int8_t(shown.tesuu);
  out.margin = shown.tesuu + 0.5;
  return true;
}

TEST_F(MainWindowTest, judgement_refuses_clicks_while_shown_and_says_when_unavailable) {
  MainWindow::set_judgement_provider(nullptr);
  bool told = false;
  answer_next_dialog([&](QWidget* d) {
    told = qobject_cast<QMessageBox*>(d) != nullptr;
    answer_box(d, QMessageBox::Ok);
  });
  w.command(ID_JUDGEMENT);
  EXPECT_TRUE(told);
  EXPECT_FALSE(w.judgement_shown());

  w.show_judgement(Judgement{});
  w.click_point(figure_z(3, 3));
  w.click_point(figure_z(3, 3), Qt::RightButton);
  w.command(ID_PASS);
  EXPECT_EQ(f().move_count, 0);
  w.command(ID_JUDGEMENT);
  EXPECT_FALSE(w.judgement_shown());
  w.click_point(figure_z(3, 3));
  EXPECT_EQ(f().move_count, 1);

  MainWindow::set_judgement_provider(fake_judgement);
  w.command(ID_JUDGEMENT);
  ASSERT_TRUE(w.judgement_shown());
  ASSERT_NE(w.board_view()->scene().judgement, nullptr);
  EXPECT_EQ(w.board_view()->scene().judgement->territory[figure_z(1, 1)], 1);
  w.go_to_move(0);  // the overlay follows the shown position
  EXPECT_EQ(w.board_view()->scene().judgement->territory[figure_z(1, 1)], 0);
  // The judgement tab shows the count of the shown move.
  auto* tab = qobject_cast<QLabel*>(w.findChild<QTabWidget*>("SysTabControl32")->widget(TAB_JUDGEMENT));
  ASSERT_NE(tab, nullptr);
  EXPECT_TRUE(tab->text().contains(QStringLiteral("黒 半目勝ち"))) << tab->text().toStdString();
  MainWindow::set_judgement_provider(nullptr);
}

TEST_F(MainWindowTest, unsaved_changes_question_cancel_stops_and_no_goes_on) {
  w.click_point(figure_z(3, 3));
  answer_next_dialog([](QWidget* d) { answer_box(d, QMessageBox::Cancel); });
  w.command(ID_OPEN);
  EXPECT_EQ(f().move_count, 1);
  EXPECT_TRUE(w.state().modified);
  answer_next_dialog([this](QWidget* d) {
    answer_box(d, QMessageBox::No);
    answer_next_dialog([this](QWidget* d2) { choose_file(d2, record); });
  });
  w.command(ID_OPEN);
  EXPECT_EQ(f().move_count, 10);
  EXPECT_FALSE(w.state().modified);
}

TEST_F(MainWindowTest, open_edit_save_round_trips_in_both_formats_and_marks_changes_once) {
  open_record();
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().tesuu, 0);
  EXPECT_EQ(w.windowTitle(), "game.sgf - Ranvel Editor");
  ASSERT_FALSE(w.settings().recent_files.isEmpty());
  EXPECT_EQ(w.settings().recent_files.first(), QFileInfo(record).absoluteFilePath());
  w.command(ID_LAST);
  w.click_point(figure_z(1, 9));
  EXPECT_EQ(w.windowTitle(), "game.sgf (更新) - Ranvel Editor");
  w.click_point(figure_z(9, 9));
  EXPECT_EQ(w.windowTitle(), "game.sgf (更新) - Ranvel Editor");
  for (const char* name : {"out.ugf", "out.sgf"}) {
    QString path = dir.filePath(name);
    answer_next_dialog([&](QWidget* d) { choose_file(d, path); });
    w.command(ID_SAVE);
    EXPECT_FALSE(w.state().modified) << name;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("%1 - Ranvel Editor").arg(name));
    GameRecord back;
    QString error;
    ASSERT_TRUE(read_record_file(path, back, true, error)) << error.toStdString();
    EXPECT_EQ(back.main.move_count, 12) << name;
    EXPECT_EQ(back.main.moves[10].z, figure_z(1, 9)) << name;
    EXPECT_EQ(back.main.info.black[0], "Kuro") << name;
  }
  // The saved file opens again as the current record.
  record = dir.filePath("out.ugf");
  open_record();
  EXPECT_EQ(f().move_count, 12);
  EXPECT_EQ(w.windowTitle(), "out.ugf - Ranvel Editor");
}

TEST_F(MainWindowTest, a_dropped_file_is_opened) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(record)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  EXPECT_TRUE(drop.isAccepted());
  QTest::qWait(50);
  EXPECT_EQ(f().move_count, 10);
}

TEST_F(MainWindowTest, closing_writes_the_settings_back) {
  w.command(ID_NUMBERS);
  w.command(ID_COORD_KANJI);
  w.close();
  store.sync();
  EXPECT_EQ(store.value("StoneNumber").toInt(), 1);
  EXPECT_EQ(store.value("Coordinate").toInt(), COORD_KANJI);
  EXPECT_EQ(store.value("MainWinPos").toString().split(' ').size(), 9);
}

TEST_F(MainWindowTest, the_comment_box_edits_the_comment_of_the_shown_move) {
  open_record();
  w.go_to_move(2);
  auto* box = w.findChild<QPlainTextEdit*>("EDIT");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->toPlainText(), "two");
  w.go_to_move(5);
  EXPECT_TRUE(box->toPlainText().isEmpty());
  box->setPlainText(QStringLiteral("好手\n次"));
  ASSERT_NE(w.state().annotation(5), nullptr);
  EXPECT_EQ(w.state().annotation(5)->text, utf8_to_cp932("好手\r\n次"));
  EXPECT_TRUE(w.state().modified);
  w.go_to_move(0);
  w.command(ID_NEXT_COMMENT);
  w.command(ID_NEXT_COMMENT);
  EXPECT_EQ(f().tesuu, 5);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("好手\n次"));
  box->clear();
  EXPECT_EQ(w.state().annotation(5), nullptr);
}

TEST_F(MainWindowTest, auto_replay_advances_and_stops_at_a_comment) {
  open_record();
  w.settings().AutoSec = 0;
  w.settings().AutoComment = 1;
  w.command(ID_AUTO_REPLAY);
  EXPECT_TRUE(w.action(ID_AUTO_REPLAY)->isChecked());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.action(ID_AUTO_REPLAY)->isChecked(); }, 3000));
  EXPECT_EQ(f().tesuu, 2);  // the comment at move 2 stops it
  w.settings().AutoComment = 0;
  w.command(ID_AUTO_REPLAY);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.action(ID_AUTO_REPLAY)->isChecked(); }, 3000));
  EXPECT_EQ(f().tesuu, 10);
  EXPECT_FALSE(w.action(ID_AUTO_REPLAY)->isEnabled());
}

// A committed archive of two records (the records tests decode it member by member).
TEST_F(MainWindowTest, an_opened_ugz_is_imported_into_the_record_folder_and_reported) {
  QDir folder(dir.filePath("records"));
  ASSERT_TRUE(folder.mkpath("."));
  w.settings().recent_dirs = QStringList{folder.absolutePath()};
  QString report;
  answer_next_dialog([&](QWidget* d) {
    report = qobject_cast<QMessageBox*>(d)->text();
    answer_box(d, QMessageBox::Ok);
  });
  EXPECT_TRUE(w.open_path(QStringLiteral(RECORDS_TEST_DATA "/lh6_l1.ugz")));
  EXPECT_EQ(report, QStringLiteral("2個の棋譜を取得しました。"));
  EXPECT_EQ(folder.entryList({"*.ugf"}).size(), 2);
  EXPECT_EQ(f().move_count, 0);  // an archive does not replace the record
}

TEST_F(MainWindowTest, the_information_window_shows_the_log_and_switches_file_output) {
  w.command(ID_INFO_WINDOW);
  auto* log = w.findChild<QWidget*>("PrintClass");
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(log->windowTitle(), QStringLiteral("情報表示"));
  PRT("info window check %d\n", 42);
  EXPECT_TRUE(QTest::qWaitFor([&] {
    return log->findChild<QPlainTextEdit*>()->toPlainText().contains("info window check 42");
  }, 2000));
  QAction* to_file = nullptr;
  for (QAction* a : log->findChildren<QAction*>())
    if (a->text() == QStringLiteral("PRTをファイル出力(&R)")) to_file = a;
  ASSERT_NE(to_file, nullptr);
  to_file->trigger();
  EXPECT_TRUE(log_file_output());
  to_file->trigger();
  EXPECT_FALSE(log_file_output());
  log->close();
  EXPECT_FALSE(w.action(ID_INFO_WINDOW)->isChecked());
  EXPECT_EQ(w.settings().InfoWindow, 0);
}

TEST_F(MainWindowTest, the_move_list_follows_a_new_record_of_the_same_length) {
  open_record();
  auto* list = w.findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 11);
  EXPECT_TRUE(list->item(1)->text().contains("C7")) << list->item(1)->text().toStdString();
  EXPECT_TRUE(list->item(2)->text().contains('*'));  // the comment at move 2
  write_file(record, "(;GM[1]SZ[9];B[ee];W[gg];B[cg];W[gc];B[ce];W[ef];B[fe];W[ff];B[dg];W[fc])");
  open_record();
  ASSERT_EQ(list->count(), 11);
  EXPECT_TRUE(list->item(1)->text().contains("E5")) << list->item(1)->text().toStdString();
  EXPECT_FALSE(list->item(2)->text().contains('*'));
}

TEST_F(MainWindowTest, a_ko_recapture_is_refused_only_with_the_ko_rule_on) {
  // Black has just taken the ko at C2 (from the top left); white retakes at B2.
  write_file(record, "(;GM[1]SZ[9];B[ba];W[ca];B[ab];W[bb];B[bc];W[db];B[ii];W[cc];B[cb])");
  open_record();
  w.command(ID_LAST);
  ASSERT_EQ(f().board[figure_z(2, 2)], 0);
  w.settings().KoMoveErr = 1;
  w.click_point(figure_z(2, 2));
  EXPECT_EQ(f().move_count, 9);
  w.settings().KoMoveErr = 0;
  w.click_point(figure_z(2, 2));
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().board[figure_z(2, 2)], 2);
  EXPECT_EQ(f().board[figure_z(3, 2)], 0);
  EXPECT_EQ(f().prisoners[1], 1);
}

TEST_F(MainWindowTest, choosing_a_recent_file_item_opens_it) {
  open_record();
  const QString first = QFileInfo(record).absoluteFilePath();
  record = dir.filePath("second.sgf");
  write_file(record, "(;GM[1]SZ[13];B[gg])");
  open_record();
  ASSERT_EQ(f().b_size, 13);
  QMenu* file_menu = w.menuBar()->actions().first()->menu();
  QAction* item = nullptr;
  for (QAction* a : file_menu->actions())
    if (a->data().toInt() == RECENT_MENU_ID + 1) item = a;
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->text(), "&2 " + first);
  item->trigger();
  EXPECT_EQ(f().b_size, 9);
  EXPECT_EQ(w.settings().recent_files.first(), first);
}

}  // namespace
