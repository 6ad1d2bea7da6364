#include "records/record_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/log.h"
#include "records/sgf.h"
#include "records/text_format.h"
#include "records/ugf.h"

namespace {

std::string lower_extension(const std::string& name) {
  size_t slash = name.find_last_of('/');
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = (char)std::tolower((unsigned char)c);
  return ext;
}

}  // namespace

RecordFormat choose_reader(const std::string& file_name) {
  std::string ext = lower_extension(file_name);
  // Several Go collections ship their SGF records as ".mgt".
  if (ext == "sgf" || ext == "mgt") return FORMAT_SGF;
  if (ext == "ugf" || ext == "ugi") return FORMAT_UGF;
  if (ext == "ig1") return FORMAT_TEXT;
  if (ext == "ngf") return FORMAT_NGF;
  if (ext == "ugz") return FORMAT_UGZ;
  return FORMAT_NONE;
}

RecordFormat choose_writer(const std::string& file_name) {
  std::string ext = lower_extension(file_name);
  if (ext == "ugf") return FORMAT_UGF;
  // Saving an opened ".mgt" file back must keep it SGF for the programs that made it.
  if (ext == "sgf" || ext == "mgt") return FORMAT_SGF;
  return FORMAT_TEXT;
}

int read_record(RecordFormat format, std::string_view data, GameRecord& rec, bool last_move_load) {
  rec.reset();
  bool complete = true;
  switch (format) {
    case FORMAT_SGF: complete = read_sgf(data, rec); break;
    case FORMAT_UGF: complete = read_ugf(data, rec) == 1; break;
    case FORMAT_TEXT: read_text(data, rec); break;
    case FORMAT_NGF: read_ngf(data, rec); break;
    default: return LOAD_NOT_RECORD;
  }
  complete_load(rec, last_move_load);
  if (format == FORMAT_UGF) PRT("読込手数=%d\n", rec.main.move_count);
  return complete ? LOAD_OK : LOAD_STOPPED;
}

bool read_whole_file(const std::string& path, std::string& data, std::string& error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    error = std::strerror(errno);
    return false;
  }
  std::string out;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, fp)) > 0) out.append(chunk, n);
  bool bad = std::ferror(fp);
  std::fclose(fp);
  if (bad) {
    error = "read error";
    return false;
  }
  data.swap(out);
  return true;
}

int load_record_file(const std::string& path, GameRecord& rec, bool last_move_load, std::string& error) {
  RecordFormat format = choose_reader(path);
  if (format == FORMAT_NONE || format == FORMAT_UGZ) {
    error = format == FORMAT_UGZ ? "an archive, not a record" : "not a record file (unknown extension)";
    return LOAD_NOT_RECORD;
  }
  std::string data;
  if (!read_whole_file(path, data, error)) return LOAD_NO_FILE;
  int result = read_record(format, data, rec, last_move_load);
  if (result == LOAD_STOPPED) error = "the reader stopped on an error; the record holds what was read before it";
  return result;
}

bool write_record(RecordFormat format, const GameRecord& rec, SgfBuf& buf) {
  switch (format) {
    case FORMAT_UGF: write_ugf(rec, buf); break;
    case FORMAT_SGF: write_sgf(rec, buf); break;
    default: write_text(rec, buf); break;
  }
  return !buf.overflow;
}

bool replace_file(const std::string& path, std::string_view bytes, std::string& error) {
  std::string temp = path + ".tmpXXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = std::string("cannot create a temporary file: ") + std::strerror(errno);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;
    done += (size_t)w;
  }
  int saved_errno = errno;
  // mkstemp makes the file private: keep the old file's mode, else an ordinary document's.
  struct stat old;
  if (::stat(path.c_str(), &old) == 0) {
    fchmod(fd, old.st_mode & 07777);
  } else {
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  bool ok = done == bytes.size() && fsync(fd) == 0;
  if (!ok && done == bytes.size()) saved_errno = errno;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    saved_errno = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    error = std::string("cannot write the file: ") + std::strerror(saved_errno);
  }
  return ok;
}

bool save_record_file(const std::string& path, const GameRecord& rec, std::string& error) {
  SgfBuf buf;
  if (!write_record(choose_writer(path), rec, buf)) {
    error = "the record is too large for the output buffer; nothing was written";
    return false;
  }
  return replace_file(path, buf.text, error);
}
