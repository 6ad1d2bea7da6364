#include "editor/preview_dialog.h"

#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/settings.h"

namespace {

constexpr int PREVIEW_WIDTH = 640;
constexpr int PREVIEW_HEIGHT = 860;

}  // namespace

PreviewDialog::PreviewDialog(const Figure& record, const PrintRequest& r, QWidget* parent)
    : QDialog(parent), record_(record), request_(r) {
  setObjectName("PREVIEW");
  setWindowTitle(QStringLiteral("印刷プレビュー"));
  // The preview lays the pages out for an A4 sheet, as the print job does.
  printer_ = new QPrinter(QPrinter::HighResolution);
  printer_->setPageSize(QPageSize(QPageSize::A4));
  printer_->setPageOrientation(QPageLayout::Portrait);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setObjectName("PreviewWndClass");
  connect(preview_, &QPrintPreviewWidget::paintRequested, this,
          [this](QPrinter* printer) { print_document(*printer, record_, request_); });
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName("close");
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(preview_, 1);
  layout->addLayout(buttons);
  resize(PREVIEW_WIDTH, PREVIEW_HEIGHT);
  preview_->fitInView();
}

PreviewDialog::~PreviewDialog() {
  delete preview_;  // before the printer it paints for
  delete printer_;
}

void PreviewDialog::restore_place(const QString& text) {
  if (!text.isEmpty()) restore_window_place(this, text);
}

QString PreviewDialog::place() const { return window_place_text(this); }
