#include "editor/game_chooser.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "editor/record_table.h"

GameChooser::GameChooser(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
  setObjectName("game_chooser");
  setWindowTitle(QStringLiteral("棋譜の選択 - %1").arg(QFileInfo(path).fileName()));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("このファイルには複数の棋譜があります。開く棋譜を選んで下さい。")));
  model_ = new RecordTableModel(this);
  table_ = new QTableView;
  table_->setObjectName("game_table");
  set_up_record_table(table_, model_);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSortingEnabled(false);
  layout->addWidget(table_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(table_, &QTableView::doubleClicked, this, &QDialog::accept);
  bool ascending[COL_COUNT] = {};
  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this, ascending](int column) mutable {
    ascending[column] = !ascending[column];
    model_->sort_rows(column, ascending[column]);
  });
  resize(820, 480);
}

bool GameChooser::fill() {
  const QFileInfo info(path_);
  const bool done = scan_record_files(this, info.absolutePath(), {info.fileName()}, *model_);
  if (model_->rowCount()) table_->selectRow(0);
  return done || model_->rowCount() > 0;
}

int GameChooser::chosen_game() const {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return -1;
  return std::max(0, model_->row(current.row()).game);
}
