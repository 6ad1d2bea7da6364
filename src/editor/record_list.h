// The record list "KIF_LIST": the games of the record files of one folder in
// a table; opening, sorting, copying, moving and recycling files, the table
// to the clipboard. The folder box shows the record-folder list of the settings.
#pragma once
#include <QWidget>
#include <functional>

#include "editor/record_rows.h"

class QComboBox;
class QLabel;
class QTableView;
class RecordTableModel;
struct Settings;

constexpr int RECORD_DIR_MAX = 30;  // folders kept in the list

enum TransferMode { TRANSFER_COPY = 0, TRANSFER_MOVE = 1 };

class RecordListWindow : public QWidget {
  Q_OBJECT
 public:
  // open_game opens a game of a file in the main window (false: not opened).
  using OpenGame = std::function<bool(const QString& path, int game)>;
  RecordListWindow(Settings& settings, OpenGame open_game, QWidget* parent = nullptr);
  ~RecordListWindow() override;

  // Refills the table from the current folder; false when the scan was cancelled.
  bool scan_folder();
  QString current_folder() const { return folder_; }
  QTableView* table() const { return table_; }
  QComboBox* folder_box() const { return folder_box_; }
  const RecordTableModel& model() const { return *model_; }
  // The file names of the selected rows, each file once, in table order.
  QStringList selected_files() const;
  int count_selected() const;

  void open_selected();
  void sort_by(int column);  // a click on the column's header
  void browse_folder();
  void remove_current_folder();
  void copy_or_move_selected(TransferMode mode);
  void recycle_selected();
  void list_to_clipboard();
  // The table as the clipboard gets it: tab-separated columns, CRLF after every row.
  QString list_text() const;

 signals:
  void row_found(int found);  // during a scan, after every row

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void folder_chosen(int index);
  void show_popup(const QPoint& pos);
  void save_folder_list();

  Settings& settings_;
  OpenGame open_game_;
  QString folder_;
  QComboBox* folder_box_;
  QTableView* table_;
  RecordTableModel* model_;
  QLabel* status_;
  bool ascending_[COL_COUNT] = {};
  bool filling_box_ = false;
};
