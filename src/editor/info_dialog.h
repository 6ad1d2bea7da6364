// The INFO dialog: every field of the game information.
#pragma once
#include <QDialog>

#include "records/figure.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

class InfoDialog : public QDialog {
  Q_OBJECT
 public:
  InfoDialog(const GameInfo& info, QWidget* parent = nullptr);
  // The edited information (photos and names the dialog does not show are kept).
  GameInfo info() const;

 private:
  void kind_changed();

  GameInfo original_;
  QLineEdit* black_[3];
  QLineEdit* white_[3];
  QLineEdit* title_[3];
  QLineEdit* place_;
  QLineEdit* date_[4];
  QLineEdit* time_[4];
  QComboBox* rule_;
  QComboBox* result_kind_;
  QComboBox* result_detail_;
  QLineEdit* margin_;
  QLineEdit* writer_;
  QLineEdit* copyright_;
  QLineEdit* comment_;
  QDoubleSpinBox* komi_;
  QSpinBox* handicap_;
};

// Result kind and detail codes with the names the dialog shows, in its order.
struct ResultCode {
  const char* code;
  const char* name;
};
extern const ResultCode result_kinds[9];
extern const ResultCode result_details[10];  // the first, "", is the margin in points
