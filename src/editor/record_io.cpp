#include "editor/record_io.h"

#include <QFile>

#include "core/log.h"

namespace {
std::string local_path(const QString& path) { return QFile::encodeName(path).toStdString(); }
}  // namespace

RecordFormat record_kind_of(const QString& path) { return choose_reader(local_path(path)); }

bool read_record_file(const QString& path, GameRecord& rec, bool last_move_load, QString& error) {
  std::string why;
  int result = load_record_file(local_path(path), rec, last_move_load, why);
  if (result == LOAD_NO_FILE) {
    PRT("Could not open file =%s\n", local_path(path).c_str());
    error = QStringLiteral("ファイルを開けません：%1\n%2").arg(path, QString::fromStdString(why));
    return false;
  }
  if (result == LOAD_NOT_RECORD) {
    error = QStringLiteral("棋譜ファイルではありません：%1").arg(path);
    return false;
  }
  return true;
}

bool write_record_file(const QString& path, const GameRecord& rec, QString& error) {
  std::string why;
  if (save_record_file(local_path(path), rec, why)) return true;
  error = QStringLiteral("保存に失敗しました：%1\n%2").arg(path, QString::fromStdString(why));
  return false;
}
