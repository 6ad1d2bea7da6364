#include "editor/photo_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const slot_names[PHOTO_NUM] = {"黒番の写真", "白番の写真", "解説者の写真", "広告アイコン"};
constexpr int PREVIEW_SIZE = 96;

}  // namespace

PhotoDialog::PhotoDialog(const GameInfo& info, const QString paths[3], QWidget* parent) : QDialog(parent) {
  setObjectName("PHOTO");
  setWindowTitle(QStringLiteral("写真を貼る"));
  auto* grid = new QGridLayout;
  for (int i = 0; i < PHOTO_NUM; i++) {
    photos_[i] = info.photos[i];
    if (i < 3) paths_[i] = paths[i];
    grid->addWidget(new QLabel(QString::fromUtf8(slot_names[i]), this), 0, i, Qt::AlignHCenter);
    preview_[i] = new QLabel(this);
    preview_[i]->setObjectName(QStringLiteral("preview%1").arg(i));
    preview_[i]->setFixedSize(PREVIEW_SIZE, PREVIEW_SIZE);
    preview_[i]->setFrameShape(QFrame::Box);
    preview_[i]->setAlignment(Qt::AlignCenter);
    grid->addWidget(preview_[i], 1, i, Qt::AlignHCenter);
    auto* browse = new QPushButton(QStringLiteral("参照..."), this);
    browse->setObjectName(QStringLiteral("browse%1").arg(i));
    connect(browse, &QPushButton::clicked, this, [this, i] { this->browse(i); });
    grid->addWidget(browse, 2, i);
    auto* drop = new QPushButton(QStringLiteral("削除"), this);
    drop->setObjectName(QStringLiteral("remove%1").arg(i));
    connect(drop, &QPushButton::clicked, this, [this, i] { remove(i); });
    grid->addWidget(drop, 3, i);
    show_photo(i);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void PhotoDialog::browse(int slot) {
  QFileDialog dlg(this, QString::fromUtf8(slot_names[slot]));
  dlg.setObjectName("photo_file");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setNameFilter(QStringLiteral("画像ファイル(*.jpg *.jpeg *.png *.bmp *.gif);;全てのファイル(*)"));
  if (!paths_[slot].isEmpty()) dlg.selectFile(paths_[slot]);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  attach(slot, dlg.selectedFiles().first());
}

bool PhotoDialog::attach(int slot, const QString& path) {
  QFile file(path);
  QString why;
  QByteArray data;
  if (!file.open(QIODevice::ReadOnly)) why = QStringLiteral("ファイルを開けません：%1").arg(path);
  else if (file.size() > PHOTO_BYTES_MAX)
    why = QStringLiteral("写真が大きすぎます（%1バイトまで）：%2").arg(PHOTO_BYTES_MAX).arg(path);
  else if (QPixmap pic; !pic.loadFromData(data = file.readAll()))
    why = QStringLiteral("画像として読めません：%1").arg(path);
  if (!why.isEmpty()) {
    QMessageBox::warning(this, windowTitle(), why);
    return false;
  }
  photos_[slot] = data.toStdString();
  paths_[slot] = QFileInfo(path).absoluteFilePath();
  show_photo(slot);
  return true;
}

void PhotoDialog::remove(int slot) {
  photos_[slot].clear();
  show_photo(slot);
}

void PhotoDialog::show_photo(int slot) {
  QPixmap pic;
  if (!photos_[slot].empty() && pic.loadFromData(QByteArray::fromStdString(photos_[slot]))) {
    preview_[slot]->setPixmap(pic.scaled(PREVIEW_SIZE - 2, PREVIEW_SIZE - 2, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  } else {
    preview_[slot]->setPixmap(QPixmap());
    preview_[slot]->setText(photos_[slot].empty() ? QStringLiteral("なし") : QStringLiteral("(画像)"));
  }
}
