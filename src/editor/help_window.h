// The help pages in a window of the program, for desktops that have no
// browser to open them with.
#pragma once
#include <QString>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
 public:
  // page: the local HTML file shown first; links inside it stay in the window.
  HelpWindow(const QString& page, QWidget* parent);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// True when the desktop names a program that opens HTML pages (xdg-open and
// a default handler for text/html); Qt reports success as soon as xdg-open
// starts, even when it then finds nothing to open the page with.
bool desktop_opens_html();
