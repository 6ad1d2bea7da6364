// Choosing a reader or writer by file name, loading a record file into the
// record model and saving one safely.
#pragma once
#include <string>
#include <string_view>

#include "records/figure.h"
#include "records/sgf_buf.h"

enum RecordFormat : int { FORMAT_NONE = 0, FORMAT_SGF, FORMAT_UGF, FORMAT_TEXT, FORMAT_NGF, FORMAT_UGZ };

// By the extension after the last "." (case-insensitive).
RecordFormat choose_reader(const std::string& file_name);
// By the save path: "ugf" UGF, "sgf" and "mgt" SGF, everything else the simple text format.
RecordFormat choose_writer(const std::string& file_name);

enum LoadResult : int {
  LOAD_OK = 0,
  LOAD_STOPPED = 1,     // the reader stopped on an error; what it read is loaded
  LOAD_NOT_RECORD = 2,  // the extension names no record format (or an archive)
  LOAD_NO_FILE = 3,     // the file cannot be read
};

// Runs the reader for the format over the bytes into rec (reset first) and
// completes the load. LOAD_OK or LOAD_STOPPED.
int read_record(RecordFormat format, std::string_view data, GameRecord& rec, bool last_move_load);
// Reads the file; on LOAD_NOT_RECORD and LOAD_NO_FILE rec is untouched and
// error says why.
int load_record_file(const std::string& path, GameRecord& rec, bool last_move_load, std::string& error);

// Formats rec with the writer into buf; false when the text did not fit.
bool write_record(RecordFormat format, const GameRecord& rec, SgfBuf& buf);
// Writes bytes to a temporary file beside path and renames it over path only
// when everything was written; false (old file untouched) with error set.
bool replace_file(const std::string& path, std::string_view bytes, std::string& error);
// write_record + replace_file with the writer the path chooses.
bool save_record_file(const std::string& path, const GameRecord& rec, std::string& error);

bool read_whole_file(const std::string& path, std::string& data, std::string& error);
