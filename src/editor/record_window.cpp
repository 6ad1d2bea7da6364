#include "editor/record_window.h"

#include <QFont>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/kifu.h"
#include "editor/editor_state.h"

namespace {
constexpr int LIST_FONT_HEIGHT = 16;
constexpr int START_WIDTH = 200, START_HEIGHT = 400;
}  // namespace

QStringList record_window_lines(const EditorState& state) {
  QStringList lines{QStringLiteral("=開始局面=")};
  for (int i = 1; i <= kifu_length && i <= KIFU_MAX; i++) {
    const KifuEntry& k = kifu[i];
    QString where = QStringLiteral("パス");
    // The column as a letter counted on from "A" without skipping "I".
    if (k.z) where = QString::asprintf("%c%2d", char('A' - 1 + z_x(k.z)), z_y(k.z));
    lines << QString::asprintf("%3d%c", i, state.annotation(i) ? '*' : ' ') +
                 (k.color == BLACK ? QStringLiteral("●") : QStringLiteral("○")) + where;
  }
  return lines;
}

RecordWindow::RecordWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("KifViewClass");
  setWindowTitle(QStringLiteral("棋譜"));
  setAttribute(Qt::WA_DeleteOnClose);
  list_ = new QListWidget(this);
  QFont font(QStringLiteral("ＭＳ ゴシック"));
  font.setPixelSize(LIST_FONT_HEIGHT);
  list_->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_);
  resize(START_WIDTH, START_HEIGHT);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && list_->hasFocus()) emit move_chosen(row);
  });
}

void RecordWindow::rebuild(const EditorState& state) {
  QStringList lines = record_window_lines(state);
  list_->blockSignals(true);
  list_->clear();
  list_->addItems(lines);
  list_->blockSignals(false);
}
