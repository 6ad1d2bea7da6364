#include <gtest/gtest.h>

#include "editor/board_geometry.h"
#include "editor/settings.h"
#include "editor/stone_images.h"
#include "records/figure.h"

namespace {

struct Case {
  int width, height, n, style;
};

const Case cases[] = {{700, 700, 19, COORD_LETTERS}, {1000, 640, 19, COORD_KANJI}, {400, 900, 9, COORD_NONE},
                      {333, 250, 13, COORD_INTERNATIONAL}, {1280, 800, 9, COORD_LETTERS}, {2600, 2600, 5, COORD_NONE},
                      {150, 150, 19, COORD_LETTERS}, {800, 800, 2, COORD_KANJI}};

TEST(BoardGeometry, cell_is_odd_has_a_stone_image_and_the_board_is_centred_and_fits) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " n=" << c.n);
    BoardGeometry g = board_geometry(c.width, c.height, c.n, c.style);
    EXPECT_EQ(g.cell % 2, 1);
    EXPECT_TRUE(has_stone_image(g.cell));
    EXPECT_GE(g.cell, STONE_SIZE_MIN);
    EXPECT_LE(g.cell, STONE_SIZE_MAX);
    EXPECT_GE(g.left, 0);
    EXPECT_GE(g.top, 0);
    if (g.extent <= c.width) {
      EXPECT_LE(std::abs((c.width - g.extent) - 2 * g.left), 1);
    }
    if (g.extent <= c.height) {
      EXPECT_LE(std::abs((c.height - g.extent) - 2 * g.top), 1);
    }
    // Only a cell at its minimum may leave the window; the last line stays inside the board square.
    if (g.cell > STONE_SIZE_MIN) {
      EXPECT_LE(g.extent, std::min(c.width, c.height));
    }
    EXPECT_LT(g.x_of(c.n), g.left + g.extent);
    EXPECT_LT(g.y_of(c.n), g.top + g.extent);
  }
  // A tiny window clips the board at the smallest cell, from the top left.
  BoardGeometry tiny = board_geometry(60, 60, 19, COORD_LETTERS);
  EXPECT_EQ(tiny.cell, STONE_SIZE_MIN);
  EXPECT_EQ(tiny.left, 0);
  EXPECT_EQ(tiny.top, 0);
  EXPECT_GT(tiny.extent, 60);
}

TEST(BoardGeometry, cells_between_image_sizes_fall_to_the_next_smaller_image) {
  // A 19x19 board in a large window wants a cell above 61, where images
  // exist only every ten pixels.
  for (int side = 1400; side <= 2600; side += 37) {
    BoardGeometry g = board_geometry(side, side, 19, COORD_NONE);
    EXPECT_TRUE(has_stone_image(g.cell)) << side;
    EXPECT_GT(g.cell, 61);
  }
  EXPECT_EQ(board_geometry(5000, 5000, 2, COORD_NONE).cell, STONE_SIZE_MAX);
}

TEST(BoardGeometry, coordinate_band_follows_the_style_and_window) {
  EXPECT_EQ(board_geometry(800, 800, 19, COORD_NONE).band, 0);
  EXPECT_EQ(board_geometry(800, 800, 19, COORD_LETTERS, false).band, 0);
  // s = 800 / 22 = 36: letters get 16, kanji only 12 (needs s > 36).
  EXPECT_EQ(board_geometry(800, 800, 19, COORD_LETTERS).font, 16);
  EXPECT_EQ(board_geometry(800, 800, 19, COORD_KANJI).font, 12);
  EXPECT_EQ(board_geometry(800, 800, 19, COORD_KANJI).band, 15);
  EXPECT_EQ(board_geometry(880, 880, 19, COORD_KANJI).font, 16);
  EXPECT_EQ(board_geometry(500, 500, 19, COORD_LETTERS).font, 12);  // s = 22
}

TEST(PointFromMouse, every_intersection_maps_back_and_half_a_cell_is_the_limit) {
  for (const Case& c : cases) {
    BoardGeometry g = board_geometry(c.width, c.height, c.n, c.style);
    int half = g.cell / 2;
    for (int y = 1; y <= c.n; y++)
      for (int x = 1; x <= c.n; x++) {
        int px = g.x_of(x), py = g.y_of(y);
        ASSERT_EQ(point_from_mouse(g, px, py), figure_z(x, y));
        ASSERT_EQ(point_from_mouse(g, px + half, py - half), figure_z(x, y));
        ASSERT_EQ(point_from_mouse(g, px - half, py + half), figure_z(x, y));
      }
    // Just beyond half a cell outside the grid there is no point.
    EXPECT_EQ(point_from_mouse(g, g.x_of(1) - half - 1, g.y_of(1)), 0);
    EXPECT_EQ(point_from_mouse(g, g.x_of(1), g.y_of(1) - half - 1), 0);
    EXPECT_EQ(point_from_mouse(g, g.x_of(c.n) + half + 1, g.y_of(c.n)), 0);
    EXPECT_EQ(point_from_mouse(g, g.x_of(c.n), g.y_of(c.n) + half + 1), 0);
    // Between two lines the nearer one wins.
    if (c.n > 1) {
      EXPECT_EQ(point_from_mouse(g, g.x_of(1) + half + 1, g.y_of(1)), figure_z(2, 1));
    }
  }
}

}  // namespace
