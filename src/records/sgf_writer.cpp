#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "records/sgf.h"
#include "records/sjis.h"

namespace {

constexpr int MOVES_PER_LINE = 10;
constexpr int SETUP_POINTS_PER_LINE = 16;
constexpr const char* PROGRAM_NAME = "Ranvel Editor 1.04";

// SGF value text: "]" and "\" escaped; a Shift_JIS trail byte is copied as
// is, the way the reader takes it, and a lone lead byte at the end becomes "?".
std::string escaped(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size(); i++) {
    unsigned char c = (unsigned char)s[i];
    if (is_sjis_lead(c)) {
      // A lead byte cut off at the end would take the closing "]" as its trail.
      if (i + 1 == s.size()) {
        out.push_back('?');
        break;
      }
      out.push_back((char)c);
      out.push_back(s[++i]);
      continue;
    }
    if (c == ']' || c == '\\') out.push_back('\\');
    out.push_back((char)c);
  }
  return out;
}

std::string crlf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 16);
  for (size_t i = 0; i < s.size(); i++) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    if (s[i] == '\n') out += "\r\n";
    else out.push_back(s[i]);
  }
  return out;
}

std::string point(int zc) {
  char p[3] = {(char)('a' + figure_x(zc) - 1), (char)('a' + figure_y(zc) - 1), 0};
  return p;
}

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
  for (size_t p = 0; !from.empty() && (p = s.find(from, p)) != std::string::npos; p += to.size()) s.replace(p, from.size(), to);
  return s;
}

std::string result_value(const GameInfo& g) {
  std::string re;
  char kind = g.winner[0].empty() ? 0 : g.winner[0][0];
  if (kind == 'B') re = "B+";
  else if (kind == 'W') re = "W+";
  else if (kind == 'D') return "0";
  else return "";
  const std::string& d = g.winner[1];
  if (d.empty()) return re;
  if (d[0] == 'C') re += "R";
  else if (d[0] == 'T') re += "T";
  else if (d[0] == 'G' || d[0] == 'F') re += "F";
  else if ((d[0] >= '0' && d[0] <= '9') || d[0] == '.') {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", std::atof(d.c_str()));
    re += buf;
  }
  return re;
}

std::string date_value(const std::string& date) {
  std::string d = date;
  if (d.empty()) {
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return buf;
  }
  if (d.size() > 9) {
    if (d[4] == '/') d[4] = '-';
    if (d[7] == '/') d[7] = '-';
  }
  for (char& c : d) {
    if (c == '[' || c == ']') c = ' ';
  }
  return d;
}

// Only the record's N x N points count: the frame differs between sizes.
bool same_position(const Figure& f, const int32_t* board, int n) {
  if (f.b_size != n) return false;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      if (f.initial_board[figure_z(x, y)] != board[figure_z(x, y)]) return false;
    }
  }
  return true;
}

void write_move(SgfBuf& buf, const FigureMove& m) {
  buf.drop_trailing_semicolon();
  buf.append(";%s", m.color == 2 ? "W" : "B");
  if (m.z == 0) buf.append("[]");
  else buf.append("[%s]", point(m.z).c_str());
}

// Labels (marks grouped per property, so each appears once in the node) and the comment.
void write_labels(SgfBuf& buf, const Figure& f) {
  static const struct {
    int32_t label;
    const char* id;
  } kMarks[] = {{LABEL_TRIANGLE, "TR"}, {LABEL_CROSS, "MA"}, {LABEL_CIRCLE, "CR"}, {LABEL_SQUARE, "SQ"}};
  for (const auto& mark : kMarks) {
    std::string values;
    for (int y = 1; y <= f.b_size; y++) {
      for (int x = 1; x <= f.b_size; x++) {
        if (f.labels[figure_z(x, y)] == mark.label) values += "[" + point(figure_z(x, y)) + "]";
      }
    }
    if (!values.empty()) buf.append_raw(std::string(mark.id) + values);
  }
  std::string lb;
  for (int y = 1; y <= f.b_size; y++) {
    for (int x = 1; x <= f.b_size; x++) {
      int32_t l = f.labels[figure_z(x, y)];
      if (l == 0 || l == LABEL_TRIANGLE || l == LABEL_CROSS || l == LABEL_CIRCLE || l == LABEL_SQUARE) continue;
      std::string text;
      if (l > 0xFF) text.push_back((char)((l >> 8) & 0xFF));
      text.push_back((char)(l & 0xFF));
      lb += "[" + point(figure_z(x, y)) + ":" + escaped(text) + "]";
    }
  }
  if (!lb.empty()) buf.append_raw("LB" + lb);
}

void write_comment(SgfBuf& buf, const Figure& f) {
  if (!f.text.empty()) buf.append_raw("C[" + escaped(crlf(f.text)) + "]");
}

void write_setup_list(SgfBuf& buf, const char* id, const std::vector<int>& points) {
  if (points.empty()) return;
  buf.append("%s", id);
  for (size_t i = 0; i < points.size(); i++) {
    buf.append("[%s]", point(points[i]).c_str());
    if ((i + 1) % SETUP_POINTS_PER_LINE == 0) buf.end_line();
  }
}

void write_variation(SgfBuf& buf, const Figure& f, const int32_t* main_board, int n) {
  buf.end_line();
  buf.append("(;");
  std::vector<int> empty, black, white;
  for (int y = 1; y <= n; y++) {
    for (int x = 1; x <= n; x++) {
      int z = figure_z(x, y);
      int c = f.initial_board[z];
      if (c == main_board[z]) continue;
      if (c == 0) empty.push_back(z);
      else if (c == 1) black.push_back(z);
      else if (c == 2) white.push_back(z);
    }
  }
  write_setup_list(buf, "AE", empty);
  write_setup_list(buf, "AB", black);
  write_setup_list(buf, "AW", white);
  for (int i = 0; i < f.move_count; i++) {
    write_move(buf, f.moves[i]);
    if ((i + 1) % MOVES_PER_LINE == 0) buf.end_line();
  }
  write_labels(buf, f);
  write_comment(buf, f);
  buf.append(")");
}

struct TreeWriter {
  const GameRecord& rec;
  SgfBuf& buf;
  std::vector<char> used;
  Figure position;  // the main line at the node being written

  TreeWriter(const GameRecord& r, SgfBuf& b) : rec(r), buf(b), used(r.figures.size(), 0), position(r.main) {
    position.goto_move(0);
  }

  int anchor_of(const Figure& f) const {
    return f.anchor_move > rec.main.move_count ? rec.main.move_count : f.anchor_move;
  }

  // Comment and marks of the node after n moves, as a node of their own;
  // those of move 0 belong to the root node.
  void annotations(int n) {
    for (size_t i = 0; i < rec.figures.size(); i++) {
      const Figure& f = rec.figures[i];
      if (used[i] || f.anchor_move < 0 || anchor_of(f) != n || f.move_count != 0) continue;
      if (!same_position(f, position.board, rec.main.b_size)) continue;
      used[i] = 1;
      if (n > 0) buf.append(";");
      size_t before = buf.text.size();
      write_comment(buf, f);
      write_labels(buf, f);
      // An empty comment keeps an empty figure in the record.
      if (buf.text.size() == before) buf.append("C[]");
      return;
    }
  }

  std::vector<int> variations_at(int n) const {
    std::vector<int> out;
    for (size_t i = 0; i < rec.figures.size(); i++) {
      const Figure& f = rec.figures[i];
      if (!used[i] && f.anchor_move >= 0 && anchor_of(f) == n) out.push_back((int)i);
    }
    return out;
  }

  void write() {
    const Figure& m = rec.main;
    // Branch levels still open: the variations to write after each continuation, and the board there.
    std::vector<std::pair<std::vector<int>, std::vector<int32_t>>> open;
    for (int n = 0; n <= m.move_count; n++) {
      if (n > 0) {
        write_move(buf, m.moves[n - 1]);
        position.step_forward();
      }
      annotations(n);
      if (n > 0 && n % MOVES_PER_LINE == 0) buf.end_line();
      std::vector<int> vars = variations_at(n);
      if (vars.empty()) continue;
      // The main line continues as the first variation; an empty node keeps
      // the place when it has no more moves.
      buf.append(n == m.move_count ? "(;" : "(");
      open.emplace_back(vars, std::vector<int32_t>(position.board, position.board + FIGURE_POINTS));
    }
    for (size_t k = open.size(); k-- > 0;) {
      buf.append(")");
      for (int i : open[k].first) write_variation(buf, rec.figures[i], open[k].second.data(), rec.main.b_size);
    }
    buf.append(")");
    buf.end_line();
  }
};

}  // namespace

void write_sgf(const GameRecord& rec, SgfBuf& buf) {
  const Figure& m = rec.main;
  const GameInfo& g = m.info;
  buf.empty();
  buf.append("(;GM[1]SZ[%d]CA[Shift_JIS]\r\n", m.b_size);
  buf.append_raw("PB[" + escaped(g.black[0]) + "]BR[" + escaped(g.black[1]) + "]");
  buf.append_raw("PW[" + escaped(g.white[0]) + "]WR[" + escaped(g.white[1]) + "]\r\n");
  buf.append_raw("DT[" + escaped(date_value(g.date[0])) + "]");
  buf.append_raw("RE[" + result_value(g) + "]");
  if (g.nHand != 0) buf.append("HA[%d]", g.nHand);
  buf.append("KM[%.1f]TM[]\r\n", g.komi);
  buf.append_raw("RU[" + escaped(g.rule) + "]PC[" + escaped(g.place) + "]\r\n");
  static const std::string half_width = utf8_to_cp932("ﾚｰﾃｨﾝｸﾞ対局");
  static const std::string full_width = utf8_to_cp932("レーティング対局");
  std::string title[3];
  for (int i = 0; i < 3; i++) title[i] = replace_all(g.title[i], half_width, full_width);
  buf.append_raw("EV[" + escaped(title[0]) + "]");
  if (!title[1].empty()) buf.append_raw("RO[" + escaped(title[1]) + "]");
  buf.append_raw("GN[" + escaped(title[2]) + "]CP[" + escaped(g.copyright) + "]");
  // The recorder goes where the reader looks for it.
  if (!g.writer.empty()) buf.append_raw("AN[" + escaped(g.writer) + "]");
  buf.append_raw(std::string("AP[") + PROGRAM_NAME + "]\r\n");
  for (int color = 1; color <= 2; color++) {
    std::string list;
    for (int y = 1; y <= m.b_size; y++) {
      for (int x = 1; x <= m.b_size; x++) {
        if (m.initial_board[figure_z(x, y)] == color) list += "[" + point(figure_z(x, y)) + "]";
      }
    }
    if (!list.empty()) buf.append_raw(std::string(color == 1 ? "AB" : "AW") + list + "\r\n");
  }
  TreeWriter(rec, buf).write();
}
