#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/log.h"
#include "records/line_reader.h"
#include "records/sjis.h"
#include "records/text_format.h"

namespace {

bool starts_with(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

// The name after a keyword found in the line; false when it is not there.
bool name_after(std::string_view line, std::string_view key, std::string& name) {
  size_t p = line.find(key);
  if (p == std::string_view::npos) return false;
  name = trimmed(line.substr(p + key.size()));
  return true;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int read_text(std::string_view data, GameRecord& rec) {
  static const std::string black_key = utf8_to_cp932("黒："), white_key = utf8_to_cp932("白：");
  Figure& m = rec.main;
  GameInfo& info = m.info;
  LineReader lines(data);
  std::string_view line;
  size_t moves_start = std::string_view::npos;
  size_t pos = 0;
  while (lines.next(line)) {
    // Where the next line begins in the data (lines end at LF).
    size_t lf = data.find('\n', pos);
    size_t next = lf == std::string_view::npos ? data.size() : lf + 1;
    if (starts_with(line, "MOV")) {
      moves_start = pos + 3;
      break;
    }
    pos = next;
    std::string name;
    if (starts_with(line, "INT")) {
      int size = 19, handicap = 0;
      std::sscanf(std::string(line.substr(3)).c_str(), "%d %d", &size, &handicap);
      m.set_size(size >= 2 && size <= FIGURE_SIZE_MAX ? size : FIGURE_SIZE_MAX);
      if (handicap >= 2 && handicap <= 9) m.place_handicap(handicap);
    } else if (name_after(line, "PLAYER_BLACK", name)) {
      info.black[0] = name;
    } else if (name_after(line, "PLAYER_WHITE", name)) {
      info.white[0] = name;
    } else if (name_after(line, black_key, name) || name_after(line, "BLACK:", name)) {
      info.black[0] = name;
    } else if (name_after(line, white_key, name) || name_after(line, "WHITE:", name)) {
      info.white[0] = name;
    }
  }
  if (moves_start == std::string_view::npos) {
    PRT("EOF - 読み込み失敗。MOV が見つからない\n");
    return 0;
  }
  m.tesuu = 0;
  int color = m.side_to_move();
  for (size_t i = moves_start; i < data.size(); i++) {
    char c = data[i];
    if (c == '-') break;
    if (c < 'A' || c > 'T') continue;
    if (i + 2 >= data.size() || !is_digit(data[i + 1]) || !is_digit(data[i + 2])) continue;
    int x = c - 'A' + 1 - (c > 'I' ? 1 : 0);
    int y = (data[i + 1] - '0') * 10 + (data[i + 2] - '0');
    i += 2;
    int z;
    if (x == 1 && y == 0) {
      z = 0;
    } else if (m.on_board(x, y)) {
      z = figure_z(x, y);
    } else {
      PRT("(x,y)=%d,%d\n", x, y);
      break;
    }
    m.append_move(z, color);
    color = 3 - color;
  }
  return 0;
}

int read_ngf(std::string_view data, GameRecord& rec) {
  static const std::string black = utf8_to_cp932("黒"), white = utf8_to_cp932("白");
  static const std::string resign = utf8_to_cp932("中押し"), points = utf8_to_cp932("目");
  Figure& m = rec.main;
  GameInfo& info = m.info;
  LineReader lines(data);
  std::string_view line;
  for (int n = 0;; n++) {
    if (!lines.next(line)) {
      PRT("EOF\n");
      return 0;
    }
    std::string text = trimmed(line);
    switch (n) {
      case 0: info.title[1] = text; break;
      case 1: {
        int size = std::atoi(text.c_str());
        m.set_size(size >= 2 && size <= FIGURE_SIZE_MAX ? size : FIGURE_SIZE_MAX);
        break;
      }
      case 2: info.white[0] = text; break;
      case 3: info.black[0] = text; break;
      case 5: {
        int h = std::atoi(text.c_str());
        if (h >= 2 && h <= 9) m.place_handicap(h, true);
        break;
      }
      case 7:
        info.komi = std::atof(text.c_str());
        if (info.nHand == 0) info.komi += 0.5;
        info.komi_read = true;
        break;
      case 8: info.date[0] = text; break;
      case 10: {
        info.winner[0] = std::string(line);
        std::string kind;
        if (starts_with(line, black)) kind = "B";
        else if (starts_with(line, white)) kind = "W";
        if (kind.empty()) break;
        std::string_view rest = line.substr(black.size());
        if (starts_with(rest, resign)) {
          info.winner[0] = kind + "+R";
          info.winner[1] = "C";
        } else if (rest.find(points) != std::string_view::npos) {
          char d[32];
          std::snprintf(d, sizeof d, "%.1f", std::atof(std::string(rest).c_str()));
          info.winner[0] = kind + "+";
          info.winner[1] = d;
        } else {
          info.winner[0] = kind;
        }
        break;
      }
      default:
        if (n < 12) break;
        if (line.size() < 9) {
          PRT("short\n");
          return 0;
        }
        int color = line[4] == 'B' ? 1 : line[4] == 'W' ? 2 : 0;
        int x = line[5] - 'A', y = line[6] - 'A';
        if (!m.on_board(x, y)) {
          PRT("(x,y)=%d,%d\n", x, y);
          return 0;
        }
        if (color == 0) {
          PRT("col=0\n");
          return 0;
        }
        m.append_move(figure_z(x, y), color);
    }
  }
}
