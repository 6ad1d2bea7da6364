#include "editor/record_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "core/log.h"
#include "knowledge/gamedb_source.h"
#include "records/record_io.h"
#include "records/sgf.h"
#include "records/sjis.h"

namespace {

std::string local_path(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString u(const std::string& sjis) { return QString::fromStdString(cp932_to_utf8(sjis)); }

// A reader that stopped before finding anything has not read a record.
bool read_anything(const GameRecord& rec) {
  const GameInfo& g = rec.main.info;
  return rec.main.move_count > 0 || !g.black[0].empty() || !g.white[0].empty() || !g.title[0].empty() ||
         !g.date[0].empty() || !rec.figures.empty();
}

GameRecord& scratch_record() {
  static std::unique_ptr<GameRecord> rec(new GameRecord);
  return *rec;
}

}  // namespace

QString RecordRow::shown_name() const { return game < 0 ? file : QStringLiteral("%1 #%2").arg(file).arg(game + 1); }

QString RecordRow::column_text(int column) const {
  switch (column) {
    case COL_NO: return QString::number(number);
    case COL_EVENT: return u(event);
    case COL_BLACK: return u(black);
    case COL_WHITE: return u(white);
    case COL_DATE: return u(date);
    case COL_RESULT: return u(result);
    case COL_COMMENT: return commentary ? QStringLiteral("解説") : QString();
    case COL_FILE: return shown_name();
    default: return QString();
  }
}

std::string result_column_text(const GameInfo& info) {
  const std::string& kind = info.winner[0];
  if (!kind.empty() && (kind[0] == 'B' || kind[0] == 'W')) {
    const std::string& margin = info.winner[1];
    return std::string(1, kind[0]) + "+" + (!margin.empty() && margin[0] == 'C' ? std::string("R") : margin);
  }
  return kind;
}

bool has_commentary(const GameRecord& rec) {
  if (!rec.main.text.empty()) return true;
  for (const Figure& f : rec.figures)
    if (!f.text.empty()) return true;
  return false;
}

RecordRow row_of(const GameRecord& rec) {
  const GameInfo& g = rec.main.info;
  RecordRow row;
  row.event = g.title[0] + g.title[1] + g.title[2];
  row.black = g.black[0];
  row.white = g.white[0];
  row.date = g.date[0];
  row.result = result_column_text(g);
  row.commentary = has_commentary(rec);
  return row;
}

int for_each_file_game(const QString& path, const std::function<bool(const GameRecord& rec, int game)>& visit) {
  const std::string file = local_path(path);
  const RecordFormat format = choose_reader(file);
  if (format == FORMAT_NONE || format == FORMAT_UGZ) return -1;
  std::string data, error;
  if (!read_whole_file(file, data, error)) return -1;
  GameRecord& rec = scratch_record();
  if (format != FORMAT_SGF) {
    const int result = read_record(format, data, rec, false);
    if (result != LOAD_OK && !read_anything(rec)) return -1;
    visit(rec, -1);
    return 1;
  }
  // The list needs the headers only: no replay of the moves.
  const std::vector<std::string_view> games = split_sgf_collection(data);
  int found = 0;
  for (size_t i = 0; i < games.size(); i++) {
    rec.reset();
    if (!read_sgf(games[i], rec) && !read_anything(rec)) continue;
    found++;
    if (!visit(rec, games.size() == 1 ? -1 : int(i))) break;
  }
  return found ? found : -1;
}

bool read_file_game(const QString& path, int game, GameRecord& rec, bool last_move_load, QString& error) {
  const std::string file = local_path(path);
  std::string data, why;
  const RecordFormat format = choose_reader(file);
  if (format == FORMAT_NONE || format == FORMAT_UGZ) {
    error = QStringLiteral("棋譜ファイルではありません：%1").arg(path);
    return false;
  }
  if (!read_whole_file(file, data, why)) {
    PRT("Could not open file =%s\n", file.c_str());
    error = QStringLiteral("ファイルを開けません：%1\n%2").arg(path, QString::fromStdString(why));
    return false;
  }
  std::string_view text = data;
  if (format == FORMAT_SGF && game > 0) {
    const std::vector<std::string_view> games = split_sgf_collection(data);
    if (game >= int(games.size())) {
      error = QStringLiteral("%1 に第%2局はありません").arg(path).arg(game + 1);
      return false;
    }
    text = games[game];
  }
  read_record(format, text, rec, last_move_load);
  return true;
}

int count_file_games(const QString& path) {
  const std::string file = local_path(path);
  const RecordFormat format = choose_reader(file);
  if (format == FORMAT_NONE || format == FORMAT_UGZ) return 0;
  std::string data, error;
  if (!read_whole_file(file, data, error)) return 0;
  return format == FORMAT_SGF ? int(split_sgf_collection(data).size()) : 1;
}

QString game_save_path(const QString& path, int game) {
  if (game < 0) return path;
  const QFileInfo info(path);
  return info.dir().filePath(QStringLiteral("%1-%2.sgf").arg(info.completeBaseName()).arg(game + 1));
}
