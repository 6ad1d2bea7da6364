// PRINTER_DIALOG "印刷の設定": which figures to print, the preview, and the
// print job on a printer the user picks.
#pragma once
#include <QDialog>

#include "editor/print_layout.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QString;

class PrinterDialog : public QDialog {
  Q_OBJECT
 public:
  // record: the working record; preview_place: the preview window's stored
  // placement, updated when the preview closes.
  PrinterDialog(const Figure& record, QString* preview_place, QWidget* parent = nullptr);

  // The request as the widgets say now (figure kind, the three numbers read
  // as unsigned integers, the two-digit box).
  PrintRequest read_request() const;
  // The request of the last "印刷" or "印刷プレビュー".
  const PrintRequest& request() const { return request_; }

 private:
  void kind_chosen();
  void fill_request();
  void preview();

  const Figure& record_;
  QString* preview_place_;
  PrintRequest request_;
  QRadioButton* whole_;
  QRadioButton* part_;
  QRadioButton* split_;
  QLineEdit* first_;
  QLineEdit* last_;
  QLineEdit* per_figure_;
  QCheckBox* two_digit_;
  QPushButton* preview_button_;
};

// Shows the print dialog of the platform and prints the request's figures
// as the document "Ranvel Editor"; false when cancelled or nothing printed.
bool run_print_job(QWidget* parent, const Figure& record, const PrintRequest& r);

// The print settings dialog and, on "印刷", the print job.
void print_with_dialog(QWidget* parent, const Figure& record, QString* preview_place);
