#include "editor/clipboard_text.h"

#include <cstring>

#include "core/log.h"
#include "records/record_io.h"
#include "records/sjis.h"

namespace {

const char* const column_labels[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｊ", "Ｋ",
                                     "Ｌ", "Ｍ", "Ｎ", "Ｏ", "Ｐ", "Ｑ", "Ｒ", "Ｓ", "Ｔ"};
const char* const row_labels[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９", "10",
                                  "11", "12", "13", "14", "15", "16", "17", "18", "19"};

// Empty points by their place: top, middle, bottom row; left, inside, right column.
const char* const empty_glyphs[3][3] = {{"┌", "┬", "┐"}, {"├", "┼", "┤"}, {"└", "┴", "┘"}};

// Board glyphs a pasted diagram may use: black first, then white, then empty points.
const char* const paste_glyphs[] = {"●", "◆", "★", "○", "◇", "☆", "◯", "┏", "┯", "┓", "┠",
                                    "┼", "┨", "┗", "┷", "┛", "・", "－", "＋", "｜", "－", "＋",
                                    "┌", "┬", "┐", "├", "╋", "┤", "└", "┴", "┘"};
constexpr int PASTE_BLACK_END = 3, PASTE_WHITE_END = 7;

std::string sjis(const char* utf8) { return utf8_to_cp932(utf8); }

int place(int i, int n) { return i == 1 ? 0 : i == n ? 2 : 1; }

// The colour a two-byte Shift_JIS glyph stands for, or -1 when it is no board glyph.
int glyph_color(std::string_view two) {
  static std::string table[std::size(paste_glyphs)];
  if (table[0].empty())
    for (size_t i = 0; i < std::size(paste_glyphs); i++) table[i] = sjis(paste_glyphs[i]);
  for (size_t i = 0; i < std::size(paste_glyphs); i++)
    if (table[i] == two) return i < PASTE_BLACK_END ? 1 : i < PASTE_WHITE_END ? 2 : 0;
  return -1;
}

// The longest run of board glyphs in a line, as colours.
std::vector<int> glyph_run(std::string_view line) {
  std::vector<int> best, run;
  size_t i = 0;
  while (i < line.size()) {
    unsigned char c = line[i];
    int color = -1;
    size_t width = 1;
    if (is_sjis_lead(c) && i + 1 < line.size()) {
      width = 2;
      color = glyph_color(line.substr(i, 2));
    }
    if (color >= 0) {
      run.push_back(color);
    } else {
      if (run.size() > best.size()) best = run;
      run.clear();
    }
    i += width;
  }
  return run.size() > best.size() ? run : best;
}

bool full_line(size_t n) { return n == 9 || n == 13 || n == 19; }

// The clipboard is Unicode whatever an SGF text's CA says: the reader is told so.
std::string sgf_as_utf8(const QString& text) {
  std::string data = text.toStdString();
  size_t p = 0;
  while ((p = data.find("CA[", p)) != std::string::npos) {
    if (p > 0 && std::isupper((unsigned char)data[p - 1])) {
      p += 3;
      continue;
    }
    size_t end = data.find(']', p + 3);
    if (end != std::string::npos) data.replace(p + 3, end - p - 3, "UTF-8");
    break;
  }
  return data;
}

}  // namespace

std::string position_diagram(const Figure& f) {
  const int n = std::clamp(f.b_size, 1, FIGURE_SIZE_MAX);
  std::string out = sjis(f.tesuu % 2 == 0 ? "黒" : "白");
  out += std::to_string(f.tesuu) + sjis("手");
  int last = 0;
  if (f.tesuu >= 1 && f.tesuu <= f.move_count) {
    last = f.moves[f.tesuu - 1].z;
    if (last > 0 && f.on_board(figure_x(last), figure_y(last)))
      out += " " + sjis(column_labels[figure_x(last) - 1]) + "-" + sjis(row_labels[figure_y(last) - 1]) + " ";
    else
      out += " PASS ";
  }
  char prisoners[64];
  std::snprintf(prisoners, sizeof prisoners, sjis("まで  ハマ 黒%d子  白%d子").c_str(), f.prisoners[0],
                f.prisoners[1]);
  out += prisoners;
  out += "\r\n  ";
  for (int x = 1; x <= n; x++) out += sjis(column_labels[x - 1]);
  out += "\r\n";
  for (int y = 1; y <= n; y++) {
    out += sjis(row_labels[y - 1]);
    for (int x = 1; x <= n; x++) {
      int z = figure_z(x, y);
      switch (f.board[z]) {
        case 1: out += sjis(z == last ? "★" : "●"); break;
        case 2: out += sjis(z == last ? "☆" : "○"); break;
        default: out += sjis(empty_glyphs[place(y, n)][place(x, n)]);
      }
    }
    out += "\r\n";
  }
  if (out.size() > DIAGRAM_TEXT_MAX - 1) out.resize(DIAGRAM_TEXT_MAX - 1);
  return out;
}

QString position_clipboard_text(const Figure& f) {
  QString text = QString::fromStdString(cp932_to_utf8(position_diagram(f)));
  PRT("クリップボードに盤面(手数=%d)を出力しました。\n", f.tesuu);
  return text;
}

QString sgf_clipboard_text(const GameRecord& rec) {
  SgfBuf buf;
  write_record(FORMAT_SGF, rec, buf);
  return QString::fromStdString(cp932_to_utf8(buf.text));
}

PasteKind paste_kind(std::string_view text) {
  size_t open = text.find('(');
  if (open != std::string_view::npos) {
    size_t i = open + 1;
    while (i < text.size() && (unsigned char)text[i] <= ' ') i++;
    if (i < text.size() && text[i] == ';') return PASTE_SGF;
  }
  if (text.find("Ver=UGF") != std::string_view::npos && text.find("[Header]") != std::string_view::npos)
    return PASTE_UGF;
  return PASTE_DIAGRAM;
}

bool read_diagram(std::string_view cp932, GameRecord& rec) {
  std::vector<std::vector<int>> rows;
  size_t start = 0;
  while (start <= cp932.size() && rows.size() < FIGURE_SIZE_MAX) {
    size_t end = cp932.find('\n', start);
    if (end == std::string_view::npos) end = cp932.size();
    std::vector<int> run = glyph_run(cp932.substr(start, end - start));
    if (rows.empty()) {
      if (full_line(run.size())) rows.push_back(run);
    } else if (run.size() == rows[0].size()) {
      rows.push_back(run);
      if (rows.size() == rows[0].size()) break;
    } else {
      break;  // the diagram ends at the first line of another width
    }
    start = end + 1;
  }
  if (rows.empty()) return false;
  rec.reset();
  const int n = (int)rows[0].size();
  rec.main.set_size(n);
  for (size_t y = 0; y < rows.size(); y++)
    for (int x = 0; x < n; x++) rec.main.initial_board[figure_z(x + 1, (int)y + 1)] = rows[y][x];
  rec.main.goto_move(0);
  return true;
}

PasteKind read_pasted_record(const QString& text, GameRecord& rec, bool last_move_load) {
  std::string utf8 = text.toStdString();
  PRT("クリップボードから読み込み。バイト数=%d\n", (int)utf8.size());
  PasteKind kind = paste_kind(utf8);
  GameRecord read;
  switch (kind) {
    case PASTE_SGF:
      PRT("SGF file!\n");
      read_record(FORMAT_SGF, sgf_as_utf8(text), read, last_move_load);
      break;
    case PASTE_UGF: read_record(FORMAT_UGF, utf8_to_cp932(utf8), read, last_move_load); break;
    default:
      if (!read_diagram(utf8_to_cp932(utf8), read)) return PASTE_NONE;
      complete_load(read, last_move_load);
      break;
  }
  rec.copy_from(read);
  return kind;
}
