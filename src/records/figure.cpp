#include "records/figure.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cstdint>

#include "core/log.h"

namespace {

constexpr int kNeighbours[4] = {-1, +1, -FIGURE_STRIDE, +FIGURE_STRIDE};

}  // namespace

void GameInfo::clear() {
  for (auto* group : {black, white, title}) {
    for (int i = 0; i < 3; i++) group[i].clear();
  }
  for (int i = 0; i < 4; i++) date[i].clear(), time[i].clear();
  place.clear();
  winner[0].clear(), winner[1].clear();
  writer.clear();
  copyright.clear();
  comment.clear();
  rule = "Japanese";
  komi = 6.5;
  komi_read = false;
  rule_read = false;
  nHand = 0;
  for (int i = 0; i < PHOTO_NUM; i++) photos[i].clear(), photo_names[i].clear();
}

Figure::Figure() {
  std::memset(labels, 0, sizeof labels);
  std::memset(scratch, 0, sizeof scratch);
  info.clear();
  clear();
}

Figure::Figure(const Figure& o) {
  std::memset(scratch, 0, sizeof scratch);
  *this = o;
}

Figure& Figure::operator=(const Figure& o) {
  if (this == &o) {
    PRT("self copy?\n");
    return *this;
  }
  anchor_move = o.anchor_move;
  b_size = o.b_size;
  std::memcpy(board, o.board, sizeof board);
  std::memcpy(initial_board, o.initial_board, sizeof initial_board);
  ko_point = o.ko_point;
  ko_color = o.ko_color;
  prisoners[0] = o.prisoners[0], prisoners[1] = o.prisoners[1];
  tesuu = o.tesuu;
  move_count = o.move_count;
  first_number = o.first_number;
  analysis_base = o.analysis_base;
  first_color = o.first_color;
  std::memcpy(moves, o.moves, sizeof moves);
  text = o.text;
  std::memcpy(labels, o.labels, sizeof labels);
  info = o.info;
  std::memcpy(scratch, o.scratch, sizeof scratch);
  scratch_stamp = o.scratch_stamp;
  return *this;
}

void Figure::copy_info(const Figure& o) {
  if (this == &o) {
    PRT("self info copy?\n");
    return;
  }
  info = o.info;
}

void Figure::clear() {
  ko_point = 0;
  prisoners[0] = prisoners[1] = 0;
  tesuu = 0;
  move_count = 0;
  first_number = FIGURE_NUMBER_NONE;
  analysis_base = FIGURE_NUMBER_NONE;
  first_color = 1;
  for (int i = 0; i < FIGURE_POINTS; i++) board[i] = initial_board[i] = 3;
  for (int y = 1; y <= b_size; y++) {
    for (int x = 1; x <= b_size; x++) board[figure_z(x, y)] = initial_board[figure_z(x, y)] = 0;
  }
  std::memset(moves, 0, sizeof moves);
}

void Figure::set_size(int n) {
  b_size = n;
  clear();
}

void Figure::clear_labels() { std::memset(labels, 0, sizeof labels); }

void Figure::reset() {
  b_size = FIGURE_SIZE_MAX;
  clear_labels();
  clear();
  anchor_move = 0;
  info.clear();
  text.clear();
}

void Figure::append_move(int z, int color, int time) {
  if (z < 0) z = 0;
  if (move_count > FIGURE_MOVES_MAX - 2) {
    PRT("\nover KIFU_MAX!\n");
    return;
  }
  if (color != 1 && color != 2) {
    PRT("col Err! col=%d\n", color);
    return;
  }
  moves[move_count] = {z, color, time};
  move_count++;
}

void Figure::count_string(int zc, int& stones, int& liberties, int liberty_limit) {
  // A new stamp clears the marks without touching the whole array.
  if (++scratch_stamp == INT32_MAX) {
    std::memset(scratch, 0, sizeof scratch);
    scratch_stamp = 1;
  }
  const int32_t mark = scratch_stamp;
  int color = board[zc];
  int stack[FIGURE_POINTS];
  int top = 0;
  stones = liberties = 0;
  stack[top++] = zc;
  scratch[zc] = mark;
  while (top > 0) {
    int p = stack[--top];
    stones++;
    for (int d : kNeighbours) {
      int n = p + d;
      if (scratch[n] == mark) continue;
      if (board[n] == 0) {
        scratch[n] = mark;
        if (++liberties >= liberty_limit) return;
      } else if (board[n] == color) {
        scratch[n] = mark;
        stack[top++] = n;
      }
    }
  }
}

namespace {

void remove_string(int32_t* board, int zc) {
  int color = board[zc];
  int stack[FIGURE_POINTS];
  int top = 0;
  stack[top++] = zc;
  board[zc] = 0;
  while (top > 0) {
    int p = stack[--top];
    for (int d : kNeighbours) {
      if (board[p + d] == color) {
        board[p + d] = 0;
        stack[top++] = p + d;
      }
    }
  }
}

bool on_grid(const Figure& f, int zc) { return f.on_board(figure_x(zc), figure_y(zc)) && zc < FIGURE_POINTS; }

}  // namespace

int Figure::play_on_figure(int z, int color) {
  if (color != 1 && color != 2) return FIGURE_BAD_COLOR;
  if (z == 0) {
    ko_point = 0;
    return FIGURE_OK;
  }
  // A point off the grid can only come from a damaged record: treat as occupied.
  if (z < 0 || z >= FIGURE_POINTS || !on_grid(*this, z)) return FIGURE_OCCUPIED;
  int enemy = 3 - color;
  int captures = 0, empties = 0, safe = 0, ko_candidate = 0;
  for (int d : kNeighbours) {
    int n = z + d;
    if (board[n] == 0) {
      empties++;
    } else if (board[n] == 1 || board[n] == 2) {
      // Two liberties settle both questions (in atari? safe connection?).
      int stones, libs;
      count_string(n, stones, libs, 2);
      if (board[n] == enemy && libs == 1) {
        captures += stones;
        ko_candidate = n;
      } else if (board[n] == color && libs >= 2) {
        safe++;
      }
    }
  }
  int code = FIGURE_OK;
  if (captures == 0 && empties == 0 && safe == 0) code = FIGURE_SUICIDE;
  // Filling one's own ko (after an omitted pass) is no ko violation.
  if (z == ko_point && color == ko_color) code = FIGURE_KO;
  if (board[z] != 0) code = FIGURE_OCCUPIED;
  if (code != FIGURE_OK && code != FIGURE_KO) return code;

  for (int d : kNeighbours) {
    int n = z + d;
    if (board[n] != enemy) continue;
    int stones, libs;
    count_string(n, stones, libs, 2);
    if (libs != 1) continue;
    remove_string(board, n);
    prisoners[color - 1] += stones;
  }
  board[z] = color;
  int stones = 0, libs = 0;
  if (captures == 1) count_string(z, stones, libs, 2);
  ko_point = (captures == 1 && stones == 1 && libs == 1) ? ko_candidate : 0;
  ko_color = ko_point ? enemy : 0;
  return code;
}

void Figure::goto_move(int n) {
  std::memcpy(board, initial_board, sizeof board);
  ko_point = 0;
  prisoners[0] = prisoners[1] = 0;
  if (n > move_count) n = move_count;
  if (n < 0) n = 0;
  tesuu = 0;
  while (tesuu < n && step_forward()) {
  }
}

bool Figure::step_forward() {
  if (tesuu >= move_count) return false;
  // A refused move leaves the board as it was, so trying it is harmless.
  int code = play_on_figure(moves[tesuu].z, moves[tesuu].color);
  if (code != FIGURE_OK && code != FIGURE_SUICIDE && code != FIGURE_KO) return false;
  tesuu++;
  return true;
}

int Figure::side_to_move() const {
  if (tesuu < 1) return first_color;
  return 3 - moves[tesuu - 1].color;
}

void Figure::place_handicap(int n, bool alternative) {
  int lo, mid, hi;
  switch (n >= 2 && n <= 9 ? b_size : 0) {
    case 9: lo = 3, mid = 5, hi = 7; break;
    case 13: lo = 4, mid = 7, hi = 10; break;
    case 19: lo = 4, mid = 10, hi = 16; break;
    default:
      PRT("handicap stones Err. nHand=%d, b_size=%d\n", n, b_size);
      return;
  }
  clear();
  auto put = [&](int x, int y) { initial_board[figure_z(x, y)] = 1; };
  put(hi, lo), put(lo, hi);
  if (n >= 4) put(lo, lo), put(hi, hi);
  if (n >= 6) put(lo, mid), put(hi, mid);
  if (n >= 8) put(mid, lo), put(mid, hi);
  if (n == 5 || n == 7 || n == 9) put(mid, mid);
  if (n == 3) alternative ? put(lo, lo) : put(hi, hi);
  info.nHand = n;
  first_color = 2;
  goto_move(0);
}

void Figure::remove_dead_setup_stones() {
  int shown = tesuu;
  goto_move(0);
  for (int z = 0; z < FIGURE_POINTS; z++) {
    if (board[z] != 1 && board[z] != 2) continue;
    int stones, libs;
    count_string(z, stones, libs);
    if (libs == 0) remove_string(board, z);
  }
  std::memcpy(initial_board, board, sizeof initial_board);
  goto_move(shown);
}

void Figure::figure_from_main(Figure& main, int n) {
  int shown = main.tesuu;
  main.goto_move(n);
  b_size = main.b_size;
  clear();
  std::memcpy(initial_board, main.board, sizeof initial_board);
  main.goto_move(shown);
  goto_move(0);
}

// UTF-8: the text is for display, not stored in the record.
std::string Figure::result_text() const {
  static const char* const kKindNames[] = {"", "黒", "白", "持碁", "無勝負"};
  int kind = 0;
  switch (info.winner[0].empty() ? 0 : info.winner[0][0]) {
    case 'B': kind = 1; break;
    case 'W': kind = 2; break;
    case 'D': kind = 3; break;
    case 'N': kind = 4; break;
  }
  std::string detail;
  if (kind == 1 || kind == 2) {
    const std::string& d = info.winner[1];
    switch (d.empty() ? 0 : d[0]) {
      case 'C': detail = "中押し勝ち"; break;
      case 'T': detail = "時間切れ勝ち"; break;
      case 'G': detail = "棄権勝ち"; break;
      case 'E': detail = "勝ち"; break;
      case 'F': detail = "反則勝ち"; break;
      default: detail = win_by_words(std::strtod(d.c_str(), nullptr));
    }
  }
  return std::string(kKindNames[kind]) + " " + detail;
}

std::string win_by_words(double margin) {
  double m = margin;
  char buf[64];
  if (!std::isfinite(m) || std::fabs(m) > 1e9) m = 0;
  if (m == std::floor(m)) {
    std::snprintf(buf, sizeof buf, "%d目勝ち", (int)m);
  } else if ((int)m != 0) {
    std::snprintf(buf, sizeof buf, "%d目半勝ち", (int)m);
  } else {
    std::snprintf(buf, sizeof buf, "半目勝ち");
  }
  return buf;
}

void GameRecord::reset() {
  main.reset();
  figures.clear();
}

void GameRecord::copy_from(const GameRecord& o) {
  if (this == &o) return;
  main = o.main;
  figures.resize(o.figures.size());
  for (size_t i = 0; i < figures.size(); i++) figures[i] = o.figures[i];
}

Figure& GameRecord::annotation_at(int n) {
  for (size_t i = figures.size(); i-- > 0;) {
    if (figures[i].anchor_move == n) return figures[i];
  }
  figures.emplace_back();
  Figure& f = figures.back();
  f.copy_info(main);
  f.figure_from_main(main, n);
  f.anchor_move = n;
  f.first_number = 1;
  return f;
}
