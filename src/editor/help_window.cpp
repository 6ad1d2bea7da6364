#include "editor/help_window.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int HELP_WIDTH = 720, HELP_HEIGHT = 600;
constexpr int XDG_QUERY_MS = 2000;
}  // namespace

HelpWindow::HelpWindow(const QString& page, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("help_window");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Ranvel Editor ヘルプ"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(page));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(HELP_WIDTH, HELP_HEIGHT);
}

bool desktop_opens_html() {
  if (QStandardPaths::findExecutable("xdg-open").isEmpty()) return false;
  if (QStandardPaths::findExecutable("xdg-mime").isEmpty()) return true;  // nothing to ask: trust xdg-open
  QProcess query;
  query.start("xdg-mime", {"query", "default", "text/html"});
  if (!query.waitForFinished(XDG_QUERY_MS)) {
    query.kill();
    query.waitForFinished();
    return false;
  }
  return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
