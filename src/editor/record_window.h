// The record window "棋譜" (class KifViewClass): the engine's game record as
// a list; choosing a line shows that move of the working record.
#pragma once
#include <QStringList>
#include <QWidget>

struct EditorState;
class QListWidget;

// One line per move of the engine record after "=開始局面=", marked "*" where
// the working record has a comment or figure at that move number.
QStringList record_window_lines(const EditorState& state);

class RecordWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RecordWindow(QWidget* parent = nullptr);
  void rebuild(const EditorState& state);
  QListWidget* list() const { return list_; }

 signals:
  void move_chosen(int n);

 private:
  QListWidget* list_;
};
