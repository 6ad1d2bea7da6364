// The print settings dialog, the preview and the image dialog driven through
// their widgets, and the image files they write.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/log.h"
#include "editor/commands.h"
#include "editor/image_export.h"
#include "editor/image_save_dialog.h"
#include "editor/main_window.h"
#include "editor/preview_dialog.h"
#include "editor/print_dialog.h"
#include "qt_env.h"
#include "window_answers.h"

namespace {

struct Enabled {
  bool first, last, per_figure, two_digit, preview;
  bool operator==(const Enabled&) const = default;
};

Enabled enabled(QWidget* d) {
  return {child<QLineEdit>(d, "first")->isEnabled(), child<QLineEdit>(d, "last")->isEnabled(),
          child<QLineEdit>(d, "per_figure")->isEnabled(), child<QCheckBox>(d, "two_digit")->isEnabled(),
          child<QPushButton>(d, "preview")->isEnabled()};
}

Figure& ten_move_record() {
  static Figure f;
  f.reset();
  f.set_size(9);
  const int moves[] = {figure_z(3, 3), figure_z(7, 7), figure_z(3, 7), figure_z(7, 3), figure_z(5, 5),
                       figure_z(5, 6), figure_z(6, 5), figure_z(6, 6), figure_z(4, 7), figure_z(6, 3)};
  int color = 1;
  for (int z : moves) {
    f.append_move(z, color);
    color = 3 - color;
  }
  f.goto_move(f.move_count);
  return f;
}

TEST(PrinterDialog, OpensOnWholeGameAndEnablesFieldsByKind) {
  const Figure& f = ten_move_record();
  PrinterDialog d(f, nullptr);
  EXPECT_EQ(d.windowTitle(), QStringLiteral("印刷の設定"));
  EXPECT_TRUE(child<QRadioButton>(&d, "whole")->isChecked());
  EXPECT_TRUE(child<QCheckBox>(&d, "two_digit")->isChecked());
  EXPECT_EQ(child<QLineEdit>(&d, "first")->text(), "1");
  EXPECT_EQ(child<QLineEdit>(&d, "last")->text(), "10");
  EXPECT_EQ(child<QLineEdit>(&d, "per_figure")->text(), "100");
  EXPECT_EQ(enabled(&d), (Enabled{false, false, false, false, true}));

  child<QRadioButton>(&d, "part")->click();
  EXPECT_EQ(enabled(&d), (Enabled{true, true, false, true, true}));
  child<QRadioButton>(&d, "split")->click();
  EXPECT_EQ(enabled(&d), (Enabled{false, false, true, true, false}));
  child<QRadioButton>(&d, "whole")->click();
  EXPECT_EQ(enabled(&d), (Enabled{false, false, false, false, true}));
}

TEST(PrinterDialog, PrintFillsTheRequestFromTheWidgetsAndLogsIt) {
  const Figure& f = ten_move_record();
  PrinterDialog d(f, nullptr);
  child<QRadioButton>(&d, "part")->click();
  child<QLineEdit>(&d, "first")->setText("3");
  child<QLineEdit>(&d, "last")->setText("-8");  // not an unsigned number: 0
  child<QCheckBox>(&d, "two_digit")->setChecked(false);
  log_clear();
  child<QPushButton>(&d, "print")->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.request().kind, FIGURE_PART);
  EXPECT_EQ(d.request().first, 3);
  EXPECT_EQ(d.request().last, 0);
  EXPECT_FALSE(d.request().two_digit);
  EXPECT_NE(log_text().find("prt_n=1, te0=3,0,100,2keta=0\n"), std::string::npos) << log_text();

  PrinterDialog cancelled(f, nullptr);
  child<QPushButton>(&cancelled, "cancel")->click();
  EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST(PrinterDialog, PreviewShowsThePagesAndReturnsToTheSettings) {
  const Figure& f = ten_move_record();
  QString place;
  PrinterDialog d(f, &place);
  child<QRadioButton>(&d, "part")->click();
  child<QLineEdit>(&d, "first")->setText("4");
  int pages = -1;
  QString title;
  answer_next_dialog([&](QWidget* w) {
    title = w->windowTitle();
    auto* preview = w->findChild<QPrintPreviewWidget*>("PreviewWndClass");
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    pages = preview->pageCount();
    child<QPushButton>(w, "close")->click();
  });
  child<QPushButton>(&d, "preview")->click();
  EXPECT_EQ(title, QStringLiteral("印刷プレビュー"));
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(d.request().first, 4);
  EXPECT_FALSE(place.isEmpty());  // the preview's placement is kept for next time
}

struct ImageDialogFixture : testing::Test {
  QTemporaryDir dir;
  Settings settings;
  Figure& figure = ten_move_record();
  BoardScene scene;
  QList<QUrl> viewed;

  void SetUp() override { scene.figure = &figure; }

  // Fills the dialog's fields and presses "保存"; returns the dialog's result.
  int save(const QString& name, const QString& size, bool show = false,
           std::function<void(QWidget*)> answer = nullptr) {
    ImageSaveDialog d(settings, scene);
    d.open_viewer = [this](const QUrl& u) {
      viewed << u;
      return true;
    };
    child<QLineEdit>(&d, "file_name")->setText(name);
    child<QLineEdit>(&d, "size")->setText(size);
    child<QCheckBox>(&d, "show")->setChecked(show);
    if (answer) answer_next_dialog(answer);
    child<QPushButton>(&d, "save")->click();
    cancel_pending_answers();
    return d.result();
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_F(ImageDialogFixture, SizeIsClampedAndTheExtensionBecomesPng) {
  EXPECT_EQ(save(path("small.bmp"), "5"), QDialog::Accepted);
  EXPECT_FALSE(QFile::exists(path("small.bmp")));
  QImage small(path("small.png"));
  EXPECT_EQ(small.size(), QSize(20, 20));

  EXPECT_EQ(save(path("big"), "3000"), QDialog::Accepted);
  EXPECT_EQ(QImage(path("big.png")).size(), QSize(2000, 2000));
  EXPECT_EQ(settings.ImgFile, path("big.png"));
  EXPECT_EQ(settings.ImgSize, 2000);

  // A dot in a folder name is not the file's extension.
  QDir(dir.path()).mkdir("v1.2");
  EXPECT_EQ(save(path("v1.2/board"), "340"), QDialog::Accepted);
  EXPECT_EQ(QImage(path("v1.2/board.png")).size(), QSize(340, 340));
  EXPECT_EQ(png_file_name("a.PNG"), "a.PNG");
  EXPECT_EQ(png_file_name("a.pngx"), "a.png");
}

TEST_F(ImageDialogFixture, ExistingFileIsOverwrittenOnlyAfterOk) {
  QFile old(path("board.png"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  QString asked;
  int result = save(path("board.png"), "100", false, [&](QWidget* w) {
    asked = qobject_cast<QMessageBox*>(w) ? qobject_cast<QMessageBox*>(w)->text() : QString();
    answer_box(w, QMessageBox::Cancel);
  });
  EXPECT_EQ(asked, QStringLiteral("同名のファイルが存在します。上書きしてもいいですか？"));
  EXPECT_NE(result, QDialog::Accepted);  // the dialog stays open
  EXPECT_EQ(QFile(path("board.png")).size(), 3);

  result = save(path("board.png"), "100", true, [](QWidget* w) { answer_box(w, QMessageBox::Ok); });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(QImage(path("board.png")).size(), QSize(100, 100));
  ASSERT_EQ(viewed.size(), 1);
  EXPECT_EQ(viewed[0].toLocalFile(), path("board.png"));
  EXPECT_EQ(settings.ImgShow, 1);
}

TEST_F(ImageDialogFixture, EmptyNameAndUnwritablePathAreRefusedWithAMessage) {
  {
    // The stored default names a Windows drive: a real folder is offered instead.
    ImageSaveDialog d(settings, scene);
    QString shown = child<QLineEdit>(&d, "file_name")->text();
    EXPECT_TRUE(QFileInfo(shown).isAbsolute() && QFileInfo(shown).dir().exists()) << shown.toStdString();
  }
  QString said;
  auto note = [&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    said = box->windowTitle() + "|" + box->text();
    box->button(QMessageBox::Ok)->click();
  };
  EXPECT_NE(save("", "100", false, note), QDialog::Accepted);
  EXPECT_EQ(said, QStringLiteral("確認|ファイル名が指定されていません。"));
  said.clear();
  const QString nowhere = path("missing/folder/x.png");
  EXPECT_NE(save(nowhere, "100", true, note), QDialog::Accepted);
  EXPECT_EQ(said, QStringLiteral("確認|画像の保存に失敗しました"));
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_TRUE(viewed.isEmpty());
  EXPECT_EQ(settings.ImgFile, Settings().ImgFile);  // nothing saved, nothing remembered
}

TEST(EncodeImage, EachKindWritesAReadableFileOrNothing) {
  QTemporaryDir dir;
  BoardScene scene;
  scene.figure = &ten_move_record();
  QImage board = board_image(scene, 120);
  const char* formats[] = {"png", "jpeg", "gif", "tiff"};
  for (int kind = IMAGE_PNG; kind <= IMAGE_TIFF; kind++) {
    QString name = dir.filePath(QString("board.%1").arg(formats[kind]));
    bool ok = encode_image(name, board, kind);
    EXPECT_EQ(ok, QImageWriter::supportedImageFormats().contains(formats[kind])) << formats[kind];
    EXPECT_EQ(QFile::exists(name), ok) << formats[kind];
    if (ok) {
      EXPECT_EQ(QImage(name).size(), QSize(120, 120)) << formats[kind];
    }
  }
  EXPECT_TRUE(QImageWriter::supportedImageFormats().contains("png"));
  EXPECT_FALSE(encode_image(dir.filePath("x.bin"), board, 4));
  EXPECT_FALSE(QFile::exists(dir.filePath("x.bin")));
  // The drawing is the board view's: the stone of move 1 is black in the image.
  QImage big = board_image(scene, 400);
  BoardGeometry g = board_geometry(400, 400, 9, scene.coord_style);
  EXPECT_LT(qGray(big.pixel(g.x_of(3), g.y_of(3))), 80);
  EXPECT_GT(qGray(big.pixel(g.x_of(7), g.y_of(7))), 170);
}

TEST(MainWindowCommands, PrintAndImageExportOpenTheirDialogs) {
  QTemporaryDir dir;
  QSettings store(dir.filePath("t.ini"), QSettings::IniFormat);
  MainWindow w(&store);
  ASSERT_TRUE(w.action(ID_PRINT)->isEnabled());
  ASSERT_TRUE(w.action(ID_SAVE_IMAGE)->isEnabled());
  for (int id : {ID_PRINT, ID_SAVE_IMAGE}) {
    QString name;
    answer_next_dialog([&](QWidget* d) {
      name = d->objectName();
      child<QPushButton>(d, "cancel")->click();
    });
    w.command(id);
    EXPECT_EQ(name, id == ID_PRINT ? "PRINTER_DIALOG" : "PNG_SAVE");
  }
}

}  // namespace
