#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "records/sgf.h"
#include "records/sjis.h"

namespace {

constexpr int PROPERTY_ID_MAX = 16;
constexpr int MAIN_LINE = -1;

// One open "(": the line it continues and where its first child branched.
struct Frame {
  int owner;         // MAIN_LINE or a figure index
  int children = 0;  // "(" opened directly inside it so far
  int branch_owner = MAIN_LINE;
  int branch_count = 0;  // moves of branch_owner when the first child opened
};

struct SgfReader {
  GameRecord& rec;
  Frame stack[SGF_BRANCH_MAX];
  int depth = 0;
  int owner = MAIN_LINE;
  bool setup_seen = false;     // the first AB/AW replaces a standard handicap
  bool handicap_from_ha = false;
  // The main line's position at the latest annotation, carried forward so
  // that annotations need no replay from the start.
  Figure cursor;
  bool cursor_dirty = true;
  // Comment figures of move 0 made while the root was still being read.
  std::vector<int> root_notes;

  explicit SgfReader(GameRecord& r) : rec(r) {}

  Figure& current() { return owner == MAIN_LINE ? rec.main : rec.figures[owner]; }
  Figure& annotation();
  Figure& main_annotation(int n);
  void open_branch();
  void close_branch();
  void property(const char* id, const std::string& value);
  bool parse_point(const Figure& f, std::string_view v, int& z, bool& pass);
  void setup(int color, const std::string& value);
  void label(const std::string& value);
  void mark(int32_t label, const std::string& value);
  void move(int color, const std::string& value);
  void result(const std::string& value);
  void settle_root_notes();
};

Figure& SgfReader::annotation() {
  if (owner != MAIN_LINE) return rec.figures[owner];
  return main_annotation(rec.main.move_count);
}

Figure& SgfReader::main_annotation(int n) {
  if (n != rec.main.move_count) return rec.annotation_at(n);
  for (size_t i = rec.figures.size(); i-- > 0;) {
    if (rec.figures[i].anchor_move == n) return rec.figures[i];
  }
  if (cursor_dirty) {
    cursor = rec.main;
    cursor.goto_move(n);
    cursor_dirty = false;
  } else {
    // Catch up with the moves stored since the last annotation.
    for (int i = cursor.move_count; i < n; i++) cursor.moves[i] = rec.main.moves[i];
    cursor.move_count = n;
    while (cursor.step_forward()) {
    }
  }
  rec.figures.emplace_back();
  Figure& f = rec.figures.back();
  f.copy_info(rec.main);
  f.b_size = rec.main.b_size;
  f.clear();
  std::memcpy(f.initial_board, cursor.board, sizeof f.initial_board);
  f.goto_move(0);
  f.anchor_move = n;
  f.first_number = 1;
  if (n == 0) root_notes.push_back((int)rec.figures.size() - 1);
  return f;
}

// SZ, AB/AW or a first move that undoes HA may follow a comment of move 0;
// its figure shows the root as it ends up, on the record's own board.
void SgfReader::settle_root_notes() {
  const Figure& m = rec.main;
  for (int i : root_notes) {
    Figure& f = rec.figures[i];
    if (f.anchor_move != 0 || f.move_count != 0) continue;
    int32_t labels[FIGURE_POINTS];
    std::memcpy(labels, f.labels, sizeof labels);
    f.b_size = m.b_size;
    f.clear();
    std::memcpy(f.initial_board, m.initial_board, sizeof f.initial_board);
    f.clear_labels();
    for (int y = 1; y <= f.b_size; y++) {
      for (int x = 1; x <= f.b_size; x++) f.labels[figure_z(x, y)] = labels[figure_z(x, y)];
    }
    f.goto_move(0);
  }
}

void SgfReader::open_branch() {
  if (depth >= SGF_BRANCH_MAX) return;
  int new_owner = owner;
  if (depth > 0) {
    Frame& parent = stack[depth - 1];
    if (parent.children == 0) {
      parent.branch_owner = owner;
      parent.branch_count = current().move_count;
      if (owner == MAIN_LINE) PRT("Branch start=%d,pos=%d\n", parent.branch_count, depth);
    } else {
      // A later sibling: a new figure from the position where the first began.
      Figure fig;
      if (parent.branch_owner == MAIN_LINE) {
        fig.copy_info(rec.main);
        fig.figure_from_main(rec.main, parent.branch_count);
        fig.anchor_move = parent.branch_count;
        fig.first_number = 1;
      } else {
        // A variation inside a figure: the figure's moves up to the branch, then its own.
        fig = rec.figures[parent.branch_owner];
        fig.move_count = parent.branch_count;
        fig.text.clear();
        fig.clear_labels();
        fig.goto_move(0);
      }
      rec.figures.push_back(fig);
      new_owner = (int)rec.figures.size() - 1;
    }
    parent.children++;
  }
  stack[depth] = Frame{new_owner};
  depth++;
  owner = new_owner;
}

void SgfReader::close_branch() {
  depth--;
  if (depth > 0) owner = stack[depth - 1].owner;
  PRT("Branch close=%d,pos=%d\n", rec.main.move_count, depth);
}

int coordinate(char c, bool row, bool& ok) {
  ok = true;
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  if (c >= 'A' && c <= 'Z') return row ? 19 - (c - 'A') : c - 'A' + 1;
  ok = false;
  return 0;
}

bool SgfReader::parse_point(const Figure& f, std::string_view v, int& z, bool& pass) {
  z = 0;
  pass = false;
  if (v.empty()) {
    pass = true;
    return true;
  }
  bool okx = false, oky = false;
  int x = v.size() >= 2 ? coordinate(v[0], false, okx) : 0;
  int y = v.size() >= 2 ? coordinate(v[1], true, oky) : 0;
  if (okx && oky && f.b_size <= 19 && (x == 20 || y == 20)) {
    pass = true;
    return true;
  }
  if (!okx || !oky || !f.on_board(x, y)) return false;
  z = figure_z(x, y);
  return true;
}

void SgfReader::move(int color, const std::string& value) {
  Figure& f = current();
  int z;
  bool pass;
  if (!parse_point(f, value, z, pass)) {
    PRT("%s:PASS?,\n", value.c_str());
    z = 0;
  }
  if (owner == MAIN_LINE && color == 1 && handicap_from_ha && f.move_count == 0) {
    // Black moving first: the handicap stones were not placed in this game.
    f.clear();
    handicap_from_ha = false;
    cursor_dirty = true;
  }
  f.append_move(z, color);
}

void SgfReader::setup(int color, const std::string& value) {
  Figure& f = current();
  if (!setup_seen && owner == MAIN_LINE) {
    setup_seen = true;
    if (f.info.nHand != 0 && f.move_count == 0) {
      int first = f.first_color;
      f.clear();
      f.first_color = first;
      handicap_from_ha = false;
    }
  }
  // A single point or a rectangle "ab:cd".
  std::string_view v = value;
  std::string_view a = v.substr(0, 2), b = a;
  if (v.size() == 5 && v[2] == ':') b = v.substr(3, 2);
  int za, zb;
  bool pass;
  if (a.size() < 2 || !parse_point(f, a, za, pass) || pass || !parse_point(f, b, zb, pass) || pass) {
    PRT("置き石範囲エラー\n");
    return;
  }
  int x0 = std::min(figure_x(za), figure_x(zb)), x1 = std::max(figure_x(za), figure_x(zb));
  int y0 = std::min(figure_y(za), figure_y(zb)), y1 = std::max(figure_y(za), figure_y(zb));
  for (int y = y0; y <= y1; y++) {
    for (int x = x0; x <= x1; x++) f.initial_board[figure_z(x, y)] = f.board[figure_z(x, y)] = color;
  }
  if (owner == MAIN_LINE) cursor_dirty = true;
}

void SgfReader::label(const std::string& value) {
  size_t colon = value.find(':');
  if (colon == std::string::npos) return;
  int z;
  bool pass;
  Figure& target = annotation();
  if (!parse_point(target, std::string_view(value).substr(0, colon), z, pass) || pass) return;
  std::string_view text = std::string_view(value).substr(colon + 1);
  int32_t l = '?';
  if (text.size() == 1) l = (unsigned char)text[0];
  else if (text.size() == 2) l = (unsigned char)text[0] * 256 + (unsigned char)text[1];
  target.labels[z] = l;
}

void SgfReader::mark(int32_t l, const std::string& value) {
  Figure& target = annotation();
  int z;
  bool pass;
  if (parse_point(target, value, z, pass) && !pass) target.labels[z] = l;
}

void SgfReader::result(const std::string& v) {
  GameInfo& info = rec.main.info;
  if (v.empty()) return;
  if (v[0] == '0' || v[0] == 'D') {
    info.winner[0] = "D";
    info.winner[1].clear();
    return;
  }
  if (v[0] != 'B' && v[0] != 'W') return;
  info.winner[0] = std::string(1, v[0]);
  info.winner[1].clear();
  if (v.size() < 3) return;
  char c = v[2];
  if ((c >= '0' && c <= '9') || c == '.') {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", std::atof(v.c_str() + 2));
    info.winner[1] = buf;
  } else if (c == 'T') {
    info.winner[1] = "T";
  } else if (c == 'F') {
    info.winner[1] = "F";
  } else if (c == 'R') {
    info.winner[1] = "C";
  }
}

void SgfReader::property(const char* id, const std::string& value) {
  Figure& m = rec.main;
  GameInfo& info = m.info;
  auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
  if (is("B") || is("W")) {
    move(is("B") ? 1 : 2, value);
  } else if (is("AB") || is("AW")) {
    setup(is("AB") ? 1 : 2, value);
  } else if (is("AE")) {
    Figure& f = current();
    int z;
    bool pass;
    if (parse_point(f, value, z, pass) && !pass) f.board[z] = f.initial_board[z] = 0;
    if (owner == MAIN_LINE) cursor_dirty = true;
  } else if (is("LB")) {
    label(value);
  } else if (is("TR")) {
    mark(LABEL_TRIANGLE, value);
  } else if (is("MA")) {
    mark(LABEL_CROSS, value);
  } else if (is("CR")) {
    mark(LABEL_CIRCLE, value);
  } else if (is("SQ")) {
    mark(LABEL_SQUARE, value);
  } else if (is("C")) {
    Figure& f = annotation();
    if (!f.text.empty()) f.text += "\r\n";
    f.text += value;
  } else if (is("T")) {
    Figure& f = current();
    if (f.move_count > 0) f.moves[f.move_count - 1].time = std::atoi(value.c_str());
  } else if (is("V") || is("N") || is("L")) {
    PRT("%s[] ignored\n", id);
  } else if (is("SZ")) {
    int n = std::atoi(value.c_str());
    // Setup stones given before SZ in the same root node stay where they fit.
    int32_t setup[FIGURE_POINTS];
    std::memcpy(setup, m.initial_board, sizeof setup);
    int first = m.first_color;
    m.set_size(n >= 2 && n <= FIGURE_SIZE_MAX ? n : FIGURE_SIZE_MAX);
    for (int y = 1; y <= m.b_size; y++) {
      for (int x = 1; x <= m.b_size; x++) {
        int z = figure_z(x, y);
        if (setup[z] == 1 || setup[z] == 2) m.initial_board[z] = m.board[z] = setup[z];
      }
    }
    m.first_color = first;
    cursor_dirty = true;
  } else if (is("RE")) {
    result(value);
  } else if (is("PC")) {
    info.place = value;
  } else if (is("EV")) {
    info.title[0] = value;
  } else if (is("RO")) {
    info.title[1] = value;
  } else if (is("GN")) {
    info.title[2] = value;
  } else if (is("CP")) {
    info.copyright = value;
  } else if (is("DT")) {
    info.date[0] = value;
  } else if (is("TM")) {
    if (value.empty()) return;
    char buf[32];
    std::snprintf(buf, sizeof buf, "J;%d;0;0", std::atoi(value.c_str()) / 60);
    info.time[0] = buf;
  } else if (is("RU")) {
    info.rule = value;
    info.rule_read = true;
  } else if (is("PB")) {
    info.black[0] = value;
  } else if (is("PW")) {
    info.white[0] = value;
  } else if (is("BR")) {
    info.black[1] = value;
  } else if (is("WR")) {
    info.white[1] = value;
  } else if (is("AN")) {
    info.writer = value;
  } else if (is("KM")) {
    info.komi = std::atof(value.c_str());
    info.komi_read = true;
  } else if (is("HA")) {
    int n = std::atoi(value.c_str());
    if (n >= 2 && n <= 9 && m.move_count == 0 && !setup_seen) {
      m.place_handicap(n);
      handicap_from_ha = m.info.nHand == n;
      cursor_dirty = true;
    }
    // Kept even where no standard placement exists (the stones come as AB).
    if (n >= 2 && n <= 9) m.info.nHand = n;
  } else if (is("GC")) {
    main_annotation(0).text = value;
  } else {
    PRT("%s ---> コマンドエラー！！！\n", id);
  }
}

bool is_one_letter_property(const char* id) {
  return id[1] == 0 && std::strchr("BWCTVNL", id[0]) != nullptr;
}

}  // namespace

namespace {

// The game tree from the first "(": true when it was read to its end.
bool parse_tree(SgfReader& r, std::string_view data, size_t i) {
  char id[PROPERTY_ID_MAX + 1] = "";
  int id_len = 0;
  bool id_open = true;  // letters extend the identifier until a value closes it
  std::string value;
  const size_t n = data.size();
  while (i < n) {
    unsigned char c = (unsigned char)data[i++];
    if (c == '(') {
      if (r.depth >= SGF_BRANCH_MAX) {
        PRT("branch depth over %d\n", SGF_BRANCH_MAX);
        return false;
      }
      r.open_branch();
      id_len = 0, id[0] = 0, id_open = true;
    } else if (c == ')') {
      if (r.depth > 0) r.close_branch();
      if (r.depth == 0) return true;
      id_len = 0, id[0] = 0, id_open = true;
    } else if (c == ';') {
      id_len = 0, id[0] = 0, id_open = true;
    } else if (c >= 'A' && c <= 'Z') {
      if (!id_open) id_len = 0, id[0] = 0, id_open = true;
      if (id_len < PROPERTY_ID_MAX) id[id_len++] = (char)c, id[id_len] = 0;
    } else if (c == '[') {
      value.clear();
      bool closed = false;
      while (i < n) {
        unsigned char v = (unsigned char)data[i++];
        if (v == ']') {
          closed = true;
          break;
        }
        if (v == '\\') {
          if (i >= n) break;
          unsigned char e = (unsigned char)data[i++];
          // A backslash before a line end is a soft line break.
          if (e == '\r' || e == '\n') {
            if (i < n && (data[i] == '\r' || data[i] == '\n') && data[i] != (char)e) i++;
            continue;
          }
          value.push_back((char)e);
          continue;
        }
        value.push_back((char)v);
        if (is_sjis_lead(v)) {
          if (i >= n) break;
          value.push_back(data[i++]);
        }
      }
      if (!closed) return false;
      id_open = false;
      if (id_len == 0 || (id_len < 2 && !is_one_letter_property(id))) {
        PRT("SGF load nLen=%d Err\n", id_len);
        continue;
      }
      if (r.depth == 0) continue;
      r.property(id, value);
    }
  }
  return false;
}

}  // namespace

bool read_sgf(std::string_view input, GameRecord& rec) {
  std::string converted;
  std::string_view data = sgf_to_cp932(input, converted) ? std::string_view(converted) : input;
  size_t i = data.find('(');
  if (i == std::string_view::npos) {
    PRT("SGFファイルの読み込み失敗。'(' が見つからない\n");
    return false;
  }
  SgfReader r(rec);
  bool complete = parse_tree(r, data, i);
  r.settle_root_notes();
  return complete;
}
