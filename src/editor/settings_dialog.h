// The settings sheet "各種設定" with its one page.
#pragma once
#include <QDialog>

#include "editor/settings.h"

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  SettingsDialog(const Settings& s, QWidget* parent = nullptr);
  // The settings with the page's values taken over.
  Settings result() const;

 signals:
  void applied(const Settings& s);

 private:
  void choose_font(int which);
  void show_font(int which);
  Settings s_;
  QButtonGroup* board_color_;
  QCheckBox* last_move_load_;
  QDoubleSpinBox* auto_sec_;
  QCheckBox* auto_comment_;
  QCheckBox* ko_rule_;
  QLabel* font_label_[2];
};
