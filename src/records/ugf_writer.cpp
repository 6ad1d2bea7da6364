#include <initializer_list>
#include <string>
#include <string_view>

#include "records/sjis.h"
#include "records/ugf.h"

const char* const UGF_PHOTO_NAMES[PHOTO_NUM] = {"photo_player_black", "photo_player_white", "photo_commentator",
                                                "photo_icon"};

namespace {

const char* const kPhotoKeys[PHOTO_NUM] = {"PhotoB", "PhotoW", "PhotoC", "AdvertisingIcon"};

char coordinate_letter(int n) { return (char)('@' + n); }
char color_word(int color) { return color == 2 ? 'W' : 'B'; }

void write_stones_and_moves(const Figure& f, SgfBuf& buf) {
  for (int y = 1; y <= f.b_size; y++) {
    for (int x = 1; x <= f.b_size; x++) {
      int c = f.initial_board[figure_z(x, y)];
      if (c != 1 && c != 2) continue;
      buf.append("%c%c,%c1,0,0\r\n", coordinate_letter(x), coordinate_letter(y), color_word(c));
    }
  }
  for (int i = 0; i < f.move_count; i++) {
    const FigureMove& m = f.moves[i];
    if (m.z == 0) buf.append("YA,");
    else buf.append("%c%c,", coordinate_letter(figure_x(m.z)), coordinate_letter(figure_y(m.z)));
    buf.append("%c1,%d,0\r\n", color_word(m.color), i + 1);
  }
}

// Each line of a text (ended by CR LF, LF or a lone CR, which the reader
// would drop) ends in CR LF; a line that looks like a control line is escaped.
void write_text_lines(const std::string& text, SgfBuf& buf) {
  std::string out;
  out.reserve(text.size() + 16);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (ugf_control_text(line)) out.push_back(' ');
    out.append(line);
    out += "\r\n";
    start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
  }
  buf.append_raw(out);
}

// "Key=value,value" and CR LF. A line end inside a value would start a line
// the reader takes for a key, a section or data: it becomes a blank.
void header_line(SgfBuf& buf, const char* key, std::initializer_list<std::string_view> values) {
  std::string line = std::string(key) + "=";
  bool first = true;
  for (std::string_view v : values) {
    if (!first) line.push_back(',');
    first = false;
    for (char c : v) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  }
  line += "\r\n";
  buf.append_raw(line);
}

}  // namespace

void write_ugf(const GameRecord& rec, SgfBuf& buf) {
  const Figure& m = rec.main;
  const GameInfo& g = m.info;
  buf.empty();
  buf.append("[Header]\r\nVer=UGF3,200\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE,READ_WRITE\r\nCode=\r\n");
  header_line(buf, "Title", {g.title[0], g.title[1], g.title[2]});
  header_line(buf, "Place", {g.place});
  header_line(buf, "Date", {g.date[0], g.date[1], g.date[2], g.date[3]});
  const char* rule = g.rule == "Japanese" ? "JPN" : g.rule == "Chinese" ? "CHN" : "Unknown";
  buf.append("Rule=%s\r\nSize=%d\r\nHdcp=%d,%.1f\r\n", rule, m.b_size, g.nHand, g.komi);
  header_line(buf, "Ptime", {g.time[0], g.time[1], g.time[2], g.time[3]});
  header_line(buf, "Winner", {g.winner[0], g.winner[1]});
  header_line(buf, "Writer", {g.writer});
  header_line(buf, "Copyright", {g.copyright});
  buf.append("CoordinateType=JPN\r\n");
  header_line(buf, "Comment", {g.comment});
  header_line(buf, "PlayerB", {g.black[0], g.black[1], g.black[2]});
  header_line(buf, "PlayerW", {g.white[0], g.white[1], g.white[2]});

  buf.append("[Remote]\r\n");
  for (int i = 0; i < PHOTO_NUM; i++) {
    if (!g.photos[i].empty()) buf.append("%s=%s\r\n", kPhotoKeys[i], UGF_PHOTO_NAMES[i]);
  }
  buf.append("[Files]\r\n");
  for (int i = 0; i < PHOTO_NUM; i++) {
    if (g.photos[i].empty()) continue;
    static const char kHex[] = "0123456789ABCDEF";
    std::string line = std::string(UGF_PHOTO_NAMES[i]) + "=";
    for (unsigned char c : g.photos[i]) line.push_back(kHex[c >> 4]), line.push_back(kHex[c & 15]);
    line += "\r\n";
    buf.append_raw(line);
  }

  buf.append("[Data]\r\n");
  write_stones_and_moves(m, buf);

  buf.append("[Figure]\r\n");
  static const std::string commentary = utf8_to_cp932("解説譜");
  int k = 0;
  for (const Figure& f : rec.figures) {
    if (f.anchor_move < 0) continue;
    buf.append(".Fig,%d,1,1,%d,%d,%s,%d,0\r\n", f.anchor_move, m.b_size, m.b_size, commentary.c_str(), ++k);
    write_stones_and_moves(f, buf);
    buf.append(".Text\r\n");
    if (!f.text.empty()) write_text_lines(f.text, buf);
    for (int y = 1; y <= f.b_size; y++) {
      for (int x = 1; x <= f.b_size; x++) {
        int label = f.labels[figure_z(x, y)];
        if (label == 0) continue;
        int hi = (label >> 8) & 0xFF, lo = label & 0xFF;
        buf.append(".#,%d,%d,%c%c\r\n", x, y, hi ? hi : ' ', lo ? lo : 'A');
      }
    }
    buf.append(".EndText\r\n.EndFig\r\n");
  }
}
