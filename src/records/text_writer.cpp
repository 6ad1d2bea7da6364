#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "records/sjis.h"
#include "records/text_format.h"

namespace {

constexpr int MOVES_PER_LINE = 19;

}  // namespace

char text_column_letter(int x) { return (char)('A' + x - 1 + (x >= 9 ? 1 : 0)); }

void write_text(const GameRecord& rec, SgfBuf& buf) {
  const Figure& m = rec.main;
  const GameInfo& g = m.info;
  static const std::string header = utf8_to_cp932("#--- 棋譜ファイル（PELLAMと互換性あり）---");
  static const std::string date_key = utf8_to_cp932("#対局日 ");
  buf.empty();
  buf.append("#COMMENT\r\n");
  buf.append_raw(header + "\r\n");
  std::string date = g.date[0];
  if (date.empty()) {
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    char d[32];
    std::snprintf(d, sizeof d, "%4d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    date = d;
  } else if (date.size() > 9) {
    if (date[4] == '/') date[4] = '-';
    if (date[7] == '/') date[7] = '-';
  }
  buf.append_raw(date_key + date + "\r\n");
  buf.append_raw("PLAYER_BLACK " + g.black[0] + "\r\n");
  buf.append_raw("PLAYER_WHITE " + g.white[0] + "\r\n");
  std::string result;
  char kind = g.winner[0].empty() ? 0 : g.winner[0][0];
  if (kind == 'B' || kind == 'W') {
    result = std::string(1, kind) + "+";
    const std::string& d = g.winner[1];
    if (!d.empty()) {
      if (d[0] == 'C') {
        result += "R";
      } else {
        char n[32];
        std::snprintf(n, sizeof n, "%.1f", std::atof(d.c_str()));
        result += n;
      }
    }
  }
  buf.append_raw("RESULT " + result + "\r\n");
  buf.append("INT %d %d\r\n", m.b_size, g.nHand);
  buf.append("MOV\r\n");
  for (int i = 0; i < m.move_count; i++) {
    int z = m.moves[i].z;
    if (z == 0) buf.append(" A00");
    else buf.append(" %c%02d", text_column_letter(figure_x(z)), figure_y(z));
    if ((i + 1) % MOVES_PER_LINE == 0) buf.append("\r\n");
  }
  buf.append(" -\r\n");
}
