#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "editor/commands.h"
#include "editor/folder_move_dialog.h"
#include "editor/game_chooser.h"
#include "editor/main_window.h"
#include "editor/record_files.h"
#include "editor/record_list.h"
#include "editor/record_table.h"
#include "editor/settings.h"
#include "qt_env.h"
#include "records/sjis.h"
#include "window_answers.h"

namespace {

QByteArray game(const char* black, const char* white, const char* extra = "") {
  return QByteArray("(;GM[1]FF[4]CA[UTF-8]SZ[19]PB[") + black + "]PW[" + white + "]" + extra + ";B[pd];W[dp])\n";
}

// Answers the modal dialogs that open one after another, in order; each
// answer gets the dialog. Counts the dialogs answered.
struct DialogChain {
  std::vector<std::function<void(QWidget*)>> answers;
  size_t answered = 0;
  QWidget* last = nullptr;
  std::shared_ptr<int> token = std::make_shared<int>(0);  // polls stop with the chain

  void start() { poll(); }
  void poll() {
    if (answered >= answers.size()) return;
    QWidget* w = QApplication::activeModalWidget();
    if (w && w != last && w->isVisible()) {
      last = w;
      answers[answered++](w);
      // A dialog answered and closed: the next one may reuse its address.
      if (!w->isVisible()) last = nullptr;
    }
    QTimer::singleShot(10, [this, alive = std::weak_ptr<int>(token)] {
      if (!alive.expired()) poll();
    });
  }
};

class RecordListTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QString folder = dir.filePath("棋譜");
  Settings settings;
  std::vector<std::pair<QString, int>> opened;
  std::unique_ptr<RecordListWindow> list;

  void SetUp() override {
    QDir().mkpath(folder);
    write_file(folder + "/b_game.sgf", game("本因坊秀策", "井上幻庵", "DT[1846-09-11]RE[B+2]EV[御城碁]C[名局]"));
    write_file(folder + "/a_game.sgf", game("Lee", "Cho", "DT[2001-05-01]RE[W+R]"));
    write_file(folder + "/collection.sgf",
               game("C1", "X", "DT[2010]") + game("C2", "X", "DT[2011]") + game("C3", "X", "DT[2012]RE[B+R]"));
    write_file(folder + "/broken.sgf", "this is not a record");
    write_file(folder + "/notes.txt", "(;PB[not listed])");
    settings.recent_dirs = {folder};
  }
  void TearDown() override { cancel_pending_answers(); }

  void make_list() {
    list = std::make_unique<RecordListWindow>(
        settings, [this](const QString& path, int game) {
          opened.emplace_back(path, game);
          return true;
        });
    list->show();
  }
  QString column(int row, int c) { return list->model().row(row).column_text(c); }
  QStringList column_texts(int c) {
    QStringList texts;
    for (int r = 0; r < list->model().rowCount(); r++) texts << column(r, c);
    return texts;
  }
  void click_header(int c) {
    QHeaderView* h = list->table()->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 5, h->height() / 2));
  }
  void select_files(const QStringList& names) {
    list->table()->clearSelection();
    for (int r = 0; r < list->model().rowCount(); r++)
      if (names.contains(list->model().row(r).file))
        list->table()->selectionModel()->select(list->table()->model()->index(r, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
};

TEST_F(RecordListTest, scan_lists_every_game_of_the_record_files_and_skips_what_it_cannot_read) {
  make_list();
  ASSERT_TRUE(list->scan_folder());
  EXPECT_EQ(column_texts(COL_FILE), QStringList({"a_game.sgf", "b_game.sgf", "collection.sgf #1", "collection.sgf #2",
                                                 "collection.sgf #3"}));
  EXPECT_EQ(column_texts(COL_NO), QStringList({"1", "2", "3", "4", "5"}));
  EXPECT_EQ(column(1, COL_BLACK), "本因坊秀策");
  EXPECT_EQ(column(1, COL_EVENT), "御城碁");
  EXPECT_EQ(column(1, COL_DATE), "1846-09-11");
  EXPECT_EQ(column(1, COL_RESULT), "B+2.0");
  EXPECT_EQ(column(0, COL_RESULT), "W+R");
  EXPECT_EQ(column(1, COL_COMMENT), "解説");
  EXPECT_EQ(column(0, COL_COMMENT), "");
  EXPECT_EQ(list->table()->font().pixelSize(), settings.FontArray[1].height);
}

TEST_F(RecordListTest, two_clicks_on_one_header_sort_ascending_then_descending_and_no_sorts_as_numbers) {
  for (int i = 0; i < 9; i++) write_file(folder + QString("/n%1.sgf").arg(i), game("N", "N"));
  make_list();
  list->scan_folder();
  click_header(COL_BLACK);
  QStringList blacks = column_texts(COL_BLACK);
  EXPECT_EQ(blacks.first(), "C1");
  EXPECT_EQ(blacks.last(), "本因坊秀策");  // Shift_JIS kanji after ASCII
  click_header(COL_BLACK);
  EXPECT_EQ(column_texts(COL_BLACK).first(), "本因坊秀策");
  EXPECT_EQ(column_texts(COL_BLACK).last(), "C1");
  click_header(COL_NO);
  QStringList numbers = column_texts(COL_NO);
  EXPECT_EQ(numbers[9], "10");
  EXPECT_EQ(numbers.last(), "14");
}

TEST_F(RecordListTest, cancel_during_the_scan_keeps_the_rows_found_so_far) {
  for (int i = 0; i < 20; i++) write_file(folder + QString("/m%1.sgf").arg(i, 2, 10, QChar('0')), game("M", "M"));
  make_list();
  QObject::connect(list.get(), &RecordListWindow::row_found, list.get(), [this](int found) {
    if (found != 3) return;
    auto* progress = list->findChild<QProgressDialog*>("scan_progress");
    ASSERT_NE(progress, nullptr);
    progress->findChild<QPushButton*>()->click();
  });
  EXPECT_FALSE(list->scan_folder());
  EXPECT_EQ(list->model().rowCount(), 3);
  EXPECT_EQ(column_texts(COL_FILE), QStringList({"a_game.sgf", "b_game.sgf", "collection.sgf #1"}));
}

TEST_F(RecordListTest, enter_and_double_click_open_the_focused_game_of_a_collection) {
  make_list();
  list->scan_folder();
  list->table()->setCurrentIndex(list->table()->model()->index(3, 0));
  QTest::keyClick(list->table(), Qt::Key_Return);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].first, QDir(folder).filePath("collection.sgf"));
  EXPECT_EQ(opened[0].second, 1);
  list->table()->setCurrentIndex(list->table()->model()->index(0, 0));
  list->open_selected();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1].second, -1);
}

TEST_F(RecordListTest, moving_onto_same_named_files_asks_once_per_file_and_no_skips_only_that_file) {
  QString target = dir.filePath("target");
  QDir().mkpath(target);
  write_file(target + "/a_game.sgf", "old a");
  write_file(target + "/b_game.sgf", "old b");
  settings.recent_dirs << target;
  make_list();
  list->scan_folder();
  select_files({"a_game.sgf", "b_game.sgf", "collection.sgf"});
  QStringList questions;
  DialogChain chain;
  chain.answers = {
      [&](QWidget* d) {
        auto* move = qobject_cast<FolderMoveDialog*>(d);
        ASSERT_NE(move, nullptr);
        EXPECT_EQ(move->destination(), target);
        move->accept();
      },
      [&](QWidget* d) {
        questions << d->objectName();
        auto* box = qobject_cast<QMessageBox*>(d);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        answer_box(d, QMessageBox::No, "同名のファイルが存在します。上書きしてもいいですか？");
      },
      [&](QWidget* d) {
        questions << d->objectName();
        answer_box(d, QMessageBox::Yes);
      },
      [&](QWidget* d) { answer_box(d, QMessageBox::Ok, "2 個のファイルを移動しました"); },
  };
  chain.start();
  list->copy_or_move_selected(TRANSFER_MOVE);
  EXPECT_EQ(chain.answered, 4u);
  EXPECT_EQ(questions, QStringList({"overwrite_question", "overwrite_question"}));
  EXPECT_EQ(read_file(target + "/a_game.sgf"), "old a");
  EXPECT_TRUE(QFile::exists(folder + "/a_game.sgf"));
  EXPECT_TRUE(read_file(target + "/b_game.sgf").contains("本因坊秀策"));
  EXPECT_FALSE(QFile::exists(folder + "/b_game.sgf"));
  EXPECT_TRUE(QFile::exists(target + "/collection.sgf"));
  EXPECT_FALSE(QFile::exists(folder + "/collection.sgf"));
  EXPECT_EQ(column_texts(COL_FILE), QStringList({"a_game.sgf"}));  // rescanned
}

TEST_F(RecordListTest, copying_into_the_same_folder_is_refused_and_cancel_stops_the_copies) {
  settings.recent_dirs << folder + "/.";
  make_list();
  list->scan_folder();
  select_files({"a_game.sgf"});
  DialogChain chain;
  chain.answers = {[&](QWidget* d) {
                     auto* copy = qobject_cast<FolderMoveDialog*>(d);
                     copy->destination_box()->setCurrentText(folder + "/.");
                     copy->accept();
                   },
                   [&](QWidget* d) { answer_box(d, QMessageBox::Ok, "同じフォルダです"); }};
  chain.start();
  list->copy_or_move_selected(TRANSFER_COPY);
  EXPECT_EQ(chain.answered, 2u);
  EXPECT_TRUE(read_file(folder + "/a_game.sgf").contains("Lee"));

  QString target = dir.filePath("target");
  QDir().mkpath(target);
  write_file(target + "/a_game.sgf", "old a");
  select_files({"a_game.sgf", "b_game.sgf"});
  DialogChain second;
  second.answers = {[&](QWidget* d) {
                      qobject_cast<FolderMoveDialog*>(d)->destination_box()->setCurrentText(target);
                      qobject_cast<FolderMoveDialog*>(d)->accept();
                    },
                    [&](QWidget* d) { answer_box(d, QMessageBox::Cancel); },
                    [&](QWidget* d) { answer_box(d, QMessageBox::Ok, "0 個のファイルをコピーしました"); }};
  second.start();
  list->copy_or_move_selected(TRANSFER_COPY);
  EXPECT_EQ(second.answered, 3u);
  EXPECT_EQ(read_file(target + "/a_game.sgf"), "old a");
  EXPECT_FALSE(QFile::exists(target + "/b_game.sgf"));
}

TEST_F(RecordListTest, removing_folders_from_the_list_keeps_the_last_one_and_never_touches_the_disk) {
  QString second = dir.filePath("second");
  QDir().mkpath(second);
  write_file(second + "/only.sgf", game("S", "T"));
  settings.recent_dirs << second;
  make_list();
  list->scan_folder();
  DialogChain chain;
  QString question;
  chain.answers = {[&](QWidget* d) {
                     question = qobject_cast<QMessageBox*>(d)->text();
                     answer_box(d, QMessageBox::Ok);
                   },
                   [&](QWidget* d) { answer_box(d, QMessageBox::Ok); },
                   [&](QWidget* d) { answer_box(d, QMessageBox::Ok, "最後の1個のフォルダは削除できません。"); }};
  chain.start();
  list->remove_current_folder();
  EXPECT_EQ(question, QString("現在のフォルダ\n%1\nをフォルダ一覧から削除します。\n\nフォルダそのものは削除されません。")
                          .arg(QDir::toNativeSeparators(folder)));
  EXPECT_EQ(list->current_folder(), second);
  EXPECT_EQ(column_texts(COL_FILE), QStringList({"only.sgf"}));
  list->remove_current_folder();
  EXPECT_EQ(chain.answered, 3u);
  EXPECT_EQ(list->folder_box()->count(), 1);
  EXPECT_EQ(settings.recent_dirs, QStringList({second}));
  EXPECT_TRUE(QFile::exists(folder + "/a_game.sgf"));
}

TEST_F(RecordListTest, clipboard_gets_eight_tab_separated_fields_per_row_and_crlf_after_each) {
  QString two = dir.filePath("two");
  QDir().mkpath(two);
  write_file(two + "/x.sgf", game("黒石", "白石", "RE[W+R]"));
  write_file(two + "/y.sgf", game("Kuro", "Shiro", "C[note]"));
  settings.recent_dirs = {two};
  make_list();
  list->scan_folder();
  list->findChild<QPushButton*>("clipboard")->click();
  const QString text = QApplication::clipboard()->text();
  EXPECT_EQ(text, "1\t\t黒石\t白石\t\tW+R\t\tx.sgf\r\n2\t\tKuro\tShiro\t\t\t解説\ty.sgf\r\n");
}

TEST_F(RecordListTest, trash_moves_the_selected_files_out_of_the_folder_after_the_question) {
  QTemporaryDir data_home;
  const QByteArray old_home = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QFile::encodeName(data_home.path()));
  make_list();
  list->scan_folder();
  select_files({"collection.sgf", "a_game.sgf"});
  DialogChain chain;
  chain.answers = {[&](QWidget* d) { answer_box(d, QMessageBox::Yes, "選択された 2 個のファイルをゴミ箱に移動します"); },
                   [&](QWidget* d) { answer_box(d, QMessageBox::Ok, "2 個のファイルをゴミ箱に移動しました"); }};
  chain.start();
  list->recycle_selected();
  qputenv("XDG_DATA_HOME", old_home);
  EXPECT_EQ(chain.answered, 2u);
  EXPECT_FALSE(QFile::exists(folder + "/collection.sgf"));
  EXPECT_FALSE(QFile::exists(folder + "/a_game.sgf"));
  EXPECT_EQ(column_texts(COL_FILE), QStringList({"b_game.sgf"}));
}

TEST_F(RecordListTest, closing_keeps_the_placement_and_at_most_thirty_folders_with_the_current_first) {
  for (int i = 0; i < 40; i++) settings.recent_dirs << dir.filePath(QString("f%1").arg(i));
  make_list();
  list->folder_box()->setCurrentIndex(5);
  list->close();
  list.release();  // deleted on close
  EXPECT_EQ(settings.recent_dirs.size(), RECORD_DIR_MAX);
  EXPECT_EQ(settings.recent_dirs.first(), dir.filePath("f4"));
  EXPECT_EQ(settings.recent_dirs[1], folder);
  EXPECT_EQ(settings.WinPos[KIF_LIST_WIN_POS].split(' ').size(), 9);
}

// Moving and copying files.

TEST(RecordFiles, a_copy_or_move_onto_the_file_itself_is_refused_and_leaves_it_whole) {
  QTemporaryDir dir;
  const QString a = dir.filePath("a.sgf");
  write_file(a, "record");
  QString error;
  EXPECT_FALSE(copy_record_file(a, dir.filePath("./a.sgf"), error));
  EXPECT_FALSE(move_record_file(a, dir.path() + "/../" + QFileInfo(dir.path()).fileName() + "/a.sgf", error));
  EXPECT_EQ(read_file(a), "record");
}

TEST(RecordFiles, a_failed_copy_leaves_the_destination_as_it_was) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("locked"));
  write_file(dir.filePath("a.sgf"), "new");
  write_file(dir.filePath("locked/a.sgf"), "old");
  ::chmod(QFile::encodeName(dir.filePath("locked")).constData(), 0500);
  QString error;
  const bool copied = copy_record_file(dir.filePath("a.sgf"), dir.filePath("locked/a.sgf"), error);
  ::chmod(QFile::encodeName(dir.filePath("locked")).constData(), 0700);
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  EXPECT_FALSE(copied);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(read_file(dir.filePath("locked/a.sgf")), "old");
  EXPECT_EQ(QDir(dir.filePath("locked")).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(RecordFiles, a_move_to_another_file_system_copies_whole_then_removes_the_source) {
  QTemporaryDir dir;
  QTemporaryDir other(QStringLiteral("/dev/shm/ranvel-move-XXXXXX"));
  struct stat a, b;
  if (!other.isValid() || ::stat(QFile::encodeName(dir.path()).constData(), &a) != 0 ||
      ::stat(QFile::encodeName(other.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
    GTEST_SKIP() << "no second file system";
  QByteArray big(300000, 'x');
  write_file(dir.filePath("big.sgf"), big);
  write_file(other.filePath("big.sgf"), "old");
  QString error;
  ASSERT_TRUE(move_record_file(dir.filePath("big.sgf"), other.filePath("big.sgf"), error)) << error.toStdString();
  EXPECT_EQ(read_file(other.filePath("big.sgf")), big);
  EXPECT_FALSE(QFile::exists(dir.filePath("big.sgf")));
}

// The main window with the record list and collections.

class MainWindowListTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QSettings store{dir.filePath("settings.ini"), QSettings::IniFormat};
  QString folder = dir.filePath("records");
  std::unique_ptr<MainWindow> w;

  void SetUp() override {
    QDir().mkpath(folder);
    write_file(folder + "/pro.sgf", game("First", "A") + game("Second", "B") + game("Third", "C"));
    write_file(folder + "/single.sgf", game("Single", "D"));
    store.beginGroup("Recent Dir List");
    store.setValue("DirNum", 1);
    store.setValue("Dir1", folder);
    store.endGroup();
    w = std::make_unique<MainWindow>(&store);
  }
  void TearDown() override { cancel_pending_answers(); }
  std::string black() { return w->state().working().info.black[0]; }
};

TEST_F(MainWindowListTest, record_list_command_scans_the_first_folder_and_opens_a_game_with_the_unsaved_question) {
  ASSERT_TRUE(w->action(ID_RECORD_LIST)->isEnabled());
  EXPECT_EQ(w->action(ID_RECORD_LIST)->shortcut(), QKeySequence("Ctrl+L"));
  w->command(ID_RECORD_LIST);
  RecordListWindow* list = w->record_list();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->model().rowCount(), 4);
  w->state().modified = true;
  bool asked = false;
  answer_next_dialog([&](QWidget* d) {
    asked = d->objectName() == "save_changes";
    answer_box(d, QMessageBox::No);
  });
  list->table()->setCurrentIndex(list->table()->model()->index(2, 0));
  QTest::keyClick(list->table(), Qt::Key_Enter);
  EXPECT_TRUE(asked);
  EXPECT_EQ(black(), "Third");
  EXPECT_FALSE(w->state().modified);
  // Saving the game suggests a file of its own, never the collection.
  EXPECT_EQ(w->state().file_path, QDir(folder).filePath("pro-3.sgf"));
  w->command(ID_RECORD_LIST);
  EXPECT_EQ(w->record_list(), list);  // one window, brought to the front
}

TEST_F(MainWindowListTest, opening_a_collection_offers_its_games_and_cancel_keeps_the_record) {
  answer_next_dialog([&](QWidget* d) {
    auto* chooser = qobject_cast<GameChooser*>(d);
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->model().rowCount(), 3);
    chooser->table()->setCurrentIndex(chooser->table()->model()->index(1, 0));
    chooser->accept();
  });
  ASSERT_TRUE(w->open_path(folder + "/pro.sgf"));
  EXPECT_EQ(black(), "Second");
  answer_next_dialog([&](QWidget* d) { qobject_cast<QDialog*>(d)->reject(); });
  EXPECT_FALSE(w->open_path(folder + "/pro.sgf"));
  EXPECT_EQ(black(), "Second");
  ASSERT_TRUE(w->open_path(folder + "/single.sgf"));  // one game: no question
  EXPECT_EQ(black(), "Single");
  EXPECT_EQ(w->state().file_path, QDir(folder).filePath("single.sgf"));
}

}  // namespace
