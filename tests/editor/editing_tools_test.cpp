#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

#include "editor/add_figure_dialog.h"
#include "editor/board_view.h"
#include "editor/busy.h"
#include "editor/clipboard_text.h"
#include "editor/commands.h"
#include "editor/main_window.h"
#include "editor/start_dialog.h"
#include "core/log.h"
#include "qt_env.h"
#include "window_answers.h"
#include "records/sjis.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

QAction* popup_action(QMenu* menu, int id) {
  for (QAction* a : menu->actions())
    if (a->data().toInt() == id) return a;
  return nullptr;
}

bool same_main(const Figure& a, const Figure& b) {
  return a.move_count == b.move_count && a.tesuu == b.tesuu && a.b_size == b.b_size &&
         std::memcmp(a.moves, b.moves, sizeof a.moves) == 0 &&
         std::memcmp(a.initial_board, b.initial_board, sizeof a.initial_board) == 0 &&
         std::memcmp(a.board, b.board, sizeof a.board) == 0;
}

class EditingToolsTest : public testing::Test {
 protected:
  QTemporaryDir dir;
  QSettings store{dir.filePath("settings.ini"), QSettings::IniFormat};
  MainWindow w{&store};

  void SetUp() override { w.resize(900, 640); }
  void TearDown() override { cancel_pending_answers(); }

  void paste_text(const QString& text) {
    QApplication::clipboard()->setText(text);
    w.command(ID_PASTE);
  }
  void load_ten_moves() { paste_text(QString::fromLatin1(TEN_MOVES)); }
  Figure& f() { return w.state().working(); }
  FigureList& figures() { return w.state().records.working.figures; }
  const Figure* figure_with_moves(const FigureList& list, int anchor) {
    for (const Figure& fig : list)
      if (fig.anchor_move == anchor && fig.move_count > 0) return &fig;
    return nullptr;
  }
  // UGF reads text lines back with LF ends and a final LF; the words must be the same.
  static std::string words(std::string text) {
    std::erase(text, '\r');
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  const Figure* figure_with_text(const FigureList& list, const std::string& text) {
    for (const Figure& fig : list)
      if (words(fig.text) == words(text)) return &fig;
    return nullptr;
  }
  // Adds a figure at the shown move through the dialog: stones at the points, then the comment.
  void add_figure(std::initializer_list<int> stones, const QString& comment, int label_at = 0) {
    answer_next_dialog([stones, comment, label_at](QWidget* d) {
      auto* dlg = qobject_cast<AddFigureDialog*>(d);
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(dlg->windowTitle(), QStringLiteral("コメント、参考図の新規追加"));
      for (int z : stones) dlg->click_point(z);
      if (label_at) {
        dlg->findChild<QComboBox*>("series")->setCurrentIndex(4);
        dlg->click_point(label_at);
      }
      dlg->findChild<QPlainTextEdit*>("comment")->setPlainText(comment);
      press_ok(dlg);
    });
    w.command(ID_ADD_FIGURE);
  }
};

// Which texts paste as what is tested with the clipboard text; here the window takes the record.
TEST_F(EditingToolsTest, paste_replaces_the_record_with_a_game_or_a_diagram) {
  paste_text(QStringLiteral("\r\n\r\n") + QString::fromLatin1(TEN_MOVES));
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().b_size, 9);
  EXPECT_EQ(w.windowTitle(), "Ranvel Editor");
  ASSERT_EQ(figures().size(), 2u);

  QString diagram;
  for (int y = 1; y <= 9; y++) diagram += y == 5 ? QStringLiteral("┼┼┼┼●○┼┼┼\n") : QStringLiteral("┼┼┼┼┼┼┼┼┼\n");
  paste_text(diagram);
  EXPECT_EQ(f().move_count, 0);
  EXPECT_EQ(f().initial_board[at(5, 5)], 1);
  EXPECT_EQ(f().initial_board[at(6, 5)], 2);
  EXPECT_TRUE(figures().empty());
}

TEST_F(EditingToolsTest, copy_then_paste_gives_the_same_record) {
  load_ten_moves();
  w.command(ID_LAST);
  GameRecord before;
  before.copy_from(w.state().records.working);
  w.command(ID_COPY_SGF);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("(;GM[1]"));
  w.state().working().info.black[0].clear();  // the paste must bring it back
  w.state().modified = false;
  w.settings().LastMoveLoad = 1;
  w.command(ID_PASTE);
  EXPECT_TRUE(same_main(f(), before.main));
  EXPECT_EQ(f().info.black[0], "Kuro");
  ASSERT_EQ(figures().size(), before.figures.size());
  for (size_t i = 0; i < figures().size(); i++) {
    EXPECT_EQ(figures()[i].anchor_move, before.figures[i].anchor_move);
    EXPECT_EQ(figures()[i].text, before.figures[i].text);
  }
  w.command(ID_COPY_BOARD);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(cp932_to_utf8(position_diagram(f()))));
}

TEST_F(EditingToolsTest, board_popup_names_the_move_it_edits) {
  load_ten_moves();
  w.go_to_move(5);
  std::unique_ptr<QMenu> empty(w.board_popup(at(1, 1)));
  EXPECT_EQ(popup_action(empty.get(), ID_SHIFT_MOVE)->text(), QStringLiteral("5手目をここにずらす(&S)"));
  EXPECT_EQ(popup_action(empty.get(), ID_INSERT_MOVE)->text(), QStringLiteral("入力忘れの6手目をここに挿入(&I)"));
  EXPECT_FALSE(popup_action(empty.get(), ID_DELETE_ONLY)->isEnabled());
  EXPECT_FALSE(popup_action(empty.get(), ID_DELETE_LAST)->isEnabled());
  std::unique_ptr<QMenu> stone(w.board_popup(at(5, 5)));
  EXPECT_FALSE(popup_action(stone.get(), ID_SHIFT_MOVE)->isEnabled());
  EXPECT_EQ(popup_action(stone.get(), ID_DELETE_ONLY)->text(), QStringLiteral("5手目のみを削除(&D)"));
  EXPECT_TRUE(popup_action(stone.get(), ID_DELETE_ONLY)->isEnabled());
  w.go_to_move(10);
  std::unique_ptr<QMenu> at_end(w.board_popup(at(1, 1)));
  EXPECT_FALSE(popup_action(at_end.get(), ID_INSERT_MOVE)->isEnabled());
  EXPECT_TRUE(popup_action(at_end.get(), ID_DELETE_LAST)->isEnabled());
}

TEST_F(EditingToolsTest, shift_insert_and_delete_only_replay_cleanly) {
  load_ten_moves();
  w.go_to_move(5);
  std::unique_ptr<QMenu>(w.board_popup(at(1, 1)))->actions().at(2)->trigger();  // shift move 5
  EXPECT_EQ(f().moves[4].z, at(1, 1));
  EXPECT_EQ(f().tesuu, 5);
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(w.windowTitle(), "(更新) Ranvel Editor");
  popup_action(std::unique_ptr<QMenu>(w.board_popup(at(9, 1))).get(), ID_INSERT_MOVE)->trigger();
  EXPECT_EQ(f().move_count, 11);
  EXPECT_EQ(f().tesuu, 6);
  EXPECT_EQ(f().moves[5].z, at(9, 1));
  EXPECT_EQ(f().moves[5].color, 2);
  EXPECT_EQ(f().moves[6].color, 1);  // the later moves alternate again
  EXPECT_EQ(figures().back().anchor_move, 9);  // the comment of old move 8 follows it
  popup_action(std::unique_ptr<QMenu>(w.board_popup(at(9, 1))).get(), ID_DELETE_ONLY)->trigger();
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().tesuu, 5);
  EXPECT_EQ(f().moves[5].z, at(5, 6));
}

TEST_F(EditingToolsTest, an_edit_that_breaks_the_replay_is_asked_about_and_can_be_declined) {
  load_ten_moves();
  w.go_to_move(1);
  GameRecord before;
  before.copy_from(w.state().records.working);
  // Move 1 onto the point of move 2: the replay stops before move 2.
  answer_next_dialog([](QWidget* d) {
    answer_box(d, QMessageBox::Cancel, QStringLiteral("棋譜が途中(2手目)でエラーになる修正です。\n続行しますか？"));
  });
  w.edit_moves(ID_SHIFT_MOVE, at(7, 7));
  EXPECT_TRUE(same_main(f(), before.main));
  EXPECT_FALSE(w.state().modified);
  answer_next_dialog([](QWidget* d) { answer_box(d, QMessageBox::Ok); });
  w.edit_moves(ID_SHIFT_MOVE, at(7, 7));
  EXPECT_EQ(f().moves[0].z, at(7, 7));
  EXPECT_EQ(f().move_count, 10);
  EXPECT_EQ(f().tesuu, 1);
  EXPECT_TRUE(w.state().modified);
}

TEST_F(EditingToolsTest, comment_and_reference_figure_survive_ugf_and_sgf) {
  load_ten_moves();
  w.go_to_move(3);
  add_figure({at(1, 1), at(2, 1)}, QStringLiteral("参考の変化\n二行目"));
  w.go_to_move(4);
  add_figure({}, QStringLiteral("この手が好手"), at(9, 9));
  ASSERT_EQ(figures().size(), 4u);
  ASSERT_EQ(w.figure_tabs().size(), 1u);
  EXPECT_EQ(w.tabs()->tabText(TAB_FIGURE_FIRST), QStringLiteral("参考図1"));
  EXPECT_EQ(w.tabs()->count(), TAB_FIGURE_FIRST + 1);
  EXPECT_TRUE(w.state().modified);
  GameRecord before;
  before.copy_from(w.state().records.working);
  for (const char* name : {"figures.ugf", "figures.sgf"}) {
    QString path = dir.filePath(name);
    answer_next_dialog([path](QWidget* d) { choose_file(d, path); });
    w.command(ID_SAVE);
    ASSERT_FALSE(w.state().modified) << name;
    ASSERT_TRUE(w.open_path(path)) << name;
    EXPECT_EQ(f().move_count, 10);
    EXPECT_EQ(std::memcmp(f().moves, before.main.moves, sizeof f().moves), 0);
    ASSERT_EQ(figures().size(), before.figures.size()) << name;
    const Figure* variation = figure_with_moves(figures(), 3);
    ASSERT_NE(variation, nullptr) << name;
    EXPECT_EQ(words(variation->text), utf8_to_cp932("参考の変化\n二行目")) << name;
    ASSERT_EQ(variation->move_count, 2);
    EXPECT_EQ(variation->moves[0].z, at(1, 1));
    EXPECT_EQ(variation->moves[0].color, 2);  // white is to move after move 3
    EXPECT_EQ(variation->moves[1].z, at(2, 1));
    EXPECT_EQ(variation->moves[1].color, 1);
    const Figure* comment = figure_with_text(figures(), utf8_to_cp932("この手が好手"));
    ASSERT_NE(comment, nullptr) << name;
    EXPECT_EQ(comment->anchor_move, 4);
    EXPECT_EQ(comment->labels[at(9, 9)], LABEL_TRIANGLE);
    EXPECT_NE(figure_with_text(figures(), "two"), nullptr) << name;
    EXPECT_EQ(w.figure_tabs().size(), 1u);
  }
}

TEST_F(EditingToolsTest, two_figure_tabs_select_move_and_delete) {
  load_ten_moves();
  w.go_to_move(3);
  add_figure({at(1, 1)}, QStringLiteral("一つ目"));
  w.go_to_move(6);
  add_figure({at(9, 9), at(9, 8)}, QStringLiteral("二つ目"));
  ASSERT_EQ(w.figure_tabs().size(), 2u);
  EXPECT_EQ(w.tabs()->tabText(TAB_FIGURE_FIRST + 1), QStringLiteral("参考図2"));
  EXPECT_EQ(w.tabs()->currentIndex(), TAB_FIGURE_FIRST + 1);  // the new figure is shown
  w.command(ID_PREV_FIGURE);
  EXPECT_EQ(w.tabs()->currentIndex(), TAB_FIGURE_FIRST);
  auto* comment = w.findChild<QPlainTextEdit*>("EDIT");
  EXPECT_EQ(comment->toPlainText(), QStringLiteral("一つ目"));
  EXPECT_FALSE(w.action(ID_FIGURE_LEFT)->isEnabled());
  w.command(ID_FIGURE_RIGHT);
  EXPECT_EQ(w.tabs()->currentIndex(), TAB_FIGURE_FIRST + 1);
  EXPECT_EQ(figures()[w.figure_tabs()[0]].text, utf8_to_cp932("二つ目"));
  EXPECT_EQ(comment->toPlainText(), QStringLiteral("一つ目"));
  w.command(ID_FIGURE_LARGE);  // the selected figure takes the main board
  EXPECT_EQ(w.board_view()->scene().figure, &figures()[w.figure_tabs()[1]]);
  w.go_to_move(10);
  w.click_point(at(5, 1));  // not a move of the hidden main line
  EXPECT_EQ(f().move_count, 10);
  w.command(ID_FIGURE_LARGE);
  EXPECT_EQ(w.board_view()->scene().figure, &f());
  std::unique_ptr<QMenu> menu(w.tab_popup());
  EXPECT_EQ(menu->actions().size(), 5);
  EXPECT_TRUE(popup_action(menu.get(), ID_FIGURE_LEFT)->isEnabled());

  answer_next_dialog([](QWidget* d) {
    answer_box(d, QMessageBox::Ok, QStringLiteral("すべての参考図のみを削除しますか？\nコメントは残ります"));
  });
  w.command(ID_DELETE_ALL_FIGURES);
  EXPECT_TRUE(w.figure_tabs().empty());
  EXPECT_EQ(w.tabs()->count(), TAB_FIGURE_FIRST);
  EXPECT_NE(figure_with_text(figures(), utf8_to_cp932("一つ目")), nullptr);
  answer_next_dialog([](QWidget* d) { answer_box(d, QMessageBox::Ok); });
  w.command(ID_DELETE_ALL_COMMENTS);
  EXPECT_TRUE(figures().empty());
}

TEST_F(EditingToolsTest, leaving_analysis_restores_the_record_exactly) {
  load_ten_moves();
  w.go_to_move(5);
  GameRecord before;
  before.copy_from(w.state().records.working);
  w.command(ID_ANALYSIS);
  ASSERT_TRUE(w.analysis_on());
  EXPECT_EQ(w.action(ID_ANALYSIS)->text(), QStringLiteral("検討終了(&R)\tCtrl+R"));
  EXPECT_FALSE(w.action(ID_DELETE_LAST)->isEnabled());
  EXPECT_FALSE(w.action(ID_ATTACH_PHOTO)->isEnabled());
  EXPECT_FALSE(w.action(ID_DELETE_PHOTOS)->isEnabled());
  EXPECT_EQ(f().analysis_base, 5);
  w.click_point(at(1, 1));  // no question about the later moves
  w.click_point(at(9, 9));
  EXPECT_EQ(f().move_count, 7);
  EXPECT_EQ(w.board_view()->scene().analysis, true);
  EXPECT_EQ(w.windowTitle(), "Ranvel Editor");
  w.findChild<QPlainTextEdit*>("EDIT")->setPlainText(QStringLiteral("試し"));
  w.command(ID_ROTATE);
  w.command(ID_ANALYSIS);
  EXPECT_FALSE(w.analysis_on());
  EXPECT_TRUE(same_main(f(), before.main));
  EXPECT_EQ(f().analysis_base, FIGURE_NUMBER_NONE);
  ASSERT_EQ(figures().size(), before.figures.size());
  EXPECT_FALSE(w.state().modified);
  EXPECT_EQ(w.action(ID_ANALYSIS)->text(), QStringLiteral("検討(&R)\tCtrl+R"));
}

TEST_F(EditingToolsTest, board_edit_takes_the_position_on_ok_and_nothing_on_cancel) {
  load_ten_moves();
  w.go_to_move(4);
  Figure shown = f();
  answer_next_dialog([](QWidget* d) {
    auto* dlg = qobject_cast<AddFigureDialog*>(d);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("盤面編集"));
    dlg->click_point(at(1, 1));  // a set-up stone: 番号なし is on
    press_ok(dlg);
  });
  w.command(ID_BOARD_EDIT);
  EXPECT_EQ(f().move_count, 0);
  EXPECT_EQ(f().initial_board[at(1, 1)], 1);
  for (int z : {at(3, 3), at(7, 7), at(3, 7), at(7, 3)}) EXPECT_EQ(f().initial_board[z], shown.board[z]) << z;
  EXPECT_EQ(f().first_color, 1);  // black was to move after move 4
  EXPECT_EQ(f().info.black[0], "Kuro");
  EXPECT_TRUE(figures().empty());
  EXPECT_TRUE(w.state().file_path.isEmpty());
  EXPECT_TRUE(w.state().modified);
  EXPECT_EQ(w.windowTitle(), "(更新) Ranvel Editor");

  Figure after = f();
  answer_next_dialog([](QWidget* d) {
    answer_box(d, QMessageBox::No, QStringLiteral("現在の棋譜を保存しますか？"));
    answer_next_dialog([](QWidget* d2) {
      auto* dlg = qobject_cast<AddFigureDialog*>(d2);
      ASSERT_NE(dlg, nullptr);
      press_cancel(dlg);
    });
  });
  w.command(ID_BOARD_EDIT);
  EXPECT_TRUE(same_main(f(), after));
}

TEST_F(EditingToolsTest, rotation_turns_the_record_and_marks_it_modified) {
  load_ten_moves();
  w.go_to_move(2);
  w.command(ID_ROTATE);
  EXPECT_EQ(f().moves[0].z, at(7, 3));  // (3,3) -> (10 - 3, 3)
  EXPECT_EQ(f().board[at(7, 3)], 1);
  EXPECT_EQ(f().tesuu, 2);
  EXPECT_TRUE(w.state().modified);
}

TEST_F(EditingToolsTest, new_game_asks_what_to_keep_and_builds_the_chosen_board) {
  answer_next_dialog([](QWidget* d) {
    auto* dlg = qobject_cast<StartDialog*>(d);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("新規対局の設定"));
    dlg->size_box()->setCurrentIndex(dlg->size_box()->findText(QStringLiteral("　９路")));
    dlg->handicap_box()->setCurrentIndex(1);
    press_ok(dlg);
  });
  w.command(ID_NEW_GAME);  // nothing to keep: no questions
  EXPECT_EQ(f().b_size, 9);
  EXPECT_EQ(f().board[at(3, 7)], 1);
  EXPECT_EQ(f().board[at(7, 3)], 1);
  EXPECT_EQ(f().first_color, 2);

  load_ten_moves();
  w.go_to_move(3);
  answer_next_dialog([](QWidget* d) {
    answer_box(d, QMessageBox::Yes, QStringLiteral("現在の対局者名などを初期値に設定しますか？"));
    answer_next_dialog([](QWidget* d2) {
      answer_box(d2, QMessageBox::Yes, QStringLiteral("現在の石配置を初期盤面にしますか？"));
      answer_next_dialog([](QWidget* d3) { press_ok(d3); });
    });
  });
  w.command(ID_NEW_GAME);
  EXPECT_EQ(f().info.black[0], "Kuro");
  EXPECT_EQ(f().move_count, 0);
  EXPECT_EQ(f().initial_board[at(3, 7)], 1);
  EXPECT_EQ(f().first_color, 2);
  EXPECT_FALSE(w.state().modified);
}

TEST_F(EditingToolsTest, game_information_photos_and_the_record_window) {
  w.settings().LastMoveLoad = 1;  // the engine takes the record up to its last move
  load_ten_moves();
  answer_next_dialog([](QWidget* d) {
    d->findChild<QLineEdit*>("black0")->setText(QStringLiteral("黒木"));
    press_ok(d);
  });
  w.command(ID_GAME_INFO);
  EXPECT_EQ(cp932_to_utf8(f().info.black[0]), "黒木");
  EXPECT_TRUE(w.state().modified);
  f().info.photos[PHOTO_BLACK] = "x";
  w.command(ID_DELETE_PHOTOS);
  EXPECT_TRUE(f().info.photos[PHOTO_BLACK].empty());

  w.go_to_move(3);
  w.command(ID_RECORD_WINDOW);
  ASSERT_NE(w.record_window(), nullptr);
  EXPECT_EQ(w.record_window()->windowTitle(), QStringLiteral("棋譜"));
  QStringList lines;
  for (int i = 0; i < w.record_window()->list()->count(); i++) lines << w.record_window()->list()->item(i)->text();
  ASSERT_EQ(lines.size(), 11);
  EXPECT_EQ(lines[0], QStringLiteral("=開始局面="));
  EXPECT_EQ(lines[1], QStringLiteral("  1 ●C 3"));
  EXPECT_EQ(lines[2], QStringLiteral("  2*○G 7"));
}

TEST_F(EditingToolsTest, while_busy_commands_clicks_and_close_are_ignored) {
  load_ten_moves();
  w.show();
  log_clear();
  // What arrives while a long operation lets messages through.
  QTimer::singleShot(0, &w, [this] {
    w.command(ID_LAST);
    w.click_point(at(1, 1));
    w.close();
  });
  editor_pump_messages();
  EXPECT_EQ(f().tesuu, 0);
  EXPECT_EQ(f().board[at(1, 1)], 0);
  EXPECT_TRUE(w.isVisible());
  EXPECT_NE(log_text().find("\n\n現在思考中...別のボタンを。\n\n"), std::string::npos);
  EXPECT_FALSE(editor_busy());
  w.command(ID_LAST);
  EXPECT_EQ(f().tesuu, 10);
}

}  // namespace
