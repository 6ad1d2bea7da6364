// The ADD_FIGURE dialog: edits a copy of a comment or reference figure, or in
// board edit the initial position of a new working record.
#pragma once
#include <QDialog>

#include "records/figure.h"

class BoardView;
class QButtonGroup;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

enum FigureDialogUse : int { FIGURE_COMMENT = 0, FIGURE_BOARD_EDIT = 1 };

// What a click on the dialog's board does.
enum FigureTool : int { TOOL_ALTERNATE = 0, TOOL_BLACK, TOOL_WHITE, TOOL_LABEL, TOOL_ERASE };

class AddFigureDialog : public QDialog {
  Q_OBJECT
 public:
  AddFigureDialog(const Figure& figure, FigureDialogUse use, const QString& title, QWidget* parent = nullptr);

  const Figure& figure() const { return figure_; }
  bool changed() const { return changed_; }
  // A click on the figure's board with the chosen tool; the right button erases.
  void click_point(int zc, Qt::MouseButton button = Qt::LeftButton);
  BoardView* board() const { return board_; }

 public slots:
  // Closing with changes asks before they are thrown away.
  void reject() override;

 private:
  void place_stone(int zc, int color);
  void place_label(int zc);
  void erase(int zc);
  void delete_last_move();
  void initialise();
  void text_edited();
  void edited();
  int32_t next_label();

  Figure figure_;
  Figure start_;  // the figure as the dialog got it, for 初期化
  FigureDialogUse use_;
  bool changed_ = false;
  int setup_color_ = 1;  // the next colour of stones placed alternately without numbers
  BoardView* board_;
  QButtonGroup* tools_;
  QComboBox* series_;
  QPushButton* no_numbers_;
  QPlainTextEdit* comment_ = nullptr;
};

// The characters of the label series and the marks, as label values.
extern const char* const label_series_names[4];
int32_t label_value(const char* utf8_char);
