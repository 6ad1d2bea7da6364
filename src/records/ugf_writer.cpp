#include <string>

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

// Line ends of a text become CR LF, and the text ends with one.
void write_text_lines(const std::string& text, SgfBuf& buf) {
  std::string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n') out += "\r\n";
    else out.push_back(text[i]);
  }
  if (text.back() != '\n') out += "\r\n";
  buf.append_raw(out);
}

}  // namespace

void write_ugf(const GameRecord& rec, SgfBuf& buf) {
  const Figure& m = rec.main;
  const GameInfo& g = m.info;
  buf.empty();
  buf.append("[Header]\r\nVer=UGF3,200\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE,READ_WRITE\r\nCode=\r\n");
  buf.append("Title=%s,%s,%s\r\n", g.title[0].c_str(), g.title[1].c_str(), g.title[2].c_str());
  buf.append("Place=%s\r\n", g.place.c_str());
  buf.append("Date=%s,%s,%s,%s\r\n", g.date[0].c_str(), g.date[1].c_str(), g.date[2].c_str(), g.date[3].c_str());
  const char* rule = g.rule == "Japanese" ? "JPN" : g.rule == "Chinese" ? "CHN" : "Unknown";
  buf.append("Rule=%s\r\nSize=%d\r\nHdcp=%d,%.1f\r\n", rule, m.b_size, g.nHand, g.komi);
  buf.append("Ptime=%s,%s,%s,%s\r\n", g.time[0].c_str(), g.time[1].c_str(), g.time[2].c_str(), g.time[3].c_str());
  buf.append("Winner=%s,%s\r\n", g.winner[0].c_str(), g.winner[1].c_str());
  buf.append("Writer=%s\r\nCopyright=%s\r\nCoordinateType=JPN\r\n", g.writer.c_str(), g.copyright.c_str());
  buf.append("Comment=%s\r\n", g.comment.c_str());
  buf.append("PlayerB=%s,%s,%s\r\n", g.black[0].c_str(), g.black[1].c_str(), g.black[2].c_str());
  buf.append("PlayerW=%s,%s,%s\r\n", g.white[0].c_str(), g.white[1].c_str(), g.white[2].c_str());

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
