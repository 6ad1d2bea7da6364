#include "editor/image_save_dialog.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "editor/image_export.h"
#include "editor/settings.h"

namespace {

constexpr int FILE_NAME_MAX = 260;
constexpr int SIZE_FIELD_WIDTH = 70;
constexpr int FILE_FIELD_WIDTH = 320;

// The stored default names a Windows drive; here it would become a file
// called "c:\sample.png" in whatever folder is current.
QString shown_file_name(const QString& stored) {
  if (stored != Settings().ImgFile) return stored;
  QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (pictures.isEmpty() || !QDir(pictures).exists()) pictures = QDir::homePath();
  return QDir(pictures).filePath(QStringLiteral("sample.png"));
}

}  // namespace

ImageSaveDialog::ImageSaveDialog(Settings& settings, const BoardScene& scene, QWidget* parent)
    : QDialog(parent), settings_(settings), scene_(scene) {
  open_viewer = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  setObjectName("PNG_SAVE");
  setWindowTitle(QStringLiteral("画像の保存"));
  file_ = new QLineEdit(shown_file_name(settings.ImgFile), this);
  file_->setObjectName("file_name");
  file_->setMaxLength(FILE_NAME_MAX);
  file_->setMinimumWidth(FILE_FIELD_WIDTH);
  auto* browse = new QPushButton(QStringLiteral("参照..."), this);
  browse->setObjectName("browse");
  size_ = new QLineEdit(QString::number(settings.ImgSize), this);
  size_->setObjectName("size");
  size_->setFixedWidth(SIZE_FIELD_WIDTH);
  size_->setAlignment(Qt::AlignRight);
  show_ = new QCheckBox(QStringLiteral("保存された画像を見る"), this);
  show_->setObjectName("show");
  show_->setChecked(settings.ImgShow != 0);
  auto* save = new QPushButton(QStringLiteral("保存"), this);
  save->setObjectName("save");
  save->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("cancel");

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("画像のファイル名( *.png のみ保存可能です)"), this), 0, 0, 1, 3);
  grid->addWidget(file_, 1, 0, 1, 2);
  grid->addWidget(browse, 1, 2);
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(new QLabel(QStringLiteral("画像サイズ"), this));
  size_row->addWidget(size_);
  size_row->addWidget(new QLabel(QStringLiteral("(20 ～ 2000)"), this));
  size_row->addStretch();
  grid->addLayout(size_row, 2, 0, 1, 3);
  grid->addWidget(show_, 3, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(browse, &QPushButton::clicked, this, &ImageSaveDialog::browse);
  connect(save, &QPushButton::clicked, this, &ImageSaveDialog::save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImageSaveDialog::browse() {
  QFileDialog dlg(this, QStringLiteral("ファイルの選択"));
  dlg.setObjectName("browse_dialog");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  // The overwrite question is the dialog's own, asked on "保存".
  dlg.setOption(QFileDialog::DontConfirmOverwrite);
  dlg.setNameFilters({QStringLiteral("png ファイル (*.png)"), QStringLiteral("全てのファイル (*.*)")});
  dlg.setDefaultSuffix(QStringLiteral("png"));
  QFileInfo current(file_->text());
  if (current.dir().exists()) dlg.setDirectory(current.dir());
  dlg.selectFile(current.fileName());
  if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()) file_->setText(dlg.selectedFiles().first());
}

void ImageSaveDialog::save() {
  QString name = file_->text().left(FILE_NAME_MAX);
  const int size = clamp_image_size(size_->text().trimmed().toInt());
  const bool show = show_->isChecked();
  if (name.isEmpty()) {
    QMessageBox::information(this, QStringLiteral("確認"), QStringLiteral("ファイル名が指定されていません。"));
    return;
  }
  name = png_file_name(name);
  if (QFileInfo::exists(name)) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                    QStringLiteral("同名のファイルが存在します。上書きしてもいいですか？"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    if (box.exec() != QMessageBox::Ok) return;
  }
  QString failure;
  if (!save_board_image(name, size, scene_, &failure)) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("確認"), failure, QMessageBox::Ok, this);
    box.exec();
    return;
  }
  saved_ = name;
  settings_.ImgFile = name;
  settings_.ImgSize = size;
  settings_.ImgShow = show ? 1 : 0;
  if (show && open_viewer) open_viewer(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
  accept();
}

void save_image_with_dialog(QWidget* parent, Settings& settings, const BoardScene& scene) {
  ImageSaveDialog dlg(settings, scene, parent);
  dlg.exec();
}
