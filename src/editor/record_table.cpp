#include "editor/record_table.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProgressDialog>
#include <QTableView>
#include <algorithm>

#include "core/log.h"
#include "editor/busy.h"

namespace {

const char* const HEADERS[COL_COUNT] = {"No", "棋戦", "黒", "白", "対局日", "勝敗", "解説", "ファイル名"};
const int WIDTHS[COL_COUNT] = {32, 180, 100, 100, 110, 60, 38, 120};

constexpr int PUMP_INTERVAL_MS = 40;  // rows reach the table and the windows repaint this often
constexpr int PROGRESS_DELAY_MS = 300;

int compare_rows(const RecordRow& a, const RecordRow& b, int column) {
  switch (column) {
    case COL_NO: return (a.number > b.number) - (a.number < b.number);
    case COL_EVENT: return a.event.compare(b.event);
    case COL_BLACK: return a.black.compare(b.black);
    case COL_WHITE: return a.white.compare(b.white);
    case COL_DATE: return a.date.compare(b.date);
    case COL_RESULT: return a.result.compare(b.result);
    case COL_COMMENT: return int(b.commentary) - int(a.commentary);  // "解説" before empty, as the texts sort
    case COL_FILE: {
      // The file names' bytes, then the games of one collection in their order.
      int c = a.file.toUtf8().compare(b.file.toUtf8());
      return c ? c : (a.game > b.game) - (a.game < b.game);
    }
    default: return 0;
  }
}

}  // namespace

int RecordTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : COL_COUNT; }

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= int(rows_.size())) return QVariant();
  if (role == Qt::DisplayRole) return rows_[index.row()].column_text(index.column());
  if (role == Qt::TextAlignmentRole)
    return int((index.column() == COL_NO ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  return QVariant();
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= COL_COUNT) return QVariant();
  if (role == Qt::DisplayRole) return QString::fromUtf8(HEADERS[section]);
  if (role == Qt::TextAlignmentRole) return int((section == COL_NO ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  return QVariant();
}

void RecordTableModel::clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void RecordTableModel::append(std::vector<RecordRow>& rows) {
  if (rows.empty()) return;
  beginInsertRows(QModelIndex(), int(rows_.size()), int(rows_.size() + rows.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  endInsertRows();
  rows.clear();
}

void RecordTableModel::sort_rows(int column, bool ascending) {
  emit layoutAboutToBeChanged();
  std::stable_sort(rows_.begin(), rows_.end(), [column, ascending](const RecordRow& a, const RecordRow& b) {
    int c = compare_rows(a, b, column);
    return ascending ? c < 0 : c > 0;
  });
  emit layoutChanged();
}

void set_up_record_table(QTableView* view, RecordTableModel* model) {
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(true);
  view->setWordWrap(false);
  view->verticalHeader()->hide();
  view->horizontalHeader()->setSectionsClickable(true);
  view->horizontalHeader()->setHighlightSections(false);
  for (int c = 0; c < COL_COUNT; c++) view->setColumnWidth(c, WIDTHS[c]);
  view->horizontalHeader()->setStretchLastSection(true);
}

bool scan_record_files(QWidget* parent, const QString& folder, const QStringList& files, RecordTableModel& model,
                       const std::function<void(int found)>& row_found) {
  QProgressDialog progress(QStringLiteral("棋譜を読んでいます"), QStringLiteral("キャンセル"), 0, int(files.size()),
                           parent);
  progress.setObjectName("scan_progress");
  progress.setWindowTitle(QStringLiteral("棋譜一覧"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(PROGRESS_DELAY_MS);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  const QDir dir(folder);
  std::vector<RecordRow> pending;
  int found = model.rowCount();
  QElapsedTimer since_pump;
  since_pump.start();
  auto pump = [&](int file_index) {
    model.append(pending);
    progress.setLabelText(QStringLiteral("%1 局").arg(found));
    progress.setValue(file_index);
    editor_pump_messages();
    since_pump.restart();
  };
  for (int i = 0; i < files.size() && !progress.wasCanceled(); i++) {
    const QString& name = files[i];
    int games = for_each_file_game(dir.filePath(name), [&](const GameRecord& rec, int game) {
      RecordRow row = row_of(rec);
      row.number = ++found;
      row.file = name;
      row.game = game;
      pending.push_back(std::move(row));
      if (row_found) row_found(found);
      if (since_pump.elapsed() >= PUMP_INTERVAL_MS) pump(i);
      return !progress.wasCanceled();
    });
    if (games > 0) PRT("%s\n", QFile::encodeName(name).constData());
    if (since_pump.elapsed() >= PUMP_INTERVAL_MS) pump(i + 1);
  }
  const bool cancelled = progress.wasCanceled();
  if (cancelled) PRT("user cancel\n");
  model.append(pending);
  return !cancelled;
}
