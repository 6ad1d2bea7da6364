#include "editor/add_figure_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/log.h"
#include "editor/board_view.h"
#include "records/sjis.h"

const char* const label_series_names[4] = {"イロハ", "いろは", "ａｂｃ", "ＡＢＣ"};

namespace {

const char* const series_text[4] = {
    "イロハニホヘトチリヌルヲワカヨタレソツネナラムウヰノオクヤマケフコエテアサキユメミシヱヒモセス",
    "いろはにほへとちりぬるをわかよたれそつねならむうゐのおくやまけふこえてあさきゆめみしゑひもせす",
    "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ",
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"};
const char* const mark_names[4] = {"△", "×", "○", "□"};
constexpr int SERIES_COUNT = 4;
constexpr int DIALOG_BOARD_SIZE = 420;

bool is_stone(int c) { return c == 1 || c == 2; }

}  // namespace

int32_t label_value(const char* utf8_char) {
  std::string s = utf8_to_cp932(utf8_char);
  if (s.size() == 1) return (unsigned char)s[0];
  if (s.size() != 2) return 0;
  return (unsigned char)s[0] * 256 + (unsigned char)s[1];
}

AddFigureDialog::AddFigureDialog(const Figure& figure, FigureDialogUse use, const QString& title, QWidget* parent)
    : QDialog(parent), figure_(figure), start_(figure), use_(use) {
  setObjectName("ADD_FIGURE");
  setWindowTitle(title);
  if (use == FIGURE_COMMENT && figure_.first_number == FIGURE_NUMBER_NONE) figure_.first_number = 1;

  board_ = new BoardView(this);
  board_->setObjectName("AddFigureWndClass");
  board_->setMinimumSize(DIALOG_BOARD_SIZE, DIALOG_BOARD_SIZE);
  connect(board_, &BoardView::point_clicked, this, [this](int z, Qt::MouseButton b, QPoint) { click_point(z, b); });

  auto* tool_box = new QGridLayout;
  tools_ = new QButtonGroup(this);
  const char* const tool_names[] = {"交互", "黒のみ", "白のみ", "記号", "削除"};
  for (int i = 0; i <= TOOL_ERASE; i++) {
    auto* r = new QRadioButton(QString::fromUtf8(tool_names[i]), this);
    r->setObjectName(QStringLiteral("tool%1").arg(i));
    tools_->addButton(r, i);
    tool_box->addWidget(r, i, 0);
  }
  tools_->button(TOOL_ALTERNATE)->setChecked(true);
  series_ = new QComboBox(this);
  series_->setObjectName("series");
  for (const char* s : label_series_names) series_->addItem(QString::fromUtf8(s));
  for (const char* m : mark_names) series_->addItem(QString::fromUtf8(m));
  connect(series_, &QComboBox::currentIndexChanged, this, [this] { tools_->button(TOOL_LABEL)->setChecked(true); });
  tool_box->addWidget(series_, TOOL_LABEL, 1);

  no_numbers_ = new QPushButton(QStringLiteral("番号なし"), this);
  no_numbers_->setObjectName("no_numbers");
  no_numbers_->setCheckable(true);
  // Board edit sets up a position: stones go there without numbers unless asked.
  no_numbers_->setChecked(use == FIGURE_BOARD_EDIT);
  auto* last = new QPushButton(QStringLiteral("終手削除"), this);
  last->setObjectName("delete_last");
  connect(last, &QPushButton::clicked, this, &AddFigureDialog::delete_last_move);
  auto* init = new QPushButton(QStringLiteral("初期化"), this);
  init->setObjectName("initialise");
  connect(init, &QPushButton::clicked, this, &AddFigureDialog::initialise);
  auto* side_buttons = new QVBoxLayout;
  side_buttons->addLayout(tool_box);
  side_buttons->addSpacing(8);
  side_buttons->addWidget(no_numbers_);
  side_buttons->addWidget(last);
  side_buttons->addWidget(init);
  side_buttons->addStretch();

  auto* top = new QHBoxLayout;
  top->addWidget(board_, 1);
  top->addLayout(side_buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  if (use == FIGURE_COMMENT) {
    layout->addWidget(new QLabel(QStringLiteral("コメント"), this));
    comment_ = new QPlainTextEdit(this);
    comment_->setObjectName("comment");
    comment_->setPlainText(QString::fromStdString(cp932_to_utf8(figure_.text)).replace("\r\n", "\n"));
    comment_->setMaximumHeight(110);
    connect(comment_, &QPlainTextEdit::textChanged, this, &AddFigureDialog::text_edited);
    layout->addWidget(comment_);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &AddFigureDialog::reject);
  layout->addWidget(buttons);
  setup_color_ = figure_.side_to_move();
  edited();
  changed_ = false;
}

void AddFigureDialog::click_point(int zc, Qt::MouseButton button) {
  if (zc <= 0 || zc >= FIGURE_POINTS || !figure_.on_board(figure_x(zc), figure_y(zc))) return;
  int tool = button == Qt::RightButton ? TOOL_ERASE : tools_->checkedId();
  switch (tool) {
    case TOOL_ALTERNATE:
      place_stone(zc, no_numbers_->isChecked() ? setup_color_ : figure_.side_to_move());
      break;
    case TOOL_BLACK: place_stone(zc, 1); break;
    case TOOL_WHITE: place_stone(zc, 2); break;
    case TOOL_LABEL: place_label(zc); break;
    case TOOL_ERASE: erase(zc); break;
  }
}

void AddFigureDialog::place_stone(int zc, int color) {
  if (figure_.board[zc] != 0) {
    PRT("そこには石がありますよ。z=%x\n", zc);
    return;
  }
  if (no_numbers_->isChecked()) {
    figure_.initial_board[zc] = color;
    figure_.goto_move(figure_.move_count);
    if (tools_->checkedId() == TOOL_ALTERNATE) setup_color_ = 3 - color;
    edited();
    return;
  }
  if (figure_.move_count >= FIGURE_MOVES_MAX - 1) return;
  Figure trial = figure_;
  trial.goto_move(trial.move_count);
  if (trial.play_on_figure(zc, color) == FIGURE_SUICIDE) {
    PRT("自殺手です z=%x\n", zc);
    return;
  }
  figure_.append_move(zc, color);
  figure_.goto_move(figure_.move_count);
  edited();
}

int32_t AddFigureDialog::next_label() {
  int which = series_->currentIndex();
  if (which >= SERIES_COUNT) return label_value(mark_names[which - SERIES_COUNT]);
  // The first character of the series not yet on the board.
  QString chars = QString::fromUtf8(series_text[which]);
  for (QChar c : chars) {
    int32_t v = label_value(QString(c).toUtf8().constData());
    bool used = false;
    for (int32_t l : figure_.labels) used = used || l == v;
    if (!used) return v;
  }
  return label_value(QString(chars.back()).toUtf8().constData());
}

void AddFigureDialog::place_label(int zc) {
  int32_t v = next_label();
  if (series_->currentIndex() >= SERIES_COUNT && figure_.labels[zc] == v) v = 0;  // a mark twice takes it off
  figure_.labels[zc] = v;
  edited();
}

void AddFigureDialog::erase(int zc) {
  if (figure_.labels[zc]) {
    figure_.labels[zc] = 0;
  } else if (figure_.move_count > 0 && figure_.moves[figure_.move_count - 1].z == zc) {
    delete_last_move();
    return;
  } else if (is_stone(figure_.initial_board[zc]) && figure_.board[zc] == figure_.initial_board[zc]) {
    figure_.initial_board[zc] = 0;
    figure_.goto_move(figure_.move_count);
  } else {
    return;
  }
  edited();
}

void AddFigureDialog::delete_last_move() {
  if (figure_.move_count < 1) return;
  figure_.move_count--;
  figure_.moves[figure_.move_count] = FigureMove{0, 0, 0};
  figure_.goto_move(figure_.move_count);
  edited();
}

void AddFigureDialog::initialise() {
  // Back to the position the figure started from: no moves, no marks; the comment stays.
  std::memcpy(figure_.initial_board, start_.initial_board, sizeof figure_.initial_board);
  figure_.first_color = start_.first_color;
  figure_.move_count = 0;
  for (FigureMove& m : figure_.moves) m = FigureMove{0, 0, 0};
  figure_.clear_labels();
  figure_.goto_move(0);
  setup_color_ = figure_.side_to_move();
  edited();
}

void AddFigureDialog::text_edited() {
  figure_.text = utf8_to_cp932(comment_->toPlainText().replace('\n', "\r\n").toStdString());
  changed_ = true;
}

void AddFigureDialog::edited() {
  changed_ = true;
  BoardScene s;
  s.figure = &figure_;
  s.numbers = true;
  s.triangle = false;
  s.coord_style = 3;
  board_->set_scene(s);
}

void AddFigureDialog::reject() {
  if (changed_) {
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    QStringLiteral("参考図、コメントが変更されています。\n変更を破棄しますか？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName("discard_question");
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return;
  }
  QDialog::reject();
}
