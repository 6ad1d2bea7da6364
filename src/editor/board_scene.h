// What one drawing of the board shows: the figure at its shown move, the
// labels to put on it, the view switches and the judgement overlay.
#pragma once
#include <QRect>
#include <array>
#include <cstdint>

#include "editor/board_geometry.h"
#include "records/figure.h"

class QPainter;

// The position judgement as the board view draws it, per compact point code:
// territory from -100 (sure white) to 100 (sure black), and dead stones.
struct Judgement {
  std::array<int8_t, FIGURE_POINTS> territory{};
  std::array<uint8_t, FIGURE_POINTS> dead{};
  // What the judgement adds up to; index 0 black, 1 white.
  bool game_over = false;    // judged by the end-of-game rules
  bool area = false;         // area counting (the record's rule is Chinese)
  int points[2] = {0, 0};    // territory: empty points and the points of dead enemy stones
  int stones[2] = {0, 0};    // living stones on the board
  int prisoners[2] = {0, 0}; // stones taken so far
  int dead_stones[2] = {0, 0};  // the other side's stones judged dead
  double komi = 0;
  double margin = 0;         // black minus white, komi included
};

struct BoardScene {
  const Figure* figure = nullptr;
  const Figure* annotation = nullptr;  // labels of the comment at the shown move
  int coord_style = 0;
  bool with_coords = true;
  bool numbers = false;    // 石番号
  bool triangle = true;    // 最終手を△で
  bool bmp_board = true;   // bmpの碁盤
  int board_color = 1;     // 0..2: texture and plain colour
  bool analysis = false;   // 検討: numbers from analysis_base
  const Judgement* judgement = nullptr;  // null while the judgement is not shown
};

constexpr int BACKGROUND_RED = 5, BACKGROUND_GREEN = 75, BACKGROUND_BLUE = 49;

// Draws the whole scene into `area` of the painter; returns the geometry used.
BoardGeometry draw_board(QPainter& p, const QRect& area, const BoardScene& scene);

// The move number shown on the stone at each point (0 = none): the latest
// move played there up to the shown move, counted as the scene says.
std::array<int, FIGURE_POINTS> stone_numbers(const BoardScene& scene);
// The point of the shown move, 0 for none or a pass.
int last_move_point(const Figure& f);
