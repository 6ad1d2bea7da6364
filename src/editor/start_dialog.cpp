#include "editor/start_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/add_figure_dialog.h"
#include "editor/info_dialog.h"

namespace {

const char* const full_width_digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
constexpr int SIZE_MIN = 2;
constexpr int HANDICAP_ALTERNATIVE = 3;  // index of "３子(右下空)"

QString size_label(int n) {
  QString tens = n >= 10 ? QString::fromUtf8(full_width_digits[n / 10]) : QStringLiteral("　");
  return tens + QString::fromUtf8(full_width_digits[n % 10]) + QStringLiteral("路");
}

bool handicap_size(int n) { return n == 9 || n == 13 || n == 19; }

}  // namespace

StartDialog::StartDialog(const Figure& base, bool keep_position, QWidget* parent)
    : QDialog(parent), base_(base), keep_position_(keep_position) {
  setObjectName("START_DIALOG");
  setWindowTitle(QStringLiteral("新規対局の設定"));
  size_ = new QComboBox(this);
  size_->setObjectName("size");
  size_->addItem(QStringLiteral("指定なし"), 0);
  for (int n = SIZE_MIN; n <= FIGURE_SIZE_MAX; n++) size_->addItem(size_label(n), n);
  handicap_ = new QComboBox(this);
  handicap_->setObjectName("handicap");
  handicap_->addItem(QStringLiteral("なし"), 0);
  handicap_->addItem(QStringLiteral("２子"), 2);
  handicap_->addItem(QStringLiteral("３子"), 3);
  handicap_->addItem(QStringLiteral("３子(右下空)"), 3);
  for (int n = 4; n <= 9; n++) handicap_->addItem(QString::fromUtf8(full_width_digits[n]) + QStringLiteral("子"), n);
  // A kept position fixes the board: neither its size nor handicap stones change.
  size_->setEnabled(!keep_position);
  connect(size_, &QComboBox::currentIndexChanged, this, &StartDialog::choices_changed);
  connect(handicap_, &QComboBox::currentIndexChanged, this, &StartDialog::choices_changed);

  auto* info = new QPushButton(QStringLiteral("対局情報の編集..."), this);
  info->setObjectName("edit_info");
  connect(info, &QPushButton::clicked, this, &StartDialog::edit_info);
  auto* position = new QPushButton(QStringLiteral("初期盤面の編集..."), this);
  position->setObjectName("edit_position");
  connect(position, &QPushButton::clicked, this, &StartDialog::edit_position);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("碁盤の大きさ"), size_);
  form->addRow(QStringLiteral("置石"), handicap_);
  auto* extra = new QHBoxLayout;
  extra->addWidget(info);
  extra->addWidget(position);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(extra);
  layout->addWidget(buttons);
  choices_changed();
}

int StartDialog::chosen_size() const {
  int n = size_->currentData().toInt();
  return n ? n : base_.b_size;
}

void StartDialog::choices_changed() {
  // Handicap stones have places on 9, 13 and 19 lines only.
  bool handicap = !keep_position_ && handicap_size(chosen_size());
  if (!handicap) handicap_->setCurrentIndex(0);
  handicap_->setEnabled(handicap);
  position_edited_ = false;  // a new size or handicap starts the position afresh
}

Figure StartDialog::record() const {
  if (position_edited_) return edited_;
  Figure f;
  f.reset();
  f.copy_info(base_);
  f.set_size(chosen_size());
  f.info.nHand = 0;
  if (keep_position_) {
    std::memcpy(f.initial_board, base_.initial_board, sizeof f.initial_board);
    f.first_color = base_.first_color;
    f.info.nHand = base_.info.nHand;
  }
  int h = handicap_->currentData().toInt();
  if (h >= 2) f.place_handicap(h, handicap_->currentIndex() == HANDICAP_ALTERNATIVE);
  f.goto_move(0);
  return f;
}

void StartDialog::edit_info() {
  InfoDialog dlg(base_.info, this);
  if (dlg.exec() == QDialog::Accepted) {
    base_.info = dlg.info();
    if (position_edited_) edited_.info = base_.info;
  }
}

void StartDialog::edit_position() {
  AddFigureDialog dlg(record(), FIGURE_BOARD_EDIT, QStringLiteral("初期盤面の編集"), this);
  if (dlg.exec() != QDialog::Accepted) return;
  Figure f = dlg.figure();
  // What was placed with numbers are the record's first moves.
  f.goto_move(0);
  edited_ = f;
  position_edited_ = true;
}
