// The main window's editing tools: new game, paste and copy, game
// information and photos, comments and reference figures, move edits, the
// analysis and board-edit modes, rotation and the record window.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "core/log.h"
#include "editor/add_figure_dialog.h"
#include "editor/board_view.h"
#include "editor/clipboard_text.h"
#include "editor/commands.h"
#include "editor/info_dialog.h"
#include "editor/main_window.h"
#include "editor/photo_dialog.h"
#include "editor/record_window.h"
#include "editor/start_dialog.h"
#include "records/engine_load.h"
#include "records/figure_edit.h"

namespace {

bool ask(QWidget* parent, const QString& caption, const QString& text, const char* name,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok | QMessageBox::Cancel) {
  QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
  box.setObjectName(name);
  QMessageBox::StandardButton yes = buttons & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
  box.setDefaultButton(buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::No);
  return box.exec() == yes;
}

bool has_stones(const Figure& f) {
  for (int y = 1; y <= f.b_size; y++)
    for (int x = 1; x <= f.b_size; x++)
      if (f.board[figure_z(x, y)] == 1 || f.board[figure_z(x, y)] == 2) return true;
  return false;
}

bool has_labels(const Figure& f) {
  return std::any_of(std::begin(f.labels), std::end(f.labels), [](int32_t l) { return l != 0; });
}

}  // namespace

Figure* MainWindow::comment_target() {
  int i = selected_figure();
  if (i >= 0) return &state_.records.working.figures[i];
  return const_cast<Figure*>(state_.annotation(state_.working().tesuu));
}

int MainWindow::selected_figure() const {
  int tab = tabs_->currentIndex() - TAB_FIGURE_FIRST;
  return tab >= 0 && tab < (int)figure_tabs_.size() ? figure_tabs_[tab] : -1;
}

void MainWindow::select_figure(int list_index) {
  for (size_t t = 0; t < figure_tabs_.size(); t++)
    if (figure_tabs_[t] == list_index) tabs_->setCurrentIndex(TAB_FIGURE_FIRST + (int)t);
}

void MainWindow::update_figure_tabs() {
  FigureList& list = state_.records.working.figures;
  std::vector<int> tabbed = state_.reference_figures();
  const int selected = selected_figure();
  figure_tabs_ = tabbed;
  tabs_->blockSignals(true);
  while ((int)figure_views_.size() > (int)tabbed.size()) {
    BoardView* v = figure_views_.takeLast();
    tabs_->removeTab(tabs_->indexOf(v));
    delete v;
  }
  while (figure_views_.size() < (int)tabbed.size()) {
    auto* v = new BoardView(tabs_);
    v->setObjectName(QStringLiteral("figure_tab"));
    figure_views_.append(v);
    tabs_->addTab(v, QStringLiteral("参考図%1").arg(figure_views_.size()));
  }
  tabs_->blockSignals(false);
  for (size_t t = 0; t < tabbed.size(); t++) {
    Figure& fig = list[tabbed[t]];
    if (fig.tesuu != fig.move_count) fig.goto_move(fig.move_count);
    BoardScene s;
    s.figure = &fig;
    s.numbers = true;
    s.triangle = false;
    s.with_coords = false;
    s.bmp_board = settings_.AtView;
    s.board_color = settings_.BoardColor;
    figure_views_[t]->set_scene(s);
    figure_views_[t]->setToolTip(QStringLiteral("%1手目からの参考図").arg(fig.anchor_move));
  }
  if (selected >= 0 && selected_figure() != selected) select_figure(selected);
}

void MainWindow::tool_command_states() {
  const Figure& f = state_.working();
  actions_[ID_DELETE_LAST]->setEnabled(!analysis_on_ && f.move_count > 0 && f.tesuu >= f.move_count);
  for (int id : {ID_ATTACH_PHOTO, ID_DELETE_PHOTOS}) actions_[id]->setEnabled(!analysis_on_);
  const bool target = comment_target() != nullptr;
  for (int id : {ID_EDIT_FIGURE, ID_DELETE_FIGURE}) actions_[id]->setEnabled(target);
  const int tab = tabs_->currentIndex() - TAB_FIGURE_FIRST;
  const int tab_count = (int)figure_tabs_.size();
  const bool on_figure = tab >= 0 && tab < tab_count;
  actions_[ID_FIGURE_RIGHT]->setEnabled(on_figure && tab + 1 < tab_count);
  actions_[ID_FIGURE_LEFT]->setEnabled(on_figure && tab > 0);
  for (int id : {ID_PREV_FIGURE, ID_NEXT_FIGURE}) actions_[id]->setEnabled(tab_count > 0);
  prev_figure_->setEnabled(tab_count > 0);
  next_figure_->setEnabled(tab_count > 0);
  const bool figures = !state_.records.working.figures.empty();
  for (int id : {ID_DELETE_ALL_FIGURES, ID_DELETE_ALL_COMMENTS, ID_DELETE_ALL}) actions_[id]->setEnabled(figures);
  actions_[ID_ANALYSIS]->setChecked(analysis_on_);
  actions_[ID_ANALYSIS]->setText(analysis_on_ ? QStringLiteral("検討終了(&R)\tCtrl+R") : QStringLiteral("検討(&R)\tCtrl+R"));
  actions_[ID_ANALYSIS]->setIconText(analysis_on_ ? QStringLiteral("検討終了") : QStringLiteral("検討"));
}

void MainWindow::take_new_record(bool modified) {
  state_.records.working.main.analysis_base = FIGURE_NUMBER_NONE;
  state_.file_path.clear();
  state_.modified = modified;
  tabs_->setCurrentIndex(TAB_RECORD_INFO);
  record_became_current();
}

void MainWindow::new_game() {
  if (!ask_save_changes()) return;
  Figure& cur = state_.working();
  Figure base;
  base.reset();
  base.set_size(cur.b_size);
  const GameInfo& g = cur.info;
  bool named = !g.black[0].empty() || !g.white[0].empty() || !g.title[0].empty();
  if (named && ask(this, QStringLiteral("棋譜情報のコピー"), QStringLiteral("現在の対局者名などを初期値に設定しますか？"),
                   "copy_info", QMessageBox::Yes | QMessageBox::No)) {
    base.copy_info(cur);
    base.info.winner[0].clear();
    base.info.winner[1].clear();
  }
  bool keep = false;
  if (has_stones(cur) && ask(this, QStringLiteral("盤面のコピー"), QStringLiteral("現在の石配置を初期盤面にしますか？"),
                             "copy_position", QMessageBox::Yes | QMessageBox::No)) {
    std::memcpy(base.initial_board, cur.board, sizeof base.initial_board);
    base.first_color = cur.side_to_move();
    keep = true;
  }
  StartDialog dlg(base, keep, this);
  if (dlg.exec() != QDialog::Accepted) return;
  leave_analysis();
  state_.records.working.reset();
  state_.records.working.main = dlg.record();
  state_.records.working.main.remove_dead_setup_stones();
  take_new_record(false);
}

void MainWindow::paste() {
  if (!ask_save_changes()) return;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) {
    PRT("クリップボードオープンの失敗です。\n");
    return;
  }
  GameRecord& file = state_.records.file;
  if (read_pasted_record(data->text(), file, settings_.LastMoveLoad) == PASTE_NONE) {
    QMessageBox::information(this, QString::fromLatin1(PRODUCT_NAME),
                             QStringLiteral("クリップボードに棋譜がありません。"));
    return;
  }
  state_.records.file_to_working();
  take_new_record(false);
}

void MainWindow::toggle_analysis() {
  if (analysis_on_) {
    leave_analysis();
    tabs_->setCurrentIndex(TAB_RECORD_INFO);
    return;
  }
  analysis_saved_.copy_from(state_.records.working);
  analysis_saved_modified_ = state_.modified;
  analysis_on_ = true;
  state_.working().analysis_base = state_.working().tesuu;
  tabs_->setCurrentIndex(TAB_ANALYSIS);
  record_generation_++;
  refresh();
}

void MainWindow::leave_analysis() {
  if (!analysis_on_) return;
  analysis_on_ = false;
  // Nothing tried is kept: the record comes back as it was, at its shown move.
  state_.records.working.copy_from(analysis_saved_);
  state_.modified = analysis_saved_modified_;
  record_became_current();
}

void MainWindow::board_edit() {
  if (!ask_save_changes()) return;
  leave_analysis();
  Figure& main = state_.working();
  Figure copy;
  copy.reset();
  copy.copy_info(main);
  copy.figure_from_main(main, main.tesuu);
  copy.first_color = main.side_to_move();
  copy.goto_move(0);
  AddFigureDialog dlg(copy, FIGURE_BOARD_EDIT, QStringLiteral("盤面編集"), this);
  if (dlg.exec() != QDialog::Accepted) return;
  Figure edited = dlg.figure();
  edited.remove_dead_setup_stones();
  edited.goto_move(edited.move_count);
  state_.records.working.reset();
  state_.records.working.main = edited;
  // The set-up position exists nowhere else: it stays marked modified so that
  // closing or opening asks before it is lost.
  take_new_record(true);
}

void MainWindow::rotate_board() {
  rotate_record(state_.records.working);
  judgement_shown_ = false;
  if (!analysis_on_) mark_modified();
  record_generation_++;
  engine_take_record(state_.working(), state_.working().tesuu);
  refresh();
}

void MainWindow::edit_game_info() {
  InfoDialog dlg(state_.working().info, this);
  if (dlg.exec() != QDialog::Accepted) return;
  state_.working().info = dlg.info();
  engine_take_record(state_.working(), state_.working().tesuu);  // the rule flag follows
  mark_modified();
  refresh();
}

void MainWindow::attach_photos() {
  PhotoDialog dlg(state_.working().info, settings_.Photo, this);
  if (dlg.exec() != QDialog::Accepted) return;
  GameInfo& g = state_.working().info;
  bool changed = false;
  for (int i = 0; i < PHOTO_NUM; i++) {
    changed = changed || g.photos[i] != dlg.photo(i);
    g.photos[i] = dlg.photo(i);
    if (i < 3) settings_.Photo[i] = dlg.path(i);
  }
  if (changed) mark_modified();
  refresh();
}

void MainWindow::delete_photos() {
  GameInfo& g = state_.working().info;
  bool any = false;
  for (std::string& p : g.photos) {
    any = any || !p.empty();
    p.clear();
  }
  if (any) mark_modified();
  refresh();
}

void MainWindow::edit_figure(bool fresh) {
  GameRecord& rec = state_.records.working;
  Figure& main = rec.main;
  int index = -1;
  Figure start;
  if (fresh) {
    start.reset();
    start.copy_info(main);
    start.figure_from_main(main, main.tesuu);
    start.anchor_move = main.tesuu;
    start.first_number = 1;
    start.first_color = main.side_to_move();
    start.goto_move(0);
  } else {
    Figure* target = comment_target();
    if (!target) return;
    index = int(target - rec.figures.data());
    start = *target;
  }
  AddFigureDialog dlg(start, FIGURE_COMMENT,
                      fresh ? QStringLiteral("コメント、参考図の新規追加") : QStringLiteral("コメント、参考図の編集"), this);
  if (dlg.exec() != QDialog::Accepted) return;
  const Figure& result = dlg.figure();
  bool empty = result.text.empty() && !has_labels(result) && !state_.is_reference(result);
  if (index < 0 && empty) return;
  if (index < 0) {
    rec.figures.push_back(result);
    index = (int)rec.figures.size() - 1;
  } else if (empty) {
    rec.figures.erase(rec.figures.begin() + index);
    index = -1;
  } else {
    rec.figures[index] = result;
  }
  mark_modified();
  update_figure_tabs();
  if (index >= 0 && state_.is_reference(rec.figures[index])) select_figure(index);
  refresh();
}

void MainWindow::delete_figure() {
  Figure* target = comment_target();
  if (!target) return;
  if (!ask(this, QStringLiteral("確認"), QStringLiteral("このコメント、参考図を削除しますか？"), "delete_figure")) return;
  FigureList& list = state_.records.working.figures;
  list.erase(list.begin() + (target - list.data()));
  mark_modified();
  tabs_->setCurrentIndex(TAB_RECORD_INFO);
  refresh();
}

void MainWindow::delete_all(int id) {
  const char* question = id == ID_DELETE_ALL_FIGURES     ? "すべての参考図のみを削除しますか？\nコメントは残ります"
                         : id == ID_DELETE_ALL_COMMENTS ? "すべてのコメントを削除しますか？\n参考図は残ります"
                                                        : "すべての参考図、コメントを削除しますか？";
  if (!ask(this, QStringLiteral("確認"), QString::fromUtf8(question), "delete_all")) return;
  GameRecord& rec = state_.records.working;
  if (id == ID_DELETE_ALL) {
    rec.figures.clear();
  } else {
    for (Figure& fig : rec.figures) {
      if (id == ID_DELETE_ALL_COMMENTS) {
        fig.text.clear();
        continue;
      }
      int anchor = fig.anchor_move, first = fig.first_number;
      fig.figure_from_main(rec.main, std::min(anchor, rec.main.move_count));
      fig.anchor_move = anchor;
      fig.first_number = first;
    }
    // What is left with nothing to show goes.
    std::erase_if(rec.figures, [&](const Figure& fig) {
      return fig.text.empty() && !has_labels(fig) && !state_.is_reference(fig);
    });
  }
  mark_modified();
  tabs_->setCurrentIndex(TAB_RECORD_INFO);
  refresh();
}

void MainWindow::move_figure(int step) {
  const int tab = tabs_->currentIndex() - TAB_FIGURE_FIRST;
  const int other = tab + step;
  if (tab < 0 || tab >= (int)figure_tabs_.size() || other < 0 || other >= (int)figure_tabs_.size()) return;
  FigureList& list = state_.records.working.figures;
  std::swap(list[figure_tabs_[tab]], list[figure_tabs_[other]]);
  mark_modified();
  update_figure_tabs();
  tabs_->setCurrentIndex(TAB_FIGURE_FIRST + other);
  refresh();
}

void MainWindow::step_figure(int step) {
  const int count = (int)figure_tabs_.size();
  if (!count) return;
  int tab = tabs_->currentIndex() - TAB_FIGURE_FIRST;
  if (tab < 0 || tab >= count) tab = step > 0 ? 0 : count - 1;
  else tab = std::clamp(tab + step, 0, count - 1);
  tabs_->setCurrentIndex(TAB_FIGURE_FIRST + tab);
}

QMenu* MainWindow::board_popup(int zc) {
  const Figure& f = state_.working();
  const int n = f.tesuu;
  auto* menu = new QMenu(this);
  menu->setObjectName("MAIN_BOARD_POPUP");
  menu->addAction(QStringLiteral("キャンセル(&C)"));
  menu->addAction(QStringLiteral("パス(&P)"), this, [this] { command(ID_PASS); });
  QAction* shift = menu->addAction(QStringLiteral("この手をずらず(&S)"), this, [this, zc] { edit_moves(ID_SHIFT_MOVE, zc); });
  QAction* insert =
      menu->addAction(QStringLiteral("入力忘れの手をここに挿入(&I)"), this, [this, zc] { edit_moves(ID_INSERT_MOVE, zc); });
  QAction* only = menu->addAction(QStringLiteral("この手のみを削除(&D)"), this, [this, zc] { edit_moves(ID_DELETE_ONLY, zc); });
  QAction* last = menu->addAction(QStringLiteral("最終手の削除(&L)"), this, [this] { command(ID_DELETE_LAST); });
  shift->setData(int(ID_SHIFT_MOVE));
  insert->setData(int(ID_INSERT_MOVE));
  only->setData(int(ID_DELETE_ONLY));
  last->setData(int(ID_DELETE_LAST));
  for (QAction* a : {shift, insert, only, last}) a->setEnabled(false);
  const bool empty = f.board[zc] == 0;
  if (empty && n > 0) {
    shift->setText(QStringLiteral("%1手目をここにずらす(&S)").arg(n));
    shift->setEnabled(true);
  }
  if (empty && f.move_count > 0 && n < f.move_count) {
    insert->setText(QStringLiteral("入力忘れの%1手目をここに挿入(&I)").arg(n + 1));
    insert->setEnabled(true);
  }
  if (n > 0 && last_move_point(f) == zc && f.board[zc] != 0) {
    only->setText(QStringLiteral("%1手目のみを削除(&D)").arg(n));
    only->setEnabled(true);
  }
  last->setEnabled(actions_[ID_DELETE_LAST]->isEnabled());
  return menu;
}

void MainWindow::edit_moves(int id, int zc) {
  GameRecord copy;
  copy.copy_from(state_.records.working);
  const int n = copy.main.tesuu;
  int replayed = -1, show = n;
  switch (id) {
    case ID_SHIFT_MOVE: replayed = shift_move(copy, n, zc); break;
    case ID_INSERT_MOVE:
      replayed = insert_move(copy, n + 1, zc);
      show = n + 1;
      break;
    case ID_DELETE_ONLY:
      replayed = delete_only_move(copy, n);
      show = n - 1;
      break;
    default: return;
  }
  if (replayed < 0) return;
  if (replayed < copy.main.move_count &&
      !ask(this, QStringLiteral("確認"),
           QStringLiteral("棋譜が途中(%1手目)でエラーになる修正です。\n続行しますか？").arg(replayed + 1), "replay_error"))
    return;
  state_.records.working.copy_from(copy);
  state_.working().goto_move(std::min(show, replayed));
  if (!analysis_on_) mark_modified();
  record_generation_++;
  engine_take_record(state_.working(), state_.working().tesuu);
  refresh();
}

QMenu* MainWindow::tab_popup() {
  auto* menu = new QMenu(this);
  menu->setObjectName("TAB_POPUP");
  const int ids[] = {ID_EDIT_FIGURE, ID_ADD_FIGURE, ID_FIGURE_RIGHT, ID_FIGURE_LEFT, ID_DELETE_FIGURE};
  const char* const labels[] = {"編集(&E)", "新規追加(&N)", "→ へ移動(&R)", "← へ移動(&L)", "削除(&D)"};
  for (int i = 0; i < 5; i++) {
    QAction* a = menu->addAction(QString::fromUtf8(labels[i]), this, [this, id = ids[i]] { command(id); });
    a->setData(ids[i]);
    a->setEnabled(actions_[ids[i]]->isEnabled());
  }
  return menu;
}

void MainWindow::show_record_window() {
  if (!record_window_) {
    record_window_ = new RecordWindow(this);
    connect(record_window_, &RecordWindow::move_chosen, this, [this](int n) { go_to_move(n); });
  }
  record_window_->rebuild(state_);
  record_window_->show();
  record_window_->raise();
}

void MainWindow::open_test_window() {
  auto* dlg = new AddFigureDialog(state_.working(), FIGURE_COMMENT, QStringLiteral("テスト"), this);
  dlg->setAttribute(Qt::WA_DeleteOnClose);
  dlg->setModal(false);
  dlg->show();
}
