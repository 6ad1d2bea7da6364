#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/log.h"
#include "records/line_reader.h"
#include "records/sjis.h"
#include "records/ugf.h"

namespace {

constexpr int PHOTO_LINE_MIN = 256;

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Splits a key's value at commas; the last field loses a trailing line feed.
std::vector<std::string> fields(std::string_view value, int keep) {
  std::vector<std::string> out(keep);
  int i = 0;
  size_t start = 0;
  while (i < keep) {
    size_t comma = value.find(',', start);
    std::string_view f = value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    out[i++] = std::string(f);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string decode_hex(std::string_view digits) {
  std::string out;
  out.reserve(digits.size() / 2);
  for (size_t i = 0; i + 1 < digits.size(); i += 2) {
    int hi = hex_digit(digits[i]), lo = hex_digit(digits[i + 1]);
    if (hi < 0 || lo < 0) break;
    out.push_back((char)(hi * 16 + lo));
  }
  return out;
}

struct UgfReader {
  GameRecord& rec;
  bool igs_rows = false;
  // OTHER: a section this reader does not know (record servers add review
  // sections); its lines are neither keys nor data.
  enum { HEADER, MAIN, FIGURES, OTHER } section = HEADER;
  bool photo_data = false;
  bool in_text = false;
  int figure = -1;  // index of the open figure

  Figure& main() { return rec.main; }
  int row(int y) const { return igs_rows ? rec.main.b_size - y + 1 : y; }

  bool header_key(std::string_view line);
  bool photo_line(std::string_view line);
  void figure_text_line(std::string_view line);
  bool data_line(std::string_view line);
};

bool UgfReader::header_key(std::string_view line) {
  GameInfo& info = main().info;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  std::string_view key = line.substr(0, eq + 1), value = line.substr(eq + 1);
  auto set = [&](std::string* dst, int keep) {
    std::vector<std::string> f = fields(value, keep);
    for (int i = 0; i < keep; i++) dst[i] = f[i];
  };
  if (key == "PlayerB=" || key == "BMemb1=") set(info.black, 3);
  else if (key == "PlayerW=" || key == "WMemb1=") set(info.white, 3);
  else if (key == "Place=") set(&info.place, 1);
  else if (key == "Title=") set(info.title, 3);
  else if (key == "Date=") set(info.date, 4);
  else if (key == "Ptime=") set(info.time, 4);
  else if (key == "Writer=") set(&info.writer, 1);
  else if (key == "Copyright=") set(&info.copyright, 1);
  else if (key == "Comment=") set(&info.comment, 1);
  else if (key == "Rule=") {
    info.rule = "Unknown";
    info.rule_read = true;
    if (value.find("JPN") != std::string_view::npos) info.rule = "Japanese";
    if (value.find("CHN") != std::string_view::npos) info.rule = "Chinese";
  } else if (key == "CoordinateType=") {
    if (starts_with(value, "IGS")) igs_rows = true;
  } else if (key == "Size=") {
    int n = std::atoi(std::string(value).c_str());
    main().set_size(n >= 2 && n <= FIGURE_SIZE_MAX ? n : FIGURE_SIZE_MAX);
  } else if (key == "Hdcp=") {
    std::string v(value);
    info.nHand = std::atoi(v.c_str());
    size_t comma = v.find(',');
    if (comma != std::string::npos) {
      info.komi = std::atof(v.c_str() + comma + 1);
      info.komi_read = true;
    }
  } else if (key == "Winner=") {
    set(info.winner, 2);
    std::string& d = info.winner[1];
    size_t p;
    if ((p = d.find(".50")) != std::string::npos) d.replace(p, 3, ".5");
    if ((p = d.find(".00")) != std::string::npos) d.replace(p, 3, ".0");
  } else if (key == "PhotoB=") set(&info.photo_names[PHOTO_BLACK], 1);
  else if (key == "PhotoW=") set(&info.photo_names[PHOTO_WHITE], 1);
  else if (key == "PhotoC=") set(&info.photo_names[PHOTO_COMMENTATOR], 1);
  else if (key == "AdvertisingIcon=") set(&info.photo_names[PHOTO_ICON], 1);
  else return false;
  return true;
}

bool UgfReader::photo_line(std::string_view line) {
  if ((int)line.size() < PHOTO_LINE_MIN) return false;
  GameInfo& info = main().info;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return true;
  for (int i = 0; i < PHOTO_NUM; i++) {
    const std::string& name = info.photo_names[i];
    if (name.empty() || !starts_with(line, name)) continue;
    std::string_view digits = line.substr(eq + 1);
    size_t end = digits.find_first_of(" \r");
    info.photos[i] = decode_hex(digits.substr(0, end));
    break;
  }
  return true;
}

void UgfReader::figure_text_line(std::string_view line) {
  Figure& f = rec.figures[figure];
  if (!starts_with(line, ".#,")) {
    if (starts_with(line, " ") && ugf_control_text(line)) line.remove_prefix(1);
    f.text.append(line);
    f.text.push_back('\n');
    return;
  }
  // .#,column,row,label
  size_t c1 = 2, c2 = line.find(',', c1 + 1);
  if (c2 == std::string_view::npos) return;
  size_t c3 = line.find(',', c2 + 1);
  if (c3 == std::string_view::npos) return;
  int x = std::atoi(std::string(line.substr(c1 + 1, c2 - c1 - 1)).c_str());
  int y = row(std::atoi(std::string(line.substr(c2 + 1, c3 - c2 - 1)).c_str()));
  std::string_view bytes = line.substr(c3 + 1);
  if (bytes.empty() || !f.on_board(x, y)) return;
  int label;
  // The writer pads a one-byte label with a blank in front.
  if (bytes.size() >= 2 && bytes[0] != ' ') label = (unsigned char)bytes[0] * 256 + (unsigned char)bytes[1];
  else label = (unsigned char)bytes[bytes.size() >= 2 ? 1 : 0];
  f.labels[figure_z(x, y)] = label;
}

bool UgfReader::data_line(std::string_view line) {
  if (section == MAIN && line.find(",MK,0,0") != std::string_view::npos) return true;
  if (line.size() < 6) return true;
  Figure& f = section == MAIN ? main() : rec.figures[figure];
  int z = 0, x = 0, y = 0;
  if (!starts_with(line, "YA")) {
    x = line[0] - '@';
    y = row(line[1] - '@');
    if (!f.on_board(x, y)) {
      PRT("(x,y)=%d,%d\n", x, y);
      return false;
    }
    z = figure_z(x, y);
  }
  int color = 0;
  if (line[2] == ',') color = line[3] == 'B' ? 1 : line[3] == 'W' ? 2 : 0;
  int number = 0, label = 0;
  if (line[5] != ',') {
    number = 0;
  } else if (line.size() >= 9 && line[8] == ',' && is_sjis_lead((unsigned char)line[6])) {
    label = (unsigned char)line[6] * 256 + (unsigned char)line[7];
  } else {
    number = std::atoi(std::string(line.substr(6, 12)).c_str());
  }
  if (color == 0) {
    PRT("col=0,%c\n", line[3]);
    return false;
  }
  if (section == MAIN) {
    if (label) return true;
    if (number == 0) {
      if (z == 0) return true;
      f.initial_board[z] = color;
      f.board[z] = color;
      PRT("置石z=%04x,col=%d\n", z_from_zc(z), color);
    } else {
      f.append_move(z, color);
    }
    return true;
  }
  if (number == 0) {
    if (z == 0) return true;
    if (label) f.labels[z] = label;
    else f.initial_board[z] = f.board[z] = color;
  } else if (number > 0 && number < FIGURE_MOVES_MAX) {
    f.append_move(z, color);
    if (number < f.first_number) f.first_number = number;
  } else {
    PRT("Err! moves=%d\n", number);
  }
  return true;
}

}  // namespace

bool ugf_control_text(std::string_view line) {
  size_t blanks = line.find_first_not_of(' ');
  if (blanks == std::string_view::npos) return false;
  line.remove_prefix(blanks);
  for (std::string_view word : {".Fig", ".EndFig", ".Text", ".EndText", ".#"}) {
    if (starts_with(line, word)) return true;
  }
  return false;
}

int read_ugf(std::string_view data, GameRecord& rec) {
  UgfReader r{rec};
  LineReader lines(data);
  std::string_view line;
  while (lines.next(line)) {
    if (r.photo_data) {
      if (r.photo_line(line)) continue;
      r.photo_data = false;
    }
    if (r.in_text) {
      if (starts_with(line, ".EndText")) r.in_text = false;
      else r.figure_text_line(line);
      continue;
    }
    if (starts_with(line, "[Files]")) {
      r.photo_data = true;
      continue;
    }
    if (starts_with(line, "[Data]")) {
      r.section = UgfReader::MAIN;
      continue;
    }
    if (starts_with(line, "[Figure]") || starts_with(line, "[Comment]")) {
      r.section = UgfReader::FIGURES;
      r.figure = -1;
      continue;
    }
    if (starts_with(line, "[Header]") || starts_with(line, "[Remote]")) {
      r.section = UgfReader::HEADER;
      continue;
    }
    if (starts_with(line, "[") && line.find(']') != std::string_view::npos) {
      r.section = UgfReader::OTHER;
      r.figure = -1;
      continue;
    }
    if (r.section == UgfReader::OTHER) continue;
    if (r.header_key(line)) continue;
    if (r.section == UgfReader::FIGURES) {
      if (starts_with(line, ".Fig")) {
        int anchor = line.size() > 5 ? std::atoi(std::string(line.substr(5, 12)).c_str()) : 0;
        rec.figures.emplace_back();
        Figure& f = rec.figures.back();
        f.copy_info(rec.main);
        f.figure_from_main(rec.main, anchor);
        f.anchor_move = anchor;
        r.figure = (int)rec.figures.size() - 1;
        continue;
      }
      if (r.figure < 0) continue;
      if (starts_with(line, ".EndFig")) {
        rec.figures[r.figure].goto_move(0);
        r.figure = -1;
        continue;
      }
      if (starts_with(line, ".Text")) {
        r.in_text = true;
        continue;
      }
    }
    if (r.section == UgfReader::HEADER || (r.section == UgfReader::FIGURES && r.figure < 0)) continue;
    if (!r.data_line(line)) return 0;
  }
  PRT("終了\n");
  return 1;
}
