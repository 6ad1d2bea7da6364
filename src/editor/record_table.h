// The table of record rows the record list and the game chooser show, and
// the scan that fills it under a cancellable progress dialog.
#pragma once
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

#include "editor/record_rows.h"

class QTableView;
class QWidget;

class RecordTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const RecordRow& row(int i) const { return rows_[i]; }
  const std::vector<RecordRow>& rows() const { return rows_; }
  void clear();
  void append(std::vector<RecordRow>& rows);
  // Sorts by a column's texts (CP932 bytes; numbers for "No"), ascending or descending; stable.
  void sort_rows(int column, bool ascending);

 private:
  std::vector<RecordRow> rows_;
};

// Column widths and alignment, full-row selection and grid lines.
void set_up_record_table(QTableView* view, RecordTableModel* model);

// Reads the games of the files (names within folder) into the model, after a
// short while under a modal progress dialog with the count found so far. The
// rows appear as they are found and the windows stay responsive. row_found
// runs after every row (it may cancel through the dialog). Returns false when
// the user cancelled; the rows found so far stay.
bool scan_record_files(QWidget* parent, const QString& folder, const QStringList& files, RecordTableModel& model,
                       const std::function<void(int found)>& row_found = nullptr);
