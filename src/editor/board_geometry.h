// Where the board goes in a drawing area: coordinate band, cell size, origin,
// and the way back from a mouse position to a point.
#pragma once
#include <QList>
#include <QPoint>

struct BoardGeometry {
  int n = 19;        // board size
  int font = 0;      // label font height in pixels, 0 without coordinates
  int band = 0;      // coordinate band width m
  int cell = 9;      // distance between lines, odd
  int left = 0;      // top left of the board (band included)
  int top = 0;
  int extent = 0;    // width and height of the board square, band included
  int grid_x = 0;    // pixel of line 1 (column 1 / row 1)
  int grid_y = 0;

  int x_of(int column) const { return grid_x + (column - 1) * cell; }
  int y_of(int row) const { return grid_y + (row - 1) * cell; }
};

// with_coords false: no band whatever the style (reference figures elsewhere).
BoardGeometry board_geometry(int width, int height, int n, int coord_style, bool with_coords = true);

// Star points (column, row) of an n x n board.
QList<QPoint> star_points(int n);

// The compact point code of the intersection nearest (px, py) within half a
// cell, 0 when there is none.
int point_from_mouse(const BoardGeometry& g, int px, int py);
