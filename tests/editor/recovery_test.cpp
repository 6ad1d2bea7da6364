#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/internal_stop.h"
#include "editor/editor_state.h"
#include "editor/info_text.h"
#include "editor/recovery.h"
#include "editor/record_io.h"
#include "editor/settings.h"

namespace {

TEST(Recovery, the_stop_leaves_log_engine_game_and_the_users_record_on_disk) {
  QTemporaryDir dir;
  EditorState state;
  state.records.working.reset();
  Figure& f = state.working();
  f.append_move(figure_z(3, 4), 1);
  f.append_move(figure_z(16, 17), 2);
  f.goto_move(2);
  state.file_path = "/somewhere/game.sgf";
  QStringList files = write_recovery_files(dir.path(), "the log\\n", "(;GM[1])", &state);
  ASSERT_EQ(files.size(), 3);
  EXPECT_TRUE(files[0].endsWith(".txt"));
  EXPECT_TRUE(files[2].endsWith(".sgf"));  // the record keeps the format it came in
  GameRecord back;
  QString error;
  ASSERT_TRUE(read_record_file(files[2], back, true, error)) << error.toStdString();
  EXPECT_EQ(back.main.move_count, 2);
  EXPECT_EQ(back.main.moves[1].z, figure_z(16, 17));

  state.file_path.clear();
  files = write_recovery_files(dir.path(), "", "", &state);
  ASSERT_EQ(files.size(), 3);
  EXPECT_TRUE(files[2].endsWith(".ugf"));
}

TEST(RecoveryDeathTest, an_internal_stop_writes_the_recovery_files_and_exits_1) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QDir folder(QCoreApplication::applicationDirPath() + "/recovery");
  folder.removeRecursively();
  EditorState state;
  state.records.working.reset();
  state.working().append_move(figure_z(4, 4), 1);
  EXPECT_EXIT(
      {
        install_recovery_stop(&state);
        INTERNAL_STOP("broken on purpose %d\n", 7);
      },
      testing::ExitedWithCode(1), "");
  QStringList after = QDir(folder).entryList({"record-*.ugf"}, QDir::Files, QDir::Time);
  ASSERT_EQ(after.size(), 1);
  EXPECT_EQ(QDir(folder).entryList({"log-*.txt"}, QDir::Files).size(), 1);
  EXPECT_EQ(QDir(folder).entryList({"engine-*.sgf"}, QDir::Files).size(), 1);
  GameRecord back;
  QString error;
  ASSERT_TRUE(read_record_file(folder.filePath(after.first()), back, true, error));
  EXPECT_EQ(back.main.move_count, 1);
  folder.removeRecursively();
  // The core's own report lands in the working folder of the test.
  QFile::remove("internal_error.log");
  QFile::remove("internal_error.sgf");
}

TEST(InfoText, last_move_follows_the_coordinate_style) {
  Figure f;
  f.reset();
  f.append_move(figure_z(10, 3), 1);
  f.append_move(0, 2);
  f.goto_move(1);
  EXPECT_EQ(last_move_text(f, COORD_NONE), "(10, 3)");
  EXPECT_EQ(last_move_text(f, COORD_LETTERS), "(K, 3)");
  EXPECT_EQ(last_move_text(f, COORD_INTERNATIONAL), "(K,17)");
  EXPECT_EQ(last_move_text(f, COORD_KANJI), QStringLiteral("(10,   三)"));
  f.goto_move(2);
  EXPECT_EQ(last_move_text(f, COORD_LETTERS), QStringLiteral("パス"));
  f.goto_move(0);
  EXPECT_TRUE(last_move_text(f, COORD_LETTERS).isEmpty());
}

TEST(InfoText, result_is_shown_only_at_the_last_move) {
  Figure f;
  f.reset();
  f.info.winner[0] = "W";
  f.info.winner[1] = "6.5";
  f.append_move(figure_z(4, 4), 1);
  f.goto_move(1);
  QStringList lines = board_info_lines(f, COORD_LETTERS);
  EXPECT_TRUE(lines.last().contains(QStringLiteral(" まで 白 6目半勝ち"))) << lines.last().toStdString();
  f.goto_move(0);
  EXPECT_FALSE(board_info_lines(f, COORD_LETTERS).last().contains(QStringLiteral("まで")));
}

}  // namespace
