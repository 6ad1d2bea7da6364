#include "editor/board_geometry.h"

#include <algorithm>

#include "editor/settings.h"
#include "editor/stone_images.h"
#include "records/figure.h"

BoardGeometry board_geometry(int width, int height, int n, int coord_style, bool with_coords) {
  BoardGeometry g;
  g.n = n = std::clamp(n, 2, FIGURE_SIZE_MAX);
  int s = std::min(width, height) / (n + 3);
  if (coord_style == COORD_KANJI)
    g.font = s > 36 ? 16 : s > 26 ? 12 : 0;
  else
    g.font = s > 30 ? 16 : s > 20 ? 12 : 0;
  // Below the smallest label font the labels would be unreadable; the band then
  // keeps the smallest font rather than disappear while the style is on.
  if (g.font == 0) g.font = 10;
  if (coord_style == COORD_NONE || !with_coords) g.font = 0;
  g.band = g.font ? g.font + 3 : 0;

  int a = std::min(height - g.band, width - g.band);
  int c = int(a / (n - 1 + 4.0 / 3.0));
  if (c % 2 == 0) c++;
  if (a < c * 4 / 3 + c * (n - 1) + g.band) c -= 2;
  c = std::clamp(c, STONE_SIZE_MIN, STONE_SIZE_MAX);
  while (!has_stone_image(c)) c--;
  g.cell = c;

  int margin = c * 2 / 3;  // half of the 4/3 cell around the grid
  g.extent = g.band + 2 * margin + c * (n - 1);
  g.left = std::max(0, (width - g.extent) / 2);
  g.top = std::max(0, (height - g.extent) / 2);
  g.grid_x = g.left + g.band + margin;
  g.grid_y = g.top + g.band + margin;
  return g;
}

int point_from_mouse(const BoardGeometry& g, int px, int py) {
  int dx = px - g.grid_x, dy = py - g.grid_y;
  int half = g.cell / 2;
  if (dx < -half || dy < -half) return 0;
  int col = (dx + half) / g.cell, row = (dy + half) / g.cell;
  if (col >= g.n || row >= g.n) return 0;
  return figure_z(col + 1, row + 1);
}

QList<QPoint> star_points(int n) {
  QList<QPoint> stars;
  if (n == 19) {
    for (int y : {4, 10, 16})
      for (int x : {4, 10, 16}) stars << QPoint(x, y);
  } else if (n == 13) {
    stars << QPoint(7, 7) << QPoint(4, 4) << QPoint(4, 10) << QPoint(10, 4) << QPoint(10, 10);
  } else if (n % 2 == 1) {
    stars << QPoint((n + 1) / 2, (n + 1) / 2);
  }
  return stars;
}
