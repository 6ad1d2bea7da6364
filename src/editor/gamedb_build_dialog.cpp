#include "editor/gamedb_build_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

#include "editor/busy.h"
#include "knowledge/gamedb.h"

namespace {
constexpr int PUMP_INTERVAL_MS = 50;
}  // namespace

GameDbBuildDialog::GameDbBuildDialog(const QString& destination, QWidget* parent) : QDialog(parent) {
  setObjectName("gamedb_build");
  setWindowTitle(QStringLiteral("棋譜データベース作成"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("元にする棋譜（フォルダ、SGFファイル、.sgf.xz）：")));
  sources_ = new QListWidget;
  sources_->setObjectName("sources");
  layout->addWidget(sources_, 1);
  auto* source_buttons = new QHBoxLayout;
  auto* add_folder = new QPushButton(QStringLiteral("フォルダを追加(&F)..."));
  auto* add_files = new QPushButton(QStringLiteral("ファイルを追加(&A)..."));
  auto* remove = new QPushButton(QStringLiteral("削除(&R)"));
  for (QPushButton* b : {add_folder, add_files, remove}) {
    b->setAutoDefault(false);
    source_buttons->addWidget(b);
  }
  source_buttons->addStretch(1);
  layout->addLayout(source_buttons);
  layout->addWidget(new QLabel(QStringLiteral("作成先のフォルダ（happo.db と 1.sgf, 2.sgf, ...）：")));
  auto* dest_row = new QHBoxLayout;
  destination_ = new QLineEdit(destination);
  destination_->setObjectName("destination");
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."));
  browse->setAutoDefault(false);
  dest_row->addWidget(destination_, 1);
  dest_row->addWidget(browse);
  layout->addLayout(dest_row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("作成"));
  layout->addWidget(buttons);
  resize(520, 360);

  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (sources_->count() && !this->destination().isEmpty()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(add_folder, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダを選択して下さい"), QString(),
                                                    QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty()) sources_->addItem(dir);
  });
  connect(add_files, &QPushButton::clicked, this, [this] {
    QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("棋譜ファイルを選択して下さい"), QString(),
        QStringLiteral("棋譜ファイル(*.sgf *.xz *.ugf *.ugi *.mgt *.ngf *.ig1);;全てのファイル(*)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    sources_->addItems(files);
  });
  connect(remove, &QPushButton::clicked, this, [this] { delete sources_->currentItem(); });
  connect(browse, &QPushButton::clicked, this, [this] {
    QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダを選択して下さい"), this->destination(),
                                                    QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty()) destination_->setText(dir);
  });
}

QStringList GameDbBuildDialog::sources() const {
  QStringList list;
  for (int i = 0; i < sources_->count(); i++) list << sources_->item(i)->text();
  return list;
}

QString GameDbBuildDialog::destination() const { return destination_->text().trimmed(); }

bool run_gamedb_build(QWidget* parent, const QStringList& sources, const QString& destination, QString& report) {
  QProgressDialog progress(QStringLiteral("棋譜データベースを作成しています"), QStringLiteral("キャンセル"), 0, 0,
                           parent);
  progress.setObjectName("build_progress");
  progress.setWindowTitle(QStringLiteral("棋譜データベース作成"));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(0);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  progress.show();
  std::vector<std::string> paths;
  for (const QString& s : sources) paths.push_back(QFile::encodeName(s).toStdString());
  char* summary = nullptr;
  size_t summary_size = 0;
  FILE* out = open_memstream(&summary, &summary_size);
  if (!out) return false;
  QElapsedTimer since_pump;
  since_pump.start();
  bool cancelled = false;
  const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
  editor_pump_messages();
  const int status = build_gamedb(paths, QFile::encodeName(destination).toStdString(), out, [&](long games) {
    if (since_pump.elapsed() >= PUMP_INTERVAL_MS) {
      progress.setLabelText(QStringLiteral("棋譜データベースを作成しています\n%1 局").arg(games));
      editor_pump_messages();
      since_pump.restart();
    }
    cancelled = progress.wasCanceled();
    return !cancelled;
  });
  std::fclose(out);
  report = QString::fromLocal8Bit(summary, qsizetype(summary_size)).trimmed();
  std::free(summary);
  if (cancelled) {
    report = QStringLiteral("中止しました。%1 は変更されていません。").arg(destination);
    return false;
  }
  // Some game files may have failed; the database itself counts.
  const QFileInfo db(QDir(destination).filePath(HAPPO_FILE));
  return status == 0 || (db.isFile() && db.lastModified() >= started);
}
