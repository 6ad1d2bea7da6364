#include "records/convert.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "records/record_io.h"
#include "records/ugz_import.h"

namespace {

int fail(const std::string& file, const std::string& reason) {
  std::fprintf(stderr, "ranvel: %s: %s\n", file.c_str(), reason.c_str());
  return 1;
}

int import_archive(const std::string& src, const std::string& folder) {
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return fail(folder, "not a folder");
  ImportReport r = import_ugz(src, folder);
  if (!r.readable) return fail(src, "cannot read the archive");
  std::fprintf(stderr, "%s\n", r.text.c_str());
  int status = 0;
  for (const ImportEntry& e : r.entries) {
    if (!e.error.empty()) status = fail(src, "member " + e.name + ": " + e.error);
  }
  return status;
}

}  // namespace

int convert_main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ranvel --convert SRC DST | ranvel --convert ARCHIVE.ugz FOLDER\n");
    return 2;
  }
  std::string src = argv[2], dst = argv[3];
  RecordFormat format = choose_reader(src);
  if (format == FORMAT_UGZ) return import_archive(src, dst);
  if (format == FORMAT_NONE) return fail(src, "not a record file (unknown extension)");
  std::string data, error;
  if (!read_whole_file(src, data, error)) return fail(src, error);
  static GameRecord rec;
  if (read_record(format, data, rec, false) != LOAD_OK) return fail(src, "the record is damaged; reading stopped early");
  if (!save_record_file(dst, rec, error)) return fail(dst, error);
  return 0;
}
