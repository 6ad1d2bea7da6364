#include "editor/print_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/log.h"
#include "editor/preview_dialog.h"

namespace {

constexpr int DEFAULT_PER_FIGURE = 100;
constexpr int NUMBER_FIELD_WIDTH = 60;

// GetDlgItemInt without sign: anything that is not a plain number reads as 0.
int unsigned_field(const QLineEdit* e) {
  bool ok = false;
  uint v = e->text().trimmed().toUInt(&ok);
  return ok && v <= uint(FIGURE_MOVES_MAX * 1000) ? int(v) : 0;
}

QLineEdit* number_field(QWidget* parent, const char* name, int value) {
  auto* e = new QLineEdit(QString::number(value), parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setFixedWidth(NUMBER_FIELD_WIDTH);
  e->setAlignment(Qt::AlignRight);
  return e;
}

}  // namespace

PrinterDialog::PrinterDialog(const Figure& record, QString* preview_place, QWidget* parent)
    : QDialog(parent), record_(record), preview_place_(preview_place) {
  setObjectName("PRINTER_DIALOG");
  setWindowTitle(QStringLiteral("印刷の設定"));
  whole_ = new QRadioButton(QStringLiteral("総譜"), this);
  part_ = new QRadioButton(QStringLiteral("部分譜"), this);
  split_ = new QRadioButton(QStringLiteral("自動分割譜(連続印刷)"), this);
  whole_->setObjectName("whole");
  part_->setObjectName("part");
  split_->setObjectName("split");
  auto* kinds = new QButtonGroup(this);
  for (QRadioButton* b : {whole_, part_, split_}) {
    kinds->addButton(b);
    connect(b, &QRadioButton::toggled, this, [this](bool on) {
      if (on) kind_chosen();
    });
  }

  first_ = number_field(this, "first", 1);
  last_ = number_field(this, "last", record.move_count);
  per_figure_ = number_field(this, "per_figure", DEFAULT_PER_FIGURE);
  auto* moves = new QGroupBox(QStringLiteral("印刷手数の指定"), this);
  auto* grid = new QGridLayout(moves);
  grid->addWidget(first_, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("～"), moves), 0, 1);
  grid->addWidget(last_, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("手"), moves), 0, 3);
  grid->addWidget(per_figure_, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("手毎"), moves), 1, 3);
  grid->setColumnStretch(4, 1);

  two_digit_ = new QCheckBox(QStringLiteral("2桁で印字"), this);
  two_digit_->setObjectName("two_digit");
  preview_button_ = new QPushButton(QStringLiteral("印刷プレビュー"), this);
  preview_button_->setObjectName("preview");
  auto* print = new QPushButton(QStringLiteral("印刷"), this);
  print->setObjectName("print");
  print->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("cancel");

  auto* left = new QVBoxLayout;
  left->addWidget(whole_);
  left->addWidget(part_);
  left->addWidget(split_);
  left->addWidget(moves);
  left->addWidget(two_digit_);
  auto* right = new QVBoxLayout;
  right->addWidget(print);
  right->addWidget(cancel);
  right->addStretch();
  right->addWidget(preview_button_);
  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addLayout(right);

  connect(print, &QPushButton::clicked, this, [this] {
    fill_request();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(preview_button_, &QPushButton::clicked, this, &PrinterDialog::preview);

  whole_->setChecked(true);
  two_digit_->setChecked(true);
  kind_chosen();
}

void PrinterDialog::kind_chosen() {
  for (QWidget* w : {static_cast<QWidget*>(first_), static_cast<QWidget*>(last_),
                     static_cast<QWidget*>(per_figure_), static_cast<QWidget*>(two_digit_)})
    w->setEnabled(false);
  preview_button_->setEnabled(true);
  if (part_->isChecked()) {
    first_->setEnabled(true);
    last_->setEnabled(true);
    two_digit_->setEnabled(true);
  } else if (split_->isChecked()) {
    per_figure_->setEnabled(true);
    two_digit_->setEnabled(true);
    preview_button_->setEnabled(false);
  }
}

PrintRequest PrinterDialog::read_request() const {
  PrintRequest r;
  r.kind = part_->isChecked() ? FIGURE_PART : split_->isChecked() ? FIGURE_SPLIT : FIGURE_WHOLE;
  r.first = unsigned_field(first_);
  r.last = unsigned_field(last_);
  r.per_figure = unsigned_field(per_figure_);
  r.two_digit = two_digit_->isChecked();
  return r;
}

void PrinterDialog::fill_request() {
  request_ = read_request();
  PRT("prt_n=%d, te0=%d,%d,%d,2keta=%d\n", request_.kind, request_.first, request_.last, request_.per_figure,
      int(request_.two_digit));
}

void PrinterDialog::preview() {
  fill_request();
  PreviewDialog dlg(record_, request_, this);
  if (preview_place_) dlg.restore_place(*preview_place_);
  dlg.exec();
  if (preview_place_) *preview_place_ = dlg.place();
}

bool run_print_job(QWidget* parent, const Figure& record, const PrintRequest& r) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Ranvel Editor"));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setCopyCount(1);
  QPrintDialog dlg(&printer, parent);
  // One copy of everything: no page range, no selection. Printing to a file
  // stays offered, as it is how many Linux desktops make a PDF.
  dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
  dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dlg.setMinMax(1, 1);
  if (dlg.exec() != QDialog::Accepted) return false;
  if (!print_document(printer, record, r)) {
    // Printing to a file: no half-written PDF is left behind.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
      QFile::remove(printer.outputFileName());
    QMessageBox::warning(parent, QStringLiteral("確認"), QStringLiteral("印刷できませんでした。"));
    return false;
  }
  return true;
}

void print_with_dialog(QWidget* parent, const Figure& record, QString* preview_place) {
  PrinterDialog dlg(record, preview_place, parent);
  if (dlg.exec() == QDialog::Accepted) run_print_job(parent, record, dlg.request());
}
