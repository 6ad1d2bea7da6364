#include "editor/log_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/log.h"

namespace {
constexpr int REFRESH_MS = 250;
}

LogWindow::LogWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("PrintClass");
  setWindowTitle(QStringLiteral("情報表示"));
  resize(720, 420);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(this);
  QMenu* menu = bar->addMenu(QStringLiteral("ファイル(&F)"));
  file_output_ = menu->addAction(QStringLiteral("PRTをファイル出力(&R)"));
  file_output_->setCheckable(true);
  file_output_->setChecked(log_file_output());
  connect(file_output_, &QAction::toggled, this, [](bool on) { log_set_file_output(on); });
  QAction* copy = menu->addAction(QStringLiteral("クリップボードにコピー(&C)"));
  connect(copy, &QAction::triggered, this, [] { QApplication::clipboard()->setText(QString::fromStdString(log_text())); });
  layout->setMenuBar(bar);
  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono(QStringLiteral("ＭＳ ゴシック"));
  mono.setPixelSize(13);
  text_->setFont(mono);
  layout->addWidget(text_);
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (isVisible()) refresh();
  });
  timer_->start(REFRESH_MS);
}

void LogWindow::showEvent(QShowEvent*) {
  file_output_->setChecked(log_file_output());
  refresh();
}

void LogWindow::closeEvent(QCloseEvent*) { emit closed(); }

void LogWindow::refresh() {
  QString now = QString::fromStdString(log_text());
  if (now == shown_) return;
  shown_ = now;
  text_->setPlainText(now);
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}
