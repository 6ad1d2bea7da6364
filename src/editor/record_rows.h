// The rows of the record list: one per game of a record file, with the
// facts the list shows. A file holding several SGF game trees gives one row
// per game ("name.sgf #3").
#pragma once
#include <QString>
#include <functional>
#include <string>

#include "records/figure.h"

// Game indices beside 0, 1, ...: a file's only game is -1.
constexpr int GAME_ONLY = -1, GAME_ASK = -2, GAME_CANCELLED = -3;

enum RecordColumn { COL_NO = 0, COL_EVENT, COL_BLACK, COL_WHITE, COL_DATE, COL_RESULT, COL_COMMENT, COL_FILE, COL_COUNT };

struct RecordRow {
  int number = 0;      // from 1, in the order the games were found
  std::string event;   // CP932, like the record's texts
  std::string black;
  std::string white;
  std::string date;
  std::string result;
  bool commentary = false;
  QString file;        // file name within the folder
  int game = -1;       // 0-based game of a collection; -1 for a file with one game

  QString shown_name() const;
  QString column_text(int column) const;
};

// "B+R", "W+3.5", or the result code as the record holds it.
std::string result_column_text(const GameInfo& info);
bool has_commentary(const GameRecord& rec);
RecordRow row_of(const GameRecord& rec);

// Reads the games of one record file and hands each to visit with its game
// index (-1 when the file holds a single game); visit returns false to stop.
// Returns the number of games read, -1 when the file is not a record file or
// cannot be read. Game trees that yield nothing are skipped.
int for_each_file_game(const QString& path, const std::function<bool(const GameRecord& rec, int game)>& visit);

// Reads game `game` of the file (-1 or 0 for a file with one game) into rec
// and completes the load; false with a message when it cannot.
bool read_file_game(const QString& path, int game, GameRecord& rec, bool last_move_load, QString& error);

// The number of SGF game trees of a file (1 for the other formats, 0 when unreadable).
int count_file_games(const QString& path);

// Where a game taken out of a collection is saved by default: a name of its
// own beside the collection ("pro-3.sgf"), so saving never replaces the
// collection's other games. A file's only game keeps the file's path.
QString game_save_path(const QString& path, int game);
