#include "editor/folder_move_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FolderMoveDialog::FolderMoveDialog(int files, const QString& verb, const QString& current, const QStringList& folders,
                                   QWidget* parent)
    : QDialog(parent) {
  setObjectName("KIF_FOLDER_MOVE");
  setWindowTitle(QStringLiteral("フォルダ%1").arg(verb));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("選択された %1 個のファイルを別フォルダに%2します").arg(files).arg(verb)));
  layout->addWidget(new QLabel(QStringLiteral("現在のフォルダ：%1").arg(QDir::toNativeSeparators(current))));
  layout->addWidget(new QLabel(QStringLiteral("%1先のフォルダ：").arg(verb)));
  auto* row = new QHBoxLayout;
  destination_ = new QComboBox;
  destination_->setObjectName("destination");
  destination_->setEditable(true);
  destination_->setMinimumWidth(360);
  for (const QString& f : folders)
    if (f != current) destination_->addItem(f);
  row->addWidget(destination_, 1);
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."));
  row->addWidget(browse);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダを選択して下さい"), destination(),
                                                    QFileDialog::DontUseNativeDialog);
    if (!dir.isEmpty()) destination_->setCurrentText(dir);
  });
}

QString FolderMoveDialog::destination() const { return destination_->currentText().trimmed(); }
