// ABOUT_DIALOG: the product name, version and date.
#pragma once
#include <QDialog>

constexpr const char* VERSION_TEXT = "Ranvel Editor 1.04";
constexpr const char* DATE_TEXT = "2013/04/12";

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};
