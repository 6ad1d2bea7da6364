#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "editor/settings.h"
#include "editor/settings_dialog.h"
#include "qt_env.h"

namespace {

struct FreshStore {
  QTemporaryDir dir;
  QSettings store{dir.filePath("settings.ini"), QSettings::IniFormat};
};

TEST(Settings, first_start_gives_the_defaults_and_a_folder_list) {
  FreshStore fresh;
  Settings s;
  s.BoardSize = 9;
  s.recent_files << "stale.ugf";
  EXPECT_EQ(load_settings(fresh.store, s, "/opt/ranvel"), 0);
  EXPECT_EQ(s.BoardSize, 19);
  EXPECT_EQ(s.BoardColor, 1);
  EXPECT_DOUBLE_EQ(s.AutoSec, 1.0);
  EXPECT_EQ(s.FontArray[0].face, QStringLiteral("ＭＳ Ｐゴシック"));
  EXPECT_TRUE(s.recent_files.isEmpty());
  ASSERT_GE(s.recent_dirs.size(), 1);
  EXPECT_TRUE(s.recent_dirs.contains("/opt/ranvel"));
}

TEST(Settings, out_of_range_values_are_mended_on_reading) {
  FreshStore fresh;
  fresh.store.setValue("BoardSize", 1);
  fresh.store.setValue("AutoSec", "-3");
  fresh.store.setValue("ImgSize", 5);
  Settings s;
  ASSERT_EQ(load_settings(fresh.store, s, "/p"), 1);
  EXPECT_EQ(s.BoardSize, 19);
  EXPECT_DOUBLE_EQ(s.AutoSec, 1.0);
  EXPECT_EQ(s.ImgSize, IMG_SIZE_MIN);
  fresh.store.setValue("BoardSize", 25);
  fresh.store.setValue("ImgSize", 3000);
  load_settings(fresh.store, s, "/p");
  EXPECT_EQ(s.BoardSize, 19);
  EXPECT_EQ(s.ImgSize, IMG_SIZE_MAX);
  fresh.store.setValue("BoardSize", 2);
  load_settings(fresh.store, s, "/p");
  EXPECT_EQ(s.BoardSize, 2);
}

TEST(Settings, saved_values_read_back_with_their_stored_names_and_forms) {
  FreshStore fresh;
  Settings s;
  s.SoundDrop = 1;
  s.BoardColor = 2;
  s.BoardSize = 13;
  s.AutoSec = 2.34;
  s.FontArray[1] = {14, "IPAGothic"};
  s.Photo[2] = "/home/u/pic.png";
  s.WinPos[KIF_LIST_WIN_POS] = "1 -1 -1 -1 -1 10 20 500 400";
  s.Coordinate = COORD_KANJI;
  s.recent_files = {"/a.ugf", QStringLiteral("/棋譜/第1局.sgf")};
  s.recent_dirs = {"/records"};
  ASSERT_EQ(save_settings(fresh.store, s), 1);
  EXPECT_EQ(fresh.store.value("AutoSec").toString(), "2.3");  // "%.1f"
  EXPECT_EQ(fresh.store.value("FontArray11").toString(), "IPAGothic");
  EXPECT_EQ(fresh.store.value("FontArray10").toInt(), 14);
  EXPECT_EQ(fresh.store.value("Photo20").toString(), "/home/u/pic.png");
  EXPECT_EQ(fresh.store.value("Recent File List/RecentFileListNum").toInt(), 2);
  EXPECT_EQ(fresh.store.value("Recent File List/File1").toString(), "/a.ugf");
  EXPECT_EQ(fresh.store.value("Recent Dir List/Dir1").toString(), "/records");

  Settings back;
  ASSERT_EQ(load_settings(fresh.store, back, "/p"), 1);
  EXPECT_EQ(back.SoundDrop, 1);
  EXPECT_EQ(back.BoardColor, 2);
  EXPECT_EQ(back.BoardSize, 13);
  EXPECT_NEAR(back.AutoSec, 2.3, 1e-9);
  EXPECT_EQ(back.Photo[2], s.Photo[2]);
  EXPECT_EQ(back.WinPos[KIF_LIST_WIN_POS], s.WinPos[KIF_LIST_WIN_POS]);
  EXPECT_EQ(back.Coordinate, COORD_KANJI);
  EXPECT_EQ(back.recent_files, s.recent_files);
  EXPECT_EQ(back.recent_dirs, s.recent_dirs);
  // A gap in the recent list ends it.
  fresh.store.setValue("Recent File List/RecentFileListNum", 3);
  fresh.store.remove("Recent File List/File2");
  fresh.store.setValue("Recent File List/File3", "/three.ugf");
  load_settings(fresh.store, back, "/p");
  EXPECT_EQ(back.recent_files, QStringList{"/a.ugf"});
}


TEST(RecentFiles, reopening_moves_to_the_top_the_twenty_first_pushes_out_the_oldest_long_paths_are_ignored) {
  Settings s;
  for (const char* p : {"/a.ugf", "/b.ugf", "/c.ugf", "/a.ugf"}) add_recent_file(s, p);
  EXPECT_EQ(s.recent_files, (QStringList{"/a.ugf", "/c.ugf", "/b.ugf"}));
  s.recent_files.clear();
  for (int i = 1; i <= 21; i++) add_recent_file(s, QStringLiteral("/r%1.ugf").arg(i));
  ASSERT_EQ(s.recent_files.size(), RECENT_FILE_MAX);
  EXPECT_EQ(s.recent_files.first(), "/r21.ugf");
  EXPECT_EQ(s.recent_files.last(), "/r2.ugf");
  add_recent_file(s, "/" + QString(255, 'x'));  // 256 characters
  EXPECT_EQ(s.recent_files.first(), "/r21.ugf");
  add_recent_file(s, "/" + QString(254, 'x'));
  EXPECT_EQ(s.recent_files.first().size(), 255);
}

TEST(RecentFiles, menu_items_are_numbered_and_replaced_on_rebuild) {
  EXPECT_EQ(recent_menu_label(0, "/a.ugf"), "&1 /a.ugf");
  EXPECT_EQ(recent_menu_label(9, "/j.ugf"), "&0 /j.ugf");
  EXPECT_EQ(recent_menu_label(10, "/k.ugf"), "  /k.ugf");
  EXPECT_EQ(recent_menu_label(0, "/R&D.ugf"), "&1 /R&&D.ugf");

  QMenu menu;
  menu.addAction("開く");
  QAction* anchor = menu.addSeparator();
  menu.addAction("終了");
  Settings s;
  s.recent_files = {"/a.ugf", "/b.ugf", "/c.ugf"};
  rebuild_recent_menu(&menu, anchor, s);
  s.recent_files = {"/z.ugf"};
  rebuild_recent_menu(&menu, anchor, s);
  QList<QAction*> items = menu.actions();
  ASSERT_EQ(items.size(), 4);
  EXPECT_EQ(items[1]->text(), "&1 /z.ugf");
  EXPECT_EQ(items[1]->data().toInt(), RECENT_MENU_ID);
  EXPECT_EQ(items[2], anchor);
}

TEST(WindowPlace, placement_text_round_trips_and_bad_text_is_refused) {
  QWidget w;
  w.setGeometry(30, 40, 500, 300);
  QString text = window_place_text(&w);
  EXPECT_EQ(text.split(' ').size(), 9);
  EXPECT_TRUE(text.startsWith("1 "));
  QWidget other;
  ASSERT_EQ(restore_window_place(&other, text), 1);
  EXPECT_EQ(other.geometry().size(), QSize(500, 300));
  EXPECT_EQ(restore_window_place(&other, "1 2 3"), 0);
  EXPECT_EQ(restore_window_place(&other, "a b c d e f g h i"), 0);
}

TEST(SettingsDialog, the_page_controls_set_the_values) {
  Settings s;
  SettingsDialog dlg(s);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("各種設定"));
  for (QRadioButton* b : dlg.findChildren<QRadioButton*>())
    if (b->text() == QStringLiteral("盤面色3")) b->click();
  for (QCheckBox* c : dlg.findChildren<QCheckBox*>()) {
    if (c->text() == QStringLiteral("棋譜読み込み時に最終局面を表示")) c->click();
    if (c->text() == QStringLiteral("コメントで停止する")) c->click();
    if (c->text() == QStringLiteral("コウのルールを適用する")) c->click();
  }
  auto* sec = dlg.findChild<QDoubleSpinBox*>("AutoSec");
  ASSERT_NE(sec, nullptr);
  sec->setValue(3.5);
  Settings out = dlg.result();
  EXPECT_EQ(out.BoardColor, 2);
  EXPECT_EQ(out.LastMoveLoad, 1);
  EXPECT_EQ(out.AutoComment, 0);
  EXPECT_EQ(out.KoMoveErr, 1);
  EXPECT_DOUBLE_EQ(out.AutoSec, 3.5);
  sec->setValue(1000);
  EXPECT_DOUBLE_EQ(dlg.result().AutoSec, AUTO_SEC_MAX);
}

}  // namespace
