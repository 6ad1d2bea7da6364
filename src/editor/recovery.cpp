#include "editor/recovery.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QThread>

#include "core/folders.h"
#include "core/internal_stop.h"
#include "core/log.h"
#include "editor/editor_state.h"
#include "records/record_io.h"

namespace {

const EditorState* recovery_state = nullptr;

bool write_bytes(const QString& path, const std::string& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

QString recovery_folder() {
  QString base = QString::fromStdString(program_dir());
  if (base.isEmpty()) base = QCoreApplication::applicationDirPath();
  QString dir = QDir(base).filePath("recovery");
  if (QDir().mkpath(dir)) return dir;
  dir = QDir(QDir::tempPath()).filePath("ranvel-recovery");
  QDir().mkpath(dir);
  return dir;
}

void report_stop(const std::string& last_lines, const std::string& game_sgf) {
  QStringList files = write_recovery_files(recovery_folder(), log_text(), game_sgf, recovery_state);
  // Message boxes and the clipboard belong to the GUI thread; a stop on a
  // search thread leaves the files alone.
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app || QThread::currentThread() != app->thread()) return;
  // Without a screen nobody could close the box: the files have to do.
  if (QGuiApplication::platformName() == "offscreen") return;
  QApplication::clipboard()->setText(QString::fromStdString(log_text()));
  QString text = QStringLiteral("内部エラーで停止しました\n\n現在PRTをクリップボードにコピー\nOK 後はSGFをコピーします\n\n") +
                 QString::fromStdString(last_lines);
  if (!files.isEmpty()) text += QStringLiteral("\n\n次のファイルに保存しました：\n") + files.join('\n');
  QMessageBox::critical(nullptr, QStringLiteral("デバッグ！"), text);
  QApplication::clipboard()->setText(QString::fromStdString(game_sgf));
}

}  // namespace

QStringList write_recovery_files(const QString& folder, const std::string& log, const std::string& game_sgf,
                                 const EditorState* state) {
  QStringList written;
  QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss");
  QDir dir(folder);
  QString log_path = dir.filePath("log-" + stamp + ".txt");
  if (write_bytes(log_path, log)) written << log_path;
  QString game_path = dir.filePath("engine-" + stamp + ".sgf");
  if (write_bytes(game_path, game_sgf)) written << game_path;
  if (state) {
    // The user's own work in the format it came in: SGF stays SGF, all else UGF.
    bool sgf = state->file_path.endsWith(".sgf", Qt::CaseInsensitive);
    SgfBuf buf;
    buf.empty();
    if (write_record(sgf ? FORMAT_SGF : FORMAT_UGF, state->records.working, buf)) {
      QString record_path = dir.filePath("record-" + stamp + (sgf ? ".sgf" : ".ugf"));
      if (write_bytes(record_path, buf.text)) written << record_path;
    }
  }
  return written;
}

void install_recovery_stop(const EditorState* state) {
  recovery_state = state;
  set_internal_stop_reporter(report_stop);
}
