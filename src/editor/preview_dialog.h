// PREVIEW "印刷プレビュー": the pages of a print request as the printer gets them.
#pragma once
#include <QDialog>

#include "editor/print_layout.h"

class QPrintPreviewWidget;
class QPrinter;

class PreviewDialog : public QDialog {
  Q_OBJECT
 public:
  PreviewDialog(const Figure& record, const PrintRequest& r, QWidget* parent = nullptr);
  ~PreviewDialog() override;

  QPrintPreviewWidget* preview() const { return preview_; }
  void restore_place(const QString& text);
  QString place() const;

 private:
  const Figure& record_;
  PrintRequest request_;
  QPrinter* printer_;
  QPrintPreviewWidget* preview_;
};
