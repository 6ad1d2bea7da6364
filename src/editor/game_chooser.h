// Opening a file that holds several games: the games as a table to choose one from.
#pragma once
#include <QDialog>

class QTableView;
class RecordTableModel;

class GameChooser : public QDialog {
  Q_OBJECT
 public:
  GameChooser(const QString& path, QWidget* parent = nullptr);
  // Reads the games into the table (cancellable); false when cancelled with none found.
  bool fill();
  // The chosen game (0-based), or -1 when none is chosen.
  int chosen_game() const;
  QTableView* table() const { return table_; }
  const RecordTableModel& model() const { return *model_; }

 private:
  QString path_;
  QTableView* table_;
  RecordTableModel* model_;
};
