// The START_DIALOG "新規対局の設定": board size and handicap of a new record,
// with its game information and initial position open to editing.
#pragma once
#include <QDialog>

#include "records/figure.h"

class QComboBox;

class StartDialog : public QDialog {
  Q_OBJECT
 public:
  // base: the game information to start from and, as its initial position,
  // the stones to start from (size "指定なし" keeps its size).
  StartDialog(const Figure& base, bool keep_position, QWidget* parent = nullptr);
  // The new record as the dialog's choices make it.
  Figure record() const;
  QComboBox* size_box() const { return size_; }
  QComboBox* handicap_box() const { return handicap_; }

 private:
  int chosen_size() const;
  void choices_changed();
  void edit_info();
  void edit_position();

  Figure base_;
  bool keep_position_;
  bool position_edited_ = false;
  Figure edited_;  // the initial position from "初期盤面の編集..."
  QComboBox* size_;
  QComboBox* handicap_;
};
