#include "editor/record_list.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QFileInfo>
#include <algorithm>
#include <set>

#include "core/log.h"
#include "editor/folder_move_dialog.h"
#include "editor/record_io.h"
#include "editor/record_files.h"
#include "editor/record_table.h"
#include "editor/settings.h"

namespace {

constexpr int DEFAULT_WIDTH = 820, DEFAULT_HEIGHT = 480;

QString local(const QString& s) { return QString::fromLocal8Bit(QFile::encodeName(s)); }

}  // namespace

RecordListWindow::RecordListWindow(Settings& settings, OpenGame open_game, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), open_game_(std::move(open_game)) {
  setObjectName("KIF_LIST");
  setWindowTitle(QStringLiteral("棋譜一覧"));
  setAttribute(Qt::WA_DeleteOnClose);
  resize(DEFAULT_WIDTH, DEFAULT_HEIGHT);

  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("フォルダ：")));
  folder_box_ = new QComboBox;
  folder_box_->setObjectName("folder_box");
  folder_box_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  folder_box_->setMinimumContentsLength(30);
  top->addWidget(folder_box_, 1);
  auto* browse = new QPushButton(QStringLiteral("フォルダの変更(&F)..."));
  browse->setObjectName("browse");
  auto* remove = new QPushButton(QStringLiteral("一覧から削除(&R)"));
  remove->setObjectName("remove_folder");
  top->addWidget(browse);
  top->addWidget(remove);
  layout->addLayout(top);

  model_ = new RecordTableModel(this);
  table_ = new QTableView;
  table_->setObjectName("record_table");
  set_up_record_table(table_, model_);
  const FontSetting& fs = settings_.FontArray[1];
  QFont font(fs.face);
  font.setPixelSize(std::max(6, fs.height));
  table_->setFont(font);
  table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  table_->installEventFilter(this);
  layout->addWidget(table_, 1);

  auto* bottom = new QHBoxLayout;
  status_ = new QLabel;
  bottom->addWidget(status_, 1);
  struct Button {
    const char* name;
    const char* text;
    std::function<void()> run;
  };
  const Button buttons[] = {
      {"open", "開く(&O)", [this] { open_selected(); }},
      {"copy", "コピー(&C)...", [this] { copy_or_move_selected(TRANSFER_COPY); }},
      {"move", "移動(&M)...", [this] { copy_or_move_selected(TRANSFER_MOVE); }},
      {"recycle", "ゴミ箱へ(&D)", [this] { recycle_selected(); }},
      {"clipboard", "リストをコピー(&L)", [this] { list_to_clipboard(); }},
      {"close", "閉じる", [this] { close(); }},
  };
  for (const Button& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text));
    button->setObjectName(b.name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, b.run);
    bottom->addWidget(button);
  }
  layout->addLayout(bottom);

  filling_box_ = true;
  for (const QString& dir : settings_.recent_dirs) folder_box_->addItem(dir);
  filling_box_ = false;
  if (folder_box_->count()) folder_ = folder_box_->itemText(0);

  connect(folder_box_, &QComboBox::currentIndexChanged, this, &RecordListWindow::folder_chosen);
  connect(browse, &QPushButton::clicked, this, &RecordListWindow::browse_folder);
  connect(remove, &QPushButton::clicked, this, &RecordListWindow::remove_current_folder);
  connect(table_, &QTableView::doubleClicked, this, [this] { open_selected(); });
  connect(table_, &QWidget::customContextMenuRequested, this, &RecordListWindow::show_popup);
  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, &RecordListWindow::sort_by);

  if (!settings_.WinPos[KIF_LIST_WIN_POS].isEmpty()) restore_window_place(this, settings_.WinPos[KIF_LIST_WIN_POS]);
}

RecordListWindow::~RecordListWindow() = default;

bool RecordListWindow::scan_folder() {
  model_->clear();
  QDir dir(folder_);
  if (folder_.isEmpty() || !dir.exists()) {
    status_->setText(QStringLiteral("フォルダがありません：%1").arg(folder_));
    return true;
  }
  PRT("検索開始！\n");
  status_->setText(QStringLiteral("検索中..."));
  QStringList files;
  for (const QString& name : dir.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
    const RecordFormat format = record_kind_of(name);
    if (format != FORMAT_NONE && format != FORMAT_UGZ) files << name;
  }
  const bool done = scan_record_files(this, folder_, files, *model_, [this](int found) { emit row_found(found); });
  table_->horizontalHeader()->setSortIndicatorShown(false);
  status_->setText(QStringLiteral("%1 局%2").arg(model_->rowCount()).arg(done ? QString() : QStringLiteral("（中断）")));
  if (model_->rowCount()) table_->selectRow(0);
  return done;
}

QStringList RecordListWindow::selected_files() const {
  QList<int> rows;
  for (const QModelIndex& i : table_->selectionModel()->selectedRows()) rows << i.row();
  std::sort(rows.begin(), rows.end());
  QStringList files;
  std::set<QString> seen;
  for (int r : rows) {
    const QString& f = model_->row(r).file;
    if (seen.insert(f).second) files << f;
  }
  return files;
}

int RecordListWindow::count_selected() const { return int(table_->selectionModel()->selectedRows().size()); }

void RecordListWindow::open_selected() {
  const QModelIndex current = table_->currentIndex();
  if (!current.isValid()) return;
  const RecordRow& row = model_->row(current.row());
  open_game_(QDir(folder_).filePath(row.file), row.game);
}

void RecordListWindow::sort_by(int column) {
  if (column < 0 || column >= COL_COUNT) return;
  PRT("pNMLV->iSubItem=%d\n", column);
  ascending_[column] = !ascending_[column];
  model_->sort_rows(column, ascending_[column]);
  table_->horizontalHeader()->setSortIndicatorShown(true);
  table_->horizontalHeader()->setSortIndicator(column, ascending_[column] ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void RecordListWindow::folder_chosen(int index) {
  if (filling_box_ || index < 0) return;
  folder_ = folder_box_->itemText(index);
  PRT("kif_folder n=%d\n", index);
  scan_folder();
}

void RecordListWindow::browse_folder() {
  PRT("IDC_FOLDER_CHANGE\n");
  QFileDialog dlg(this, QStringLiteral("フォルダを選択して下さい"), folder_);
  dlg.setObjectName("folder_dialog");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setFileMode(QFileDialog::Directory);
  dlg.setOption(QFileDialog::ShowDirsOnly);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
  const QString chosen = QDir::cleanPath(dlg.selectedFiles().first());
  int at = folder_box_->findText(chosen);
  if (at < 0) {
    filling_box_ = true;
    folder_box_->insertItem(0, chosen);
    filling_box_ = false;
    at = 0;
  }
  save_folder_list();
  if (at == folder_box_->currentIndex()) {
    folder_ = chosen;
    scan_folder();
  } else {
    folder_box_->setCurrentIndex(at);  // scans
  }
}

void RecordListWindow::remove_current_folder() {
  QMessageBox ask(QMessageBox::Question, QStringLiteral("削除の確認"),
                  QStringLiteral("現在のフォルダ\n%1\nをフォルダ一覧から削除します。\n\nフォルダそのものは削除されません。")
                      .arg(QDir::toNativeSeparators(folder_)),
                  QMessageBox::Ok | QMessageBox::Cancel, this);
  ask.setObjectName("remove_folder_question");
  if (ask.exec() != QMessageBox::Ok) return;
  if (folder_box_->count() <= 1) {
    QMessageBox refuse(QMessageBox::Information, QStringLiteral("削除の確認"),
                       QStringLiteral("最後の1個のフォルダは削除できません。"), QMessageBox::Ok, this);
    refuse.setObjectName("last_folder");
    refuse.exec();
    return;
  }
  int index = folder_box_->currentIndex();
  filling_box_ = true;
  folder_box_->removeItem(index);
  if (index >= folder_box_->count()) index = 0;
  folder_box_->setCurrentIndex(index);
  filling_box_ = false;
  save_folder_list();
  folder_ = folder_box_->itemText(index);
  scan_folder();
}

void RecordListWindow::copy_or_move_selected(TransferMode mode) {
  const QStringList files = selected_files();
  if (files.isEmpty()) return;
  const QString verb = mode == TRANSFER_COPY ? QStringLiteral("コピー") : QStringLiteral("移動");
  QStringList folders;
  for (int i = 0; i < folder_box_->count(); i++) folders << folder_box_->itemText(i);
  FolderMoveDialog dlg(int(files.size()), verb, folder_, folders, this);
  if (dlg.exec() != QDialog::Accepted) return;
  const QString target = dlg.destination();
  if (target.isEmpty()) return;
  if (!QFileInfo(target).isDir()) {
    QMessageBox::warning(this, QStringLiteral("確認"), QStringLiteral("フォルダがありません：%1").arg(target));
    return;
  }
  if (same_place(target, folder_)) {
    QMessageBox same(QMessageBox::Warning, QStringLiteral("確認"), QStringLiteral("同じフォルダです"), QMessageBox::Ok,
                     this);
    same.setObjectName("same_folder");
    same.exec();
    return;
  }
  int done = 0;
  QString failure;
  for (const QString& name : files) {
    const QString src = QDir(folder_).filePath(name), dst = QDir(target).filePath(name);
    PRT("%s -> %s\n", QFile::encodeName(src).constData(), QFile::encodeName(dst).constData());
    if (QFileInfo::exists(dst)) {
      QMessageBox ask(QMessageBox::Question, QStringLiteral("確認"),
                      QStringLiteral("同名のファイルが存在します。上書きしてもいいですか？"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
      ask.setObjectName("overwrite_question");
      ask.setInformativeText(local(name));
      ask.setDefaultButton(QMessageBox::No);
      const int answer = ask.exec();
      if (answer == QMessageBox::Cancel) break;
      if (answer != QMessageBox::Yes) continue;
    }
    const bool ok = mode == TRANSFER_COPY ? copy_record_file(src, dst, failure) : move_record_file(src, dst, failure);
    if (!ok) break;
    failure.clear();
    done++;
  }
  QString report = QStringLiteral("%1 個のファイルを%2しました").arg(done).arg(verb);
  if (!failure.isEmpty()) report = failure + "\n\n" + report;
  QMessageBox box(failure.isEmpty() ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("確認"), report,
                  QMessageBox::Ok, this);
  box.setObjectName("transfer_report");
  box.exec();
  if (mode == TRANSFER_MOVE && done) scan_folder();  // the moved files are no longer here
}

void RecordListWindow::recycle_selected() {
  const QStringList files = selected_files();
  if (files.isEmpty()) return;
  QMessageBox ask(QMessageBox::Question, QStringLiteral("確認"),
                  QStringLiteral("選択された %1 個のファイルをゴミ箱に移動します").arg(files.size()),
                  QMessageBox::Yes | QMessageBox::No, this);
  ask.setObjectName("recycle_question");
  if (ask.exec() != QMessageBox::Yes) return;
  int done = 0;
  QString failure;
  for (const QString& name : files) {
    QFile file(QDir(folder_).filePath(name));
    if (!file.moveToTrash()) {
      failure = QStringLiteral("%1 をゴミ箱に移動できません：%2").arg(name, file.errorString());
      break;
    }
    done++;
  }
  QString report = QStringLiteral("%1 個のファイルをゴミ箱に移動しました").arg(done);
  if (!failure.isEmpty()) report = failure + "\n\n" + report;
  QMessageBox box(failure.isEmpty() ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("確認"), report,
                  QMessageBox::Ok, this);
  box.setObjectName("recycle_report");
  box.exec();
  scan_folder();
}

QString RecordListWindow::list_text() const {
  QString text;
  for (int r = 0; r < model_->rowCount(); r++) {
    QStringList fields;
    for (int c = 0; c < COL_COUNT; c++) fields << model_->row(r).column_text(c);
    text += fields.join('\t') + "\r\n";
  }
  return text;
}

void RecordListWindow::list_to_clipboard() {
  QApplication::clipboard()->setText(list_text());
  PRT("クリップボードにリスト(%d行)を出力しました。\n", model_->rowCount());
}

void RecordListWindow::show_popup(const QPoint& pos) {
  QMenu menu(this);
  menu.setObjectName("KIF_LIST_POPUP");
  menu.addAction(QStringLiteral("開く(&O)"), this, [this] { open_selected(); });
  menu.addSeparator();
  menu.addAction(QStringLiteral("コピー(&C)..."), this, [this] { copy_or_move_selected(TRANSFER_COPY); });
  menu.addAction(QStringLiteral("移動(&M)..."), this, [this] { copy_or_move_selected(TRANSFER_MOVE); });
  menu.addAction(QStringLiteral("ゴミ箱へ(&D)"), this, [this] { recycle_selected(); });
  menu.addSeparator();
  menu.addAction(QStringLiteral("フォルダの変更(&F)..."), this, [this] { browse_folder(); });
  menu.addAction(QStringLiteral("フォルダを一覧から削除(&R)"), this, [this] { remove_current_folder(); });
  menu.addAction(QStringLiteral("リストをクリップボードへ(&L)"), this, [this] { list_to_clipboard(); });
  menu.exec(table_->viewport()->mapToGlobal(pos));
}

bool RecordListWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == table_ && e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      open_selected();
      return true;
    }
    if (key->key() == Qt::Key_Delete) {
      recycle_selected();
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void RecordListWindow::save_folder_list() {
  QStringList dirs;
  for (int i = 0; i < folder_box_->count(); i++) dirs << folder_box_->itemText(i);
  // The folder looked at last comes first: the list opens on it next time.
  if (dirs.removeAll(folder_)) dirs.prepend(folder_);
  while (dirs.size() > RECORD_DIR_MAX) dirs.removeLast();
  settings_.recent_dirs = dirs;
}

void RecordListWindow::closeEvent(QCloseEvent* e) {
  settings_.WinPos[KIF_LIST_WIN_POS] = window_place_text(this);
  save_folder_list();
  e->accept();
}
