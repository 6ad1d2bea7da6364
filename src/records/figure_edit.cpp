#include "records/figure_edit.h"

#include <algorithm>
#include <cstring>

namespace {

bool on_grid(const Figure& f, int zc) { return zc > 0 && zc < FIGURE_POINTS && f.on_board(figure_x(zc), figure_y(zc)); }

// (x, y) -> (N + 1 - y, x): what was on the left edge comes to the top.
int rotated(int zc, int n) {
  if (zc <= 0) return zc;
  return figure_z(n + 1 - figure_y(zc), figure_x(zc));
}

void rotate_points(int32_t* points, int n) {
  int32_t turned[FIGURE_POINTS];
  std::memcpy(turned, points, sizeof turned);
  for (int y = 1; y <= n; y++)
    for (int x = 1; x <= n; x++) turned[rotated(figure_z(x, y), n)] = points[figure_z(x, y)];
  std::memcpy(points, turned, sizeof turned);
}

void rotate_figure(Figure& f) {
  const int n = f.b_size, shown = f.tesuu;
  rotate_points(f.initial_board, n);
  rotate_points(f.labels, n);
  for (int i = 0; i < f.move_count; i++) f.moves[i].z = rotated(f.moves[i].z, n);
  f.goto_move(shown);
}

}  // namespace

int replay_to_end(Figure& f) {
  f.goto_move(f.move_count);
  return f.tesuu;
}

int shift_move(GameRecord& rec, int n, int zc) {
  Figure& f = rec.main;
  if (n < 1 || n > f.move_count || !on_grid(f, zc)) return -1;
  f.moves[n - 1].z = zc;
  return replay_to_end(f);
}

int insert_move(GameRecord& rec, int n, int zc) {
  Figure& f = rec.main;
  if (n < 1 || n > f.move_count + 1 || !on_grid(f, zc) || f.move_count >= FIGURE_MOVES_MAX - 1) return -1;
  // The forgotten move is the side to move after move n - 1. When the old move
  // n has that colour too, the later moves were entered one colour off (the
  // board alternates on clicks) and change colour with the insertion.
  const int color = n > 1 ? 3 - f.moves[n - 2].color : f.first_color;
  if (n <= f.move_count && f.moves[n - 1].color == color)
    for (int i = n - 1; i < f.move_count; i++) f.moves[i].color = 3 - f.moves[i].color;
  for (int i = f.move_count; i >= n; i--) f.moves[i] = f.moves[i - 1];
  f.moves[n - 1] = FigureMove{zc, color, 0};
  f.move_count++;
  for (Figure& fig : rec.figures)
    if (fig.anchor_move >= n) fig.anchor_move++;
  return replay_to_end(f);
}

int delete_only_move(GameRecord& rec, int n) {
  Figure& f = rec.main;
  if (n < 1 || n > f.move_count) return -1;
  for (int i = n - 1; i < f.move_count - 1; i++) f.moves[i] = f.moves[i + 1];
  f.move_count--;
  f.moves[f.move_count] = FigureMove{0, 0, 0};
  for (Figure& fig : rec.figures)
    if (fig.anchor_move >= n) fig.anchor_move--;
  return replay_to_end(f);
}

void rotate_record(GameRecord& rec) {
  rotate_figure(rec.main);
  for (Figure& fig : rec.figures) rotate_figure(fig);
}
