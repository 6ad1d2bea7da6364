#include "editor/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("ABOUT_DIALOG");
  setWindowTitle(QStringLiteral("Ranvel Editorについて"));
  auto* layout = new QVBoxLayout(this);
  auto* name = new QLabel(QString::fromLatin1(VERSION_TEXT), this);
  QFont big = name->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  name->setFont(big);
  layout->addWidget(name);
  layout->addWidget(new QLabel(QString::fromLatin1(DATE_TEXT), this));
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(ok);
}
