// Reading and writing record files for the window: the records' loader and
// saver with the window's messages around them.
#pragma once
#include <QString>

#include "records/figure.h"
#include "records/record_io.h"

RecordFormat record_kind_of(const QString& path);

// Reads the file into rec and completes the load; false with a message when
// nothing could be loaded. A reader that stopped early still loads what it read.
bool read_record_file(const QString& path, GameRecord& rec, bool last_move_load, QString& error);
// Writes rec with the writer the name chooses; the old file is replaced only
// when the whole text was written.
bool write_record_file(const QString& path, const GameRecord& rec, QString& error);
