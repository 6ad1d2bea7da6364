#include "editor/info_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "records/sjis.h"

const ResultCode result_kinds[9] = {{"B", "黒勝ち"}, {"W", "白勝ち"},     {"D", "持碁"},
                                    {"P", "対局中"}, {"A", "中断(打掛)"}, {"N", "無勝負"},
                                    {"0", "両負け"}, {"F", "不戦"},       {"E", "その他"}};
const ResultCode result_details[10] = {{"", "地合い差"},          {"C", "中押し"},
                                       {"T", "時間切れ"},         {"G", "棄権"},
                                       {"E", "その他"},           {"F1", "反則(二手打ち)"},
                                       {"F2", "反則(コウ取り)"},  {"F3", "反則(打ち上げ)"},
                                       {"F4", "反則(着手禁止)"},  {"F9", "反則(その他)"}};

namespace {

const char* const rule_codes[] = {"Japanese", "Chinese", "Unknown"};
const char* const rule_names[] = {"日本ルール", "中国ルール", "その他"};
constexpr double KOMI_LIMIT = 999.5;
constexpr int LINE_WIDTH = 110;

QString text(const std::string& sjis) { return QString::fromStdString(cp932_to_utf8(sjis)); }
// UGF joins several fields with commas on one line: a comma typed into a name
// would split it on reading, so it is kept as the full-width comma.
std::string bytes(const QLineEdit* e) {
  return utf8_to_cp932(e->text().replace(',', QStringLiteral("，")).toStdString());
}

QLineEdit* line(const std::string& value, const QString& name, QWidget* parent) {
  auto* e = new QLineEdit(text(value), parent);
  e->setObjectName(name);
  e->setMinimumWidth(LINE_WIDTH);
  return e;
}

bool is_margin(const std::string& detail) {
  if (detail.empty()) return true;
  char* end = nullptr;
  std::strtod(detail.c_str(), &end);
  return end && *end == 0;
}

}  // namespace

InfoDialog::InfoDialog(const GameInfo& info, QWidget* parent) : QDialog(parent), original_(info) {
  setObjectName("INFO");
  setWindowTitle(QStringLiteral("棋譜情報"));

  auto* players = new QGroupBox(QStringLiteral("対局者"), this);
  auto* pg = new QGridLayout(players);
  pg->addWidget(new QLabel(QStringLiteral("対局者"), players), 0, 1);
  pg->addWidget(new QLabel(QStringLiteral("段位"), players), 0, 2);
  pg->addWidget(new QLabel(QStringLiteral("備考"), players), 0, 3);
  pg->addWidget(new QLabel(QStringLiteral("黒"), players), 1, 0);
  pg->addWidget(new QLabel(QStringLiteral("白"), players), 2, 0);
  for (int i = 0; i < 3; i++) {
    black_[i] = line(info.black[i], QStringLiteral("black%1").arg(i), players);
    white_[i] = line(info.white[i], QStringLiteral("white%1").arg(i), players);
    pg->addWidget(black_[i], 1, i + 1);
    pg->addWidget(white_[i], 2, i + 1);
  }

  auto* game = new QGroupBox(QStringLiteral("対局"), this);
  auto* gg = new QGridLayout(game);
  int row = 0;
  auto label = [&](const char* t) { gg->addWidget(new QLabel(QString::fromUtf8(t), game), row, 0); };
  label("大会名");
  for (int i = 0; i < 3; i++) {
    title_[i] = line(info.title[i], QStringLiteral("title%1").arg(i), game);
    gg->addWidget(title_[i], row, i + 1);
  }
  row++;
  label("場所");
  place_ = line(info.place, "place", game);
  gg->addWidget(place_, row++, 1, 1, 3);
  label("対局日");
  date_[0] = line(info.date[0], "date0", game);
  gg->addWidget(date_[0], row, 1);
  for (int i = 1; i < 4; i++) date_[i] = line(info.date[i], QStringLiteral("date%1").arg(i), game);
  gg->addWidget(date_[1], row, 2);
  gg->addWidget(date_[2], row, 3);
  row++;
  gg->addWidget(date_[3], row++, 2);
  label("持ち時間");
  time_[0] = line(info.time[0], "time0", game);
  gg->addWidget(time_[0], row, 1);
  gg->addWidget(new QLabel(QStringLiteral("秒読"), game), row, 2, Qt::AlignRight);
  time_[1] = line(info.time[1], "time1", game);
  gg->addWidget(time_[1], row++, 3);
  label("消費時間 黒");
  for (int i = 2; i < 4; i++) time_[i] = line(info.time[i], QStringLiteral("time%1").arg(i), game);
  gg->addWidget(time_[2], row, 1);
  gg->addWidget(new QLabel(QStringLiteral("白"), game), row, 2, Qt::AlignRight);
  gg->addWidget(time_[3], row++, 3);
  label("ルール");
  rule_ = new QComboBox(game);
  rule_->setObjectName("rule");
  for (const char* r : rule_names) rule_->addItem(QString::fromUtf8(r));
  rule_->setCurrentIndex(info.rule == "Japanese" ? 0 : info.rule == "Chinese" ? 1 : 2);
  gg->addWidget(rule_, row, 1);
  gg->addWidget(new QLabel(QStringLiteral("コミ"), game), row, 2, Qt::AlignRight);
  komi_ = new QDoubleSpinBox(game);
  komi_->setObjectName("komi");
  komi_->setRange(-KOMI_LIMIT, KOMI_LIMIT);
  komi_->setDecimals(1);
  komi_->setSingleStep(0.5);
  komi_->setValue(info.komi);
  gg->addWidget(komi_, row++, 3);
  label("置石");
  handicap_ = new QSpinBox(game);
  handicap_->setObjectName("handicap");
  handicap_->setRange(0, 9);
  handicap_->setValue(std::clamp<int>(info.nHand, 0, 9));
  handicap_->setSpecialValueText(QStringLiteral("なし"));
  gg->addWidget(handicap_, row++, 1);
  label("結果");
  result_kind_ = new QComboBox(game);
  result_kind_->setObjectName("result_kind");
  result_kind_->addItem(QString(), QString());
  for (const ResultCode& k : result_kinds) result_kind_->addItem(QString::fromUtf8(k.name), QString::fromLatin1(k.code));
  int kind = info.winner[0].empty() ? 0 : result_kind_->findData(QString(QChar(info.winner[0][0])));
  if (kind < 0) {
    // A code this dialog does not name is kept as it is.
    result_kind_->addItem(text(info.winner[0]), QString::fromStdString(info.winner[0]));
    kind = result_kind_->count() - 1;
  }
  result_kind_->setCurrentIndex(kind);
  gg->addWidget(result_kind_, row, 1);
  result_detail_ = new QComboBox(game);
  result_detail_->setObjectName("result_detail");
  for (const ResultCode& d : result_details)
    result_detail_->addItem(QString::fromUtf8(d.name), QString::fromLatin1(d.code));
  margin_ = new QLineEdit(game);
  margin_->setObjectName("margin");
  margin_->setPlaceholderText(QStringLiteral("目数"));
  margin_->setValidator(new QDoubleValidator(0, KOMI_LIMIT, 1, margin_));
  const std::string& detail = info.winner[1];
  if (is_margin(detail)) {
    result_detail_->setCurrentIndex(0);
    margin_->setText(QString::fromStdString(detail));
  } else {
    int d = result_detail_->findData(QString::fromStdString(detail));
    if (d < 0) {
      result_detail_->addItem(text(detail), QString::fromStdString(detail));
      d = result_detail_->count() - 1;
    }
    result_detail_->setCurrentIndex(d);
  }
  gg->addWidget(result_detail_, row, 2);
  gg->addWidget(margin_, row++, 3);
  connect(result_kind_, &QComboBox::currentIndexChanged, this, &InfoDialog::kind_changed);
  connect(result_detail_, &QComboBox::currentIndexChanged, this, &InfoDialog::kind_changed);
  kind_changed();
  label("記録者");
  writer_ = line(info.writer, "writer", game);
  gg->addWidget(writer_, row, 1);
  gg->addWidget(new QLabel(QStringLiteral("著作権"), game), row, 2, Qt::AlignRight);
  copyright_ = line(info.copyright, "copyright", game);
  gg->addWidget(copyright_, row++, 3);
  label("備考");
  comment_ = line(info.comment, "comment", game);
  gg->addWidget(comment_, row++, 1, 1, 3);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(players);
  layout->addWidget(game);
  layout->addWidget(buttons);
}

void InfoDialog::kind_changed() {
  // A detail belongs to a win; the margin only to a win on points.
  QString kind = result_kind_->currentData().toString();
  bool win = kind == "B" || kind == "W";
  result_detail_->setEnabled(win);
  margin_->setEnabled(win && result_detail_->currentIndex() == 0);
}

GameInfo InfoDialog::info() const {
  GameInfo g = original_;
  for (int i = 0; i < 3; i++) {
    g.black[i] = bytes(black_[i]);
    g.white[i] = bytes(white_[i]);
    g.title[i] = bytes(title_[i]);
  }
  g.place = bytes(place_);
  for (int i = 0; i < 4; i++) {
    g.date[i] = bytes(date_[i]);
    g.time[i] = bytes(time_[i]);
  }
  g.rule = rule_codes[rule_->currentIndex()];
  g.winner[0] = result_kind_->currentData().toString().toStdString();
  if (!result_detail_->isEnabled()) {
    // Not a win: a detail read from the file stays as it was.
    g.winner[1] = g.winner[0].empty() ? std::string() : original_.winner[1];
  } else if (result_detail_->currentIndex() == 0) {
    g.winner[1] = margin_->text().trimmed().toStdString();
  } else {
    g.winner[1] = result_detail_->currentData().toString().toStdString();
  }
  g.writer = bytes(writer_);
  g.copyright = bytes(copyright_);
  g.comment = bytes(comment_);
  g.komi = komi_->value();
  g.nHand = handicap_->value();
  return g;
}
