#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/add_figure_dialog.h"
#include "editor/board_view.h"
#include "editor/info_dialog.h"
#include "editor/photo_dialog.h"
#include "editor/start_dialog.h"
#include "qt_env.h"
#include "window_answers.h"
#include "records/sjis.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }
std::string sjis(const char* s) { return utf8_to_cp932(s); }

TEST(InfoDialog, ShowsAndReturnsEveryField) {
  GameInfo g;
  g.black[0] = sjis("黒田");
  g.white[1] = sjis("九段");
  g.title[0] = sjis("本因坊戦");
  g.date[0] = "2013/04/12";
  g.time[1] = sjis("60秒");
  g.rule = "Chinese";
  g.winner[0] = "W";
  g.winner[1] = "6.5";
  g.komi = 7.5;
  g.nHand = 2;
  g.photos[PHOTO_WHITE] = "picture";
  InfoDialog dlg(g);
  EXPECT_EQ(child<QLineEdit>(&dlg, "black0")->text(), QStringLiteral("黒田"));
  EXPECT_EQ(child<QComboBox>(&dlg, "rule")->currentText(), QStringLiteral("中国ルール"));
  EXPECT_EQ(child<QComboBox>(&dlg, "result_kind")->currentText(), QStringLiteral("白勝ち"));
  EXPECT_EQ(child<QComboBox>(&dlg, "result_detail")->currentText(), QStringLiteral("地合い差"));
  EXPECT_EQ(child<QLineEdit>(&dlg, "margin")->text(), "6.5");
  EXPECT_EQ(child<QDoubleSpinBox>(&dlg, "komi")->value(), 7.5);

  child<QLineEdit>(&dlg, "white0")->setText(QStringLiteral("白川,二世"));
  child<QLineEdit>(&dlg, "place")->setText(QStringLiteral("東京"));
  child<QComboBox>(&dlg, "rule")->setCurrentIndex(2);
  child<QComboBox>(&dlg, "result_kind")->setCurrentText(QStringLiteral("黒勝ち"));
  child<QComboBox>(&dlg, "result_detail")->setCurrentText(QStringLiteral("反則(コウ取り)"));
  EXPECT_FALSE(child<QLineEdit>(&dlg, "margin")->isEnabled());
  child<QSpinBox>(&dlg, "handicap")->setValue(0);
  GameInfo out = dlg.info();
  EXPECT_EQ(out.black[0], g.black[0]);
  EXPECT_EQ(out.white[1], g.white[1]);
  // UGF separates fields with commas: a typed comma stays inside the name.
  EXPECT_EQ(out.white[0], sjis("白川，二世"));
  EXPECT_EQ(out.place, sjis("東京"));
  EXPECT_EQ(out.title[0], g.title[0]);
  EXPECT_EQ(out.date[0], g.date[0]);
  EXPECT_EQ(out.time[1], g.time[1]);
  EXPECT_EQ(out.rule, "Unknown");
  EXPECT_EQ(out.winner[0], "B");
  EXPECT_EQ(out.winner[1], "F2");
  EXPECT_EQ(out.nHand, 0);
  EXPECT_EQ(out.photos[PHOTO_WHITE], "picture");
}

TEST(InfoDialog, ResultCodesItDoesNotNameAreKept) {
  GameInfo g;
  g.winner[0] = "Z";
  g.winner[1] = "R";
  InfoDialog dlg(g);
  GameInfo out = dlg.info();
  EXPECT_EQ(out.winner[0], "Z");
  EXPECT_EQ(out.winner[1], "R");
  auto* kind = child<QComboBox>(&dlg, "result_kind");
  kind->setCurrentIndex(kind->findText(QStringLiteral("持碁")));
  EXPECT_EQ(dlg.info().winner[0], "D");
}

TEST(StartDialog, OffersEverySizeAndHandicap) {
  Figure base;
  base.reset();
  StartDialog dlg(base, false);
  QComboBox* size = dlg.size_box();
  QComboBox* handicap = dlg.handicap_box();
  ASSERT_EQ(size->count(), 19);
  EXPECT_EQ(size->itemText(0), QStringLiteral("指定なし"));
  EXPECT_EQ(size->itemText(1), QStringLiteral("　２路"));
  EXPECT_EQ(size->itemText(18), QStringLiteral("１９路"));
  ASSERT_EQ(handicap->count(), 10);
  EXPECT_EQ(handicap->itemText(3), QStringLiteral("３子(右下空)"));
  EXPECT_EQ(handicap->itemText(9), QStringLiteral("９子"));

  size->setCurrentIndex(size->findText(QStringLiteral("１３路")));
  handicap->setCurrentIndex(3);
  Figure f = dlg.record();
  EXPECT_EQ(f.b_size, 13);
  for (int z : {at(10, 4), at(4, 10), at(4, 4)}) EXPECT_EQ(f.board[z], 1) << z;
  EXPECT_EQ(f.board[at(10, 10)], 0);
  EXPECT_EQ(f.first_color, 2);
  EXPECT_EQ(f.info.nHand, 3);

  size->setCurrentIndex(size->findText(QStringLiteral("１１路")));
  EXPECT_FALSE(handicap->isEnabled());
  EXPECT_EQ(dlg.record().b_size, 11);
  EXPECT_EQ(dlg.record().info.nHand, 0);
  size->setCurrentIndex(0);
  EXPECT_EQ(dlg.record().b_size, 19);
}

TEST(StartDialog, KeptPositionFixesTheBoardAndTheEditedPositionWins) {
  Figure base;
  base.reset();
  base.set_size(9);
  base.initial_board[at(5, 5)] = 1;
  base.info.black[0] = "K";
  StartDialog dlg(base, true);
  EXPECT_FALSE(dlg.size_box()->isEnabled());
  EXPECT_FALSE(dlg.handicap_box()->isEnabled());
  Figure f = dlg.record();
  EXPECT_EQ(f.b_size, 9);
  EXPECT_EQ(f.board[at(5, 5)], 1);
  EXPECT_EQ(f.info.black[0], "K");

  answer_next_dialog([](QWidget* w) {
    auto* fig = qobject_cast<AddFigureDialog*>(w);
    ASSERT_NE(fig, nullptr);
    fig->click_point(at(3, 3));
    press_ok(fig);
  });
  child<QPushButton>(&dlg, "edit_position")->click();
  f = dlg.record();
  EXPECT_EQ(f.board[at(3, 3)], 1);
  EXPECT_EQ(f.board[at(5, 5)], 1);
  EXPECT_EQ(f.move_count, 0);
}

class AddFigureTest : public testing::Test {
 protected:
  Figure start;
  void SetUp() override {
    start.reset();
    start.set_size(9);
    start.initial_board[at(5, 5)] = 2;
    start.goto_move(0);
  }
  void tool(AddFigureDialog& d, int id) { child<QRadioButton>(&d, ("tool" + std::to_string(id)).c_str())->click(); }
};

TEST_F(AddFigureTest, StonesAlternateOrTakeOneColourAndNumbersCanBeLeftOff) {
  AddFigureDialog d(start, FIGURE_COMMENT, "t");
  // A real click on the drawn board.
  d.resize(700, 600);
  d.show();
  BoardGeometry g = d.board()->geometry_now();
  QTest::mouseClick(d.board(), Qt::LeftButton, {}, QPoint(g.x_of(3), g.y_of(3)));
  d.click_point(at(7, 3));
  ASSERT_EQ(d.figure().move_count, 2);
  EXPECT_EQ(d.figure().moves[0].z, at(3, 3));
  EXPECT_EQ(d.figure().moves[0].color, 1);
  EXPECT_EQ(d.figure().moves[1].color, 2);
  EXPECT_EQ(d.figure().first_number, 1);
  tool(d, TOOL_WHITE);
  d.click_point(at(1, 1));
  d.click_point(at(5, 5));  // occupied: nothing
  EXPECT_EQ(d.figure().move_count, 3);
  EXPECT_EQ(d.figure().moves[2].color, 2);
  child<QPushButton>(&d, "no_numbers")->click();
  tool(d, TOOL_BLACK);
  d.click_point(at(9, 9));
  EXPECT_EQ(d.figure().move_count, 3);
  EXPECT_EQ(d.figure().initial_board[at(9, 9)], 1);
  EXPECT_EQ(d.figure().board[at(9, 9)], 1);
  child<QPushButton>(&d, "delete_last")->click();
  EXPECT_EQ(d.figure().move_count, 2);
  EXPECT_EQ(d.figure().board[at(1, 1)], 0);
  EXPECT_TRUE(d.changed());
}

TEST_F(AddFigureTest, LabelSeriesMarksEraseAndInitialise) {
  AddFigureDialog d(start, FIGURE_COMMENT, "t");
  auto* series = child<QComboBox>(&d, "series");
  EXPECT_EQ(series->itemText(0), QStringLiteral("イロハ"));
  EXPECT_EQ(series->itemText(3), QStringLiteral("ＡＢＣ"));
  series->setCurrentIndex(0);  // picks the label tool too
  series->setCurrentIndex(1);
  series->setCurrentIndex(0);
  d.click_point(at(1, 1));
  d.click_point(at(2, 1));
  EXPECT_EQ(d.figure().labels[at(1, 1)], label_value("イ"));
  EXPECT_EQ(d.figure().labels[at(2, 1)], label_value("ロ"));
  series->setCurrentIndex(1);
  d.click_point(at(3, 1));
  EXPECT_EQ(d.figure().labels[at(3, 1)], label_value("い"));
  series->setCurrentIndex(3);
  d.click_point(at(4, 1));
  EXPECT_EQ(d.figure().labels[at(4, 1)], label_value("Ａ"));
  series->setCurrentIndex(4);  // △
  d.click_point(at(5, 5));
  EXPECT_EQ(d.figure().labels[at(5, 5)], LABEL_TRIANGLE);
  d.click_point(at(5, 5));
  EXPECT_EQ(d.figure().labels[at(5, 5)], 0);
  // The erased イ is the next one the series gives.
  d.click_point(at(1, 1), Qt::RightButton);
  series->setCurrentIndex(0);
  d.click_point(at(6, 6));
  EXPECT_EQ(d.figure().labels[at(6, 6)], label_value("イ"));
  tool(d, TOOL_ERASE);
  d.click_point(at(5, 5));
  EXPECT_EQ(d.figure().board[at(5, 5)], 0);
  tool(d, TOOL_ALTERNATE);
  d.click_point(at(3, 3));
  child<QPlainTextEdit>(&d, "comment")->setPlainText(QStringLiteral("一行目\n二行目"));
  child<QPushButton>(&d, "initialise")->click();
  const Figure& f = d.figure();
  EXPECT_EQ(f.move_count, 0);
  EXPECT_EQ(f.board[at(5, 5)], 2);
  EXPECT_TRUE(std::all_of(std::begin(f.labels), std::end(f.labels), [](int32_t l) { return l == 0; }));
  EXPECT_EQ(f.text, sjis("一行目\r\n二行目"));
}

TEST_F(AddFigureTest, ClosingWithChangesAsksBeforeDiscarding) {
  AddFigureDialog d(start, FIGURE_COMMENT, "t");
  d.click_point(at(2, 2));
  answer_next_dialog([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::No)->click(); });
  d.open();
  d.reject();
  EXPECT_TRUE(d.isVisible());
  answer_next_dialog([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("参考図、コメントが変更されています。\n変更を破棄しますか？"));
    box->button(QMessageBox::Yes)->click();
  });
  d.reject();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Rejected);

  AddFigureDialog untouched(start, FIGURE_COMMENT, "t");
  untouched.open();
  untouched.reject();  // nothing changed: no question
  EXPECT_FALSE(untouched.isVisible());
}

TEST(PhotoDialog, AttachesShowsAndRemovesPictures) {
  QTemporaryDir dir;
  QString small = dir.filePath("face.png"), big = dir.filePath("big.bmp"), text = dir.filePath("note.txt");
  QImage face(40, 40, QImage::Format_RGB32);
  face.fill(Qt::red);
  ASSERT_TRUE(face.save(small));
  QImage huge(400, 400, QImage::Format_RGB32);
  huge.fill(Qt::blue);
  ASSERT_TRUE(huge.save(big));
  QFile note(text);
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.write("not a picture");
  note.close();

  GameInfo g;
  g.photos[PHOTO_ICON] = "old";
  QString paths[3];
  PhotoDialog dlg(g, paths);
  ASSERT_TRUE(dlg.attach(PHOTO_BLACK, small));
  EXPECT_FALSE(child<QLabel>(&dlg, "preview0")->pixmap().isNull());
  QFile f(small);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(dlg.photo(PHOTO_BLACK), f.readAll().toStdString());
  EXPECT_EQ(dlg.path(PHOTO_BLACK), small);
  for (const QString& refused : {big, text}) {
    answer_next_dialog([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click(); });
    EXPECT_FALSE(dlg.attach(PHOTO_WHITE, refused));
    EXPECT_TRUE(dlg.photo(PHOTO_WHITE).empty());
  }
  child<QPushButton>(&dlg, "remove3")->click();
  EXPECT_TRUE(dlg.photo(PHOTO_ICON).empty());
}

}  // namespace
