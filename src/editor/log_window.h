// The information window "情報表示": the debug log as it grows, with the
// switch that also writes it to the file "output".
#pragma once
#include <QWidget>

class QPlainTextEdit;
class QTimer;
class QAction;

class LogWindow : public QWidget {
  Q_OBJECT
 public:
  explicit LogWindow(QWidget* parent = nullptr);
  QAction* file_output_action() const { return file_output_; }

 signals:
  void closed();

 protected:
  void showEvent(QShowEvent*) override;
  void closeEvent(QCloseEvent*) override;

 private:
  void refresh();
  QPlainTextEdit* text_;
  QTimer* timer_;
  QAction* file_output_;
  QString shown_;
};
