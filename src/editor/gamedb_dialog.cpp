#include "editor/gamedb_dialog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/board.h"
#include "core/log.h"
#include "editor/board_view.h"
#include "editor/info_text.h"
#include "editor/settings.h"
#include "records/engine_load.h"
#include "records/sjis.h"

namespace {

constexpr int DATABASE_BOARD = 19;
constexpr int DIALOG_UNIT = 2;  // pixels per dialog unit of the column widths
const char* const MATCH_HEADERS[] = {"No", "棋譜", "R", "次手", "日付", "黒", "白"};
const int MATCH_WIDTHS[] = {24, 42, 24, 36, 70, 60, 60};
const char* const NEXT_HEADERS[] = {"記号", "順位", "着手", "回数", "%", "黒勝率"};
const int NEXT_WIDTHS[] = {40, 40, 70, 50, 60, 110};

QString u(const char* sjis) { return QString::fromStdString(cp932_to_utf8(sjis)); }

QTableWidget* make_table(const char* const* headers, const int* widths, int columns, int unit) {
  auto* t = new QTableWidget(0, columns);
  QStringList labels;
  for (int c = 0; c < columns; c++) labels << QString::fromUtf8(headers[c]);
  t->setHorizontalHeaderLabels(labels);
  for (int c = 0; c < columns; c++) t->setColumnWidth(c, widths[c] * unit);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setShowGrid(true);
  t->verticalHeader()->hide();
  t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);  // list rows, not form rows
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void set_cell(QTableWidget* t, int row, int column, const QString& text, bool right = false) {
  auto* item = new QTableWidgetItem(text);
  if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  t->setItem(row, column, item);
}

// The point as the board's coordinate style writes a move.
QString point_text(int zc, int size, int style) {
  if (!zc) return QStringLiteral("パス");
  static Figure one_move;  // a Figure is big for the stack
  one_move.b_size = size;
  one_move.moves[0] = FigureMove{zc, BLACK, 0};
  one_move.move_count = one_move.tesuu = 1;
  return last_move_text(one_move, style).remove(' ');
}

QString rate_text(int wins, int decided) {
  if (!decided) return QStringLiteral("-");
  return QString::asprintf("%.1f%% (%d/%d)", 100.0 * wins / decided, wins, decided);
}

}  // namespace

// Letters over the board view: a child that covers it and lets clicks through.
class CandidateMarks : public QWidget {
 public:
  CandidateMarks(GameDbDialog* dialog, BoardView* board) : QWidget(board), dialog_(dialog), board_(board) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(board->rect());
    board->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == board_ && e->type() == QEvent::Resize) setGeometry(board_->rect());
    return false;
  }

  void paintEvent(QPaintEvent*) override {
    if (!dialog_->marks_apply()) return;
    const BoardGeometry g = board_->geometry_now();
    const Figure* f = board_->scene().figure;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(std::max(8, g.cell * 6 / 10));
    font.setBold(true);
    p.setFont(font);
    for (const NextMove& m : dialog_->next_moves()) {
      if (!m.letter || !m.zc) continue;
      const int x = figure_x(m.zc), y = figure_y(m.zc);
      if (f && f->board[m.zc] != EMPTY) continue;
      const QPointF c(g.x_of(x) + 0.5, g.y_of(y) + 0.5);
      const double r = g.cell * 0.45;
      p.setPen(QPen(QColor(30, 60, 160), 1.5));
      p.setBrush(m.letter == 'A' ? QColor(255, 220, 120, 235) : QColor(255, 255, 235, 225));
      p.drawEllipse(c, r, r);
      p.setPen(QColor(20, 40, 140));
      p.drawText(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QString(QChar(m.letter)));
    }
  }

 private:
  GameDbDialog* dialog_;
  BoardView* board_;
};

std::vector<NextMove> rank_next_moves(const HappoResult& r) {
  std::vector<NextMove> ranked;
  for (int z = 0; z < HAPPO_POINTS; z++) {
    if (r.next_count[z] <= 0) continue;
    const int zc = z ? zc_from_z(z) : 0;
    ranked.push_back(NextMove{zc, r.next_count[z], r.next_wins[z][0], r.next_wins[z][1], 0});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const NextMove& a, const NextMove& b) { return a.count > b.count; });
  char letter = 'A';
  for (NextMove& m : ranked)
    if (m.zc && letter <= 'Z') m.letter = letter++;
  return ranked;
}

GameDbDialog::GameDbDialog(Settings& settings, const Figure* shown, BoardView* board, OpenGame open_game,
                           QWidget* parent)
    : QDialog(parent), settings_(settings), shown_(shown), board_(board), open_game_(std::move(open_game)) {
  setObjectName("HAPPO_LIST");
  setWindowTitle(QStringLiteral("search pattern"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  matches_ = make_table(MATCH_HEADERS, MATCH_WIDTHS, 7, DIALOG_UNIT);
  matches_->setObjectName("match_table");
  layout->addWidget(matches_, 3);
  summary_ = new QLabel(QStringLiteral("盤面の局面を「検索」（全体）または「部分」（隅）で探します。"));
  summary_->setObjectName("summary");
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  next_ = make_table(NEXT_HEADERS, NEXT_WIDTHS, 6, 1);
  next_->setObjectName("next_table");
  // Stretched, the win rates would sit far from the counts they belong to.
  next_->horizontalHeader()->setStretchLastSection(false);
  layout->addWidget(next_, 2);
  auto* buttons = new QHBoxLayout;
  auto* whole = new QPushButton(QStringLiteral("検索"));
  whole->setObjectName("search_whole");
  auto* corner = new QPushButton(QStringLiteral("部分"));
  corner->setObjectName("search_corner");
  auto* folder = new QPushButton(QStringLiteral("データベースの場所(&F)..."));
  folder->setObjectName("database_folder");
  auto* close = new QPushButton(QStringLiteral("閉じる"));
  close->setObjectName("close");
  for (QPushButton* b : {whole, corner, folder}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(whole, &QPushButton::clicked, this, [this] { search(HAPPO_WHOLE); });
  connect(corner, &QPushButton::clicked, this, [this] { search(HAPPO_CORNER); });
  connect(folder, &QPushButton::clicked, this, &GameDbDialog::choose_database_folder);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(matches_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { open_row(row); });
  // Wide enough for the seven columns without a horizontal scroll bar.
  int width = matches_->verticalScrollBar()->sizeHint().width() + 2 * matches_->frameWidth();
  for (int c = 0; c < matches_->columnCount(); c++) width += matches_->columnWidth(c);
  const QMargins margins = layout->contentsMargins();
  resize(std::max(640, width + margins.left() + margins.right() + 4), 560);
  if (board_) marks_ = new CandidateMarks(this, board_);
}

GameDbDialog::~GameDbDialog() { delete marks_; }

void GameDbDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (marks_) marks_->show();
}

void GameDbDialog::hideEvent(QHideEvent* e) {
  if (marks_) marks_->hide();
  QDialog::hideEvent(e);
}

bool GameDbDialog::locate_database() {
  if (gamedb_ready()) return true;
  // The engine's data-file places (the current folder, then its parent), then the user's folder.
  QStringList places = {QDir::currentPath(), QDir::cleanPath(QDir::currentPath() + "/..")};
  if (!settings_.GameDbFolder.isEmpty()) places << settings_.GameDbFolder;
  for (const QString& place : places) {
    if (!QFileInfo(QDir(place).filePath(HAPPO_FILE)).isFile()) continue;
    gamedb_set_folder(QFile::encodeName(QDir(place).absolutePath()).toStdString());
    if (gamedb_ready()) return true;
  }
  return false;
}

void GameDbDialog::choose_database_folder() {
  QFileDialog dlg(this, QStringLiteral("棋譜データベース（happo.db）のフォルダを選択して下さい"),
                  settings_.GameDbFolder);
  dlg.setObjectName("database_folder_dialog");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  const QString folder = QDir::cleanPath(dlg.selectedFiles().first());
  if (!QFileInfo(QDir(folder).filePath(HAPPO_FILE)).isFile()) {
    QMessageBox::warning(this, windowTitle(), QStringLiteral("%1 に happo.db がありません。").arg(folder));
    return;
  }
  settings_.GameDbFolder = folder;
  gamedb_set_folder(QFile::encodeName(folder).toStdString());
  summary_->setText(QStringLiteral("データベース：%1").arg(QDir::toNativeSeparators(folder)));
}

void GameDbDialog::explain_missing_database() {
  QMessageBox box(QMessageBox::Information, windowTitle(),
                  QStringLiteral("棋譜データベース（happo.db）が見つかりません。\n\n"
                                 "「ファイル」メニューの「棋譜データベース作成」で\n"
                                 "棋譜のフォルダから作るか、次のコマンドで作って下さい。\n"
                                 "  ranvel --build-gamedb 棋譜ファイルやフォルダ... 出力フォルダ\n\n"
                                 "作ったデータベースのフォルダは「データベースの場所」で選べます。"),
                  QMessageBox::Ok, this);
  box.setObjectName("no_database");
  box.exec();
}

void GameDbDialog::search(int mode) {
  if (!locate_database()) {
    summary_->setText(QStringLiteral("棋譜データベースがありません。"));
    explain_missing_database();
    return;
  }
  if (shown_->b_size != DATABASE_BOARD) {
    summary_->setText(QStringLiteral("データベースには19路盤の棋譜だけがあります。"));
    return;
  }
  engine_take_record(*shown_, shown_->tesuu);
  QElapsedTimer timer;
  timer.start();
  result_ = std::make_unique<HappoResult>(happo_search(mode));
  const qint64 searched = timer.elapsed();
  searched_board_.assign(shown_->board, shown_->board + FIGURE_POINTS);
  searched_size_ = shown_->b_size;
  ranked_ = rank_next_moves(*result_);
  fill();
  if (marks_) marks_->update();
  PRT("search %s: %lld ms, with the lists %lld ms\n", mode == HAPPO_WHOLE ? "whole" : "corner", (long long)searched,
      (long long)timer.elapsed());
}

bool GameDbDialog::marks_apply() const {
  if (!result_ || !isVisible() || searched_size_ != shown_->b_size) return false;
  return std::equal(searched_board_.begin(), searched_board_.end(), shown_->board);
}

void GameDbDialog::fill() {
  const HappoResult& r = *result_;
  const std::vector<HappoRecord>& records = gamedb_records();
  matches_->setRowCount(0);
  matches_->setRowCount(int(r.list.size()));
  for (int i = 0; i < int(r.list.size()); i++) {
    const HappoMatch& m = r.list[i];
    const HappoRecord& h = records[m.record];
    set_cell(matches_, i, 0, QString::number(i + 1), true);
    set_cell(matches_, i, 1, QString::number(m.record), true);
    set_cell(matches_, i, 2, m.result == 1 ? QStringLiteral("黒") : m.result == 2 ? QStringLiteral("白") : QString());
    set_cell(matches_, i, 3, QString::asprintf("%04x", m.next));
    set_cell(matches_, i, 4, u(h.date));
    set_cell(matches_, i, 5, u(h.black));
    set_cell(matches_, i, 6, u(h.white));
  }
  next_->setRowCount(0);
  next_->setRowCount(int(ranked_.size()));
  for (int i = 0; i < int(ranked_.size()); i++) {
    const NextMove& m = ranked_[i];
    set_cell(next_, i, 0, m.letter ? QString(QChar(m.letter)) : QString());
    next_->item(i, 0)->setTextAlignment(Qt::AlignCenter);
    set_cell(next_, i, 1, QString::number(i + 1), true);
    set_cell(next_, i, 2, point_text(m.zc, searched_size_, settings_.Coordinate));
    set_cell(next_, i, 3, QString::number(m.count), true);
    set_cell(next_, i, 4, QString::asprintf("%.1f%%", 100.0 * m.count / std::max(1, r.total)), true);
    set_cell(next_, i, 5, rate_text(m.black_wins, m.black_wins + m.white_wins), true);
  }
  // Counts of the empty board run to five digits: widen the rate column rather than cut it.
  next_->resizeColumnToContents(5);
  next_->setColumnWidth(5, std::max(next_->columnWidth(5), NEXT_WIDTHS[5]));
  const int decided = r.result_count[1] + r.result_count[2];
  QString text = QStringLiteral("%1 局が一致（一覧は %2 局まで）  黒勝率 %3")
                     .arg(r.total)
                     .arg(HAPPO_LIST_MAX)
                     .arg(rate_text(r.result_count[1], decided));
  if (!r.total) text = QStringLiteral("この局面の棋譜はデータベースにありません。");
  summary_->setText(text);
}

void GameDbDialog::open_row(int row) {
  if (!result_ || row < 0 || row >= int(result_->list.size())) return;
  PRT("n=%d\n", row);
  const HappoMatch& m = result_->list[row];
  open_game_(QFile::decodeName(QByteArray::fromStdString(happo_game_path(m.record))), m.move);
}
