#include "knowledge/gamedb_source.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/board.h"
#include "core/log.h"
#include "records/record_io.h"
#include "records/sgf.h"

namespace fs = std::filesystem;

std::vector<std::string_view> split_sgf_collection(std::string_view data) {
  std::vector<std::string_view> games;
  int depth = 0;
  size_t start = 0;
  bool in_value = false;
  for (size_t i = 0; i < data.size(); i++) {
    const char c = data[i];
    if (in_value) {
      if (c == '\\') i++;
      else if (c == ']') in_value = false;
      continue;
    }
    if (c == '[') {
      in_value = true;
    } else if (c == '(') {
      if (depth++ == 0) start = i;
    } else if (c == ')' && depth > 0) {
      if (--depth == 0) games.push_back(data.substr(start, i + 1 - start));
    }
  }
  return games;
}

namespace {

bool ends_with(const std::string& s, const char* tail) {
  const size_t n = std::char_traits<char>::length(tail);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; i++) {
    if (std::tolower((unsigned char)s[s.size() - n + i]) != tail[i]) return false;
  }
  return true;
}

bool read_xz(const std::string& path, std::string& data) {
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  FILE* p = popen(("xz -dc " + quoted).c_str(), "r");
  if (!p) return false;
  char buf[1 << 16];
  size_t n;
  data.clear();
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) data.append(buf, n);
  return pclose(p) == 0;
}

void list_files(const std::string& source, std::vector<std::string>& files) {
  std::error_code ec;
  if (!fs::is_directory(source, ec)) {
    files.push_back(source);
    return;
  }
  std::vector<std::string> found;
  for (auto it = fs::recursive_directory_iterator(source, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file(ec)) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
}

}  // namespace

long for_each_source_game(const std::vector<std::string>& sources,
                          const std::function<bool(const GameRecord& rec, long index)>& visit) {
  std::vector<std::string> files;
  for (const std::string& s : sources) list_files(s, files);
  static GameRecord rec;
  long index = 0;
  std::string data, error;
  for (const std::string& path : files) {
    const bool xz = ends_with(path, ".sgf.xz");
    const RecordFormat format = xz ? FORMAT_SGF : choose_reader(path);
    if (format == FORMAT_NONE || format == FORMAT_UGZ) continue;
    if (!(xz ? read_xz(path, data) : read_whole_file(path, data, error))) {
      PRT("cannot read %s\n", path.c_str());
      continue;
    }
    if (format == FORMAT_SGF) {
      for (std::string_view game : split_sgf_collection(data)) {
        rec.reset();
        read_sgf(game, rec);
        if (!visit(rec, index++)) return index;
      }
    } else {
      if (read_record(format, data, rec, false) == LOAD_OK || rec.main.move_count > 0) {
        if (!visit(rec, index++)) return index;
      }
    }
  }
  return index;
}

int main_line_moves(const Figure& f, int* z, int* color, int max) {
  const int n = std::min<int>(f.move_count, max);
  for (int i = 0; i < n; i++) {
    z[i] = f.moves[i].z ? z_from_zc(f.moves[i].z) : 0;
    color[i] = f.moves[i].color;
  }
  return n;
}

bool has_setup_stones(const Figure& f) {
  for (int p = 0; p < FIGURE_POINTS; p++) {
    if (f.initial_board[p] == BLACK || f.initial_board[p] == WHITE) return true;
  }
  return false;
}
