#include "editor/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/log.h"

SettingsDialog::SettingsDialog(const Settings& s, QWidget* parent) : QDialog(parent), s_(s) {
  setWindowTitle(QStringLiteral("各種設定"));
  auto* outer = new QVBoxLayout(this);
  auto* sheet = new QTabWidget(this);
  auto* page = new QWidget(sheet);
  page->setObjectName("SETTEI0");
  sheet->addTab(page, QStringLiteral("設定"));
  outer->addWidget(sheet);

  auto* layout = new QVBoxLayout(page);
  auto* colors = new QGroupBox(QStringLiteral("盤面の色"), page);
  auto* colors_row = new QHBoxLayout(colors);
  board_color_ = new QButtonGroup(this);
  for (int i = 0; i < 3; i++) {
    auto* b = new QRadioButton(QStringLiteral("盤面色%1").arg(i + 1), colors);
    board_color_->addButton(b, i);
    colors_row->addWidget(b);
  }
  board_color_->button(std::clamp(s.BoardColor, 0, 2))->setChecked(true);
  layout->addWidget(colors);

  // Shown as the original sheet has them; the choice is not kept.
  auto* background = new QGroupBox(QStringLiteral("背景"), page);
  auto* background_row = new QHBoxLayout(background);
  auto* background_group = new QButtonGroup(background);
  for (const char* name : {"なし(白)", "模様1", "模様2"}) {
    auto* b = new QRadioButton(QString::fromUtf8(name), background);
    background_group->addButton(b);
    background_row->addWidget(b);
  }
  background_group->buttons().first()->setChecked(true);
  layout->addWidget(background);

  last_move_load_ = new QCheckBox(QStringLiteral("棋譜読み込み時に最終局面を表示"), page);
  last_move_load_->setChecked(s.LastMoveLoad);
  layout->addWidget(last_move_load_);

  auto* replay = new QGroupBox(QStringLiteral("棋譜再生の速度"), page);
  auto* replay_grid = new QGridLayout(replay);
  auto_sec_ = new QDoubleSpinBox(replay);
  auto_sec_->setObjectName("AutoSec");
  auto_sec_->setDecimals(1);
  auto_sec_->setRange(0, AUTO_SEC_MAX);
  auto_sec_->setSingleStep(0.5);
  auto_sec_->setValue(s.AutoSec);
  replay_grid->addWidget(auto_sec_, 0, 0);
  replay_grid->addWidget(new QLabel(QStringLiteral("秒ごとに1手進める"), replay), 0, 1);
  auto_comment_ = new QCheckBox(QStringLiteral("コメントで停止する"), replay);
  auto_comment_->setChecked(s.AutoComment);
  replay_grid->addWidget(auto_comment_, 1, 0, 1, 2);
  layout->addWidget(replay);

  ko_rule_ = new QCheckBox(QStringLiteral("コウのルールを適用する"), page);
  ko_rule_->setChecked(s.KoMoveErr);
  layout->addWidget(ko_rule_);

  auto* fonts = new QGroupBox(QStringLiteral("フォントの変更"), page);
  auto* fonts_grid = new QGridLayout(fonts);
  const char* const names[2] = {"コメント", "棋譜一覧"};
  for (int i = 0; i < 2; i++) {
    fonts_grid->addWidget(new QLabel(QString::fromUtf8(names[i]), fonts), i, 0);
    font_label_[i] = new QLabel(fonts);
    fonts_grid->addWidget(font_label_[i], i, 1);
    auto* change = new QPushButton(QStringLiteral("変更"), fonts);
    connect(change, &QPushButton::clicked, this, [this, i] { choose_font(i); });
    fonts_grid->addWidget(change, i, 2);
    show_font(i);
  }
  layout->addWidget(fonts);
  layout->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  buttons->button(QDialogButtonBox::Apply)->setText(QStringLiteral("適用(&A)"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    emit applied(result());
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { emit applied(result()); });
  outer->addWidget(buttons);
}

Settings SettingsDialog::result() const {
  Settings s = s_;
  s.BoardColor = board_color_->checkedId();
  s.LastMoveLoad = last_move_load_->isChecked() ? 1 : 0;
  s.AutoSec = auto_sec_->value();
  s.AutoComment = auto_comment_->isChecked() ? 1 : 0;
  s.KoMoveErr = ko_rule_->isChecked() ? 1 : 0;
  return s;
}

void SettingsDialog::show_font(int which) {
  font_label_[which]->setText(QStringLiteral("%1 (%2)").arg(s_.FontArray[which].face).arg(s_.FontArray[which].height));
}

void SettingsDialog::choose_font(int which) {
  QFont current(s_.FontArray[which].face);
  current.setPixelSize(s_.FontArray[which].height);
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, current, this, QStringLiteral("フォントの選択"),
                                      QFontDialog::DontUseNativeDialog);
  if (!ok) return;
  QFontInfo info(chosen);
  int height = info.pixelSize();
  PRT("select=%s,H=%d,W=%d, size=%d, LogPXY=%d\n", chosen.family().toUtf8().constData(), height, 0,
      info.pointSize(), logicalDpiY());
  s_.FontArray[which] = FontSetting{height, chosen.family()};
  show_font(which);
}
