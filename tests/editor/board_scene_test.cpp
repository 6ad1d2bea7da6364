#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "editor/board_scene.h"
#include "editor/settings.h"
#include "editor/stone_images.h"
#include "editor/stone_sound.h"
#include "qt_env.h"

namespace {

constexpr int SIDE = 420;

Figure board_of(int n) {
  Figure f;
  f.reset();
  f.set_size(n);
  return f;
}

void play(Figure& f, int x, int y) {
  int color = f.side_to_move();
  int z = x ? figure_z(x, y) : 0;
  f.append_move(z, color);
  f.goto_move(f.move_count);
}

struct Drawn {
  QImage img;
  BoardGeometry g;
  QColor at(int x, int y, int dx = 0, int dy = 0) const { return img.pixelColor(g.x_of(x) + dx, g.y_of(y) + dy); }
};

Drawn draw(const BoardScene& s) {
  Drawn d;
  d.img = QImage(SIDE, SIDE, QImage::Format_RGB32);
  QPainter p(&d.img);
  d.g = draw_board(p, d.img.rect(), s);
  return d;
}

BoardScene plain_scene(const Figure& f) {
  BoardScene s;
  s.figure = &f;
  s.bmp_board = false;
  s.coord_style = COORD_NONE;
  return s;
}

bool dark(QColor c) { return c.lightness() < 60; }
bool light(QColor c) { return c.lightness() > 170; }

TEST(BoardDrawing, star_points_nine_on_19_five_on_13_one_on_9_none_on_even) {
  const std::pair<int, int> expected[] = {{19, 9}, {13, 5}, {9, 1}, {7, 1}, {10, 0}};
  for (auto [n, stars] : expected) {
    Figure f = board_of(n);
    Drawn d = draw(plain_scene(f));
    int found = 0;
    for (int y = 1; y <= n; y++)
      for (int x = 1; x <= n; x++)
        if (dark(d.at(x, y, 1, 1))) found++;
    EXPECT_EQ(found, stars) << n;
  }
  Figure f = board_of(19);
  Drawn d = draw(plain_scene(f));
  EXPECT_TRUE(dark(d.at(4, 4, 1, 1)));
  EXPECT_TRUE(dark(d.at(10, 16, 1, 1)));
}

TEST(BoardDrawing, stones_are_drawn_round_on_their_points) {
  Figure f = board_of(9);
  play(f, 3, 3);
  play(f, 7, 7);
  Drawn d = draw(plain_scene(f));
  int r = d.g.cell / 2;
  EXPECT_TRUE(dark(d.at(3, 3, -r / 2, r / 2)));
  EXPECT_TRUE(light(d.at(7, 7, r / 2, r / 2)));
  // The corner of the cell around a stone is board, not stone.
  QColor board = d.at(3, 3, -r + 1, -r + 1);
  EXPECT_FALSE(dark(board));
  EXPECT_FALSE(light(board) && board.saturation() < 40);
}

TEST(BoardDrawing, last_move_triangle_is_yellow_on_black_and_dark_blue_on_white) {
  Figure f = board_of(9);
  play(f, 5, 5);
  Drawn d = draw(plain_scene(f));
  int t = d.g.cell * 10 / 32;
  EXPECT_EQ(d.at(5, 5, 0, t / 4 - 1), QColor(255, 255, 0));
  play(f, 3, 5);
  d = draw(plain_scene(f));
  EXPECT_EQ(d.at(3, 5, 0, t / 4 - 1), QColor(0, 0, 160));
  // The black stone lost its mark.
  EXPECT_TRUE(dark(d.at(5, 5, 0, t / 4 - 1)));
}

TEST(BoardDrawing, judgement_squares_show_owner_and_dead_stones_are_crossed) {
  Figure f = board_of(9);
  play(f, 5, 5);
  Judgement j;
  j.territory[figure_z(2, 2)] = 100;
  j.territory[figure_z(8, 8)] = -100;
  j.territory[figure_z(2, 8)] = 10;  // too uncertain to show much
  j.dead[figure_z(5, 5)] = 1;
  BoardScene s = plain_scene(f);
  s.judgement = &j;
  s.triangle = false;
  Drawn d = draw(s);
  EXPECT_TRUE(dark(d.at(2, 2, 2, 2)));
  EXPECT_TRUE(light(d.at(8, 8, 2, 2)));
  EXPECT_FALSE(dark(d.at(2, 8, 3, 3)));
  QColor cross = d.at(5, 5, 0, 0);
  EXPECT_GT(cross.red(), 180);
  EXPECT_LT(cross.green(), 60);
  Drawn without = draw(plain_scene(f));
  EXPECT_FALSE(dark(without.at(2, 2, 2, 2)));
}

TEST(StoneNumbers, the_latest_move_on_a_point_is_shown_and_without_numbers_only_the_last_one) {
  Figure f = board_of(9);
  // Black captures a white stone at (1,1) and later fills the point himself.
  play(f, 2, 1);  // 1 B
  play(f, 1, 1);  // 2 W
  play(f, 1, 2);  // 3 B captures
  play(f, 5, 5);  // 4 W
  play(f, 1, 1);  // 5 B
  BoardScene s = plain_scene(f);
  s.numbers = true;
  auto n = stone_numbers(s);
  EXPECT_EQ(n[figure_z(1, 1)], 5);
  EXPECT_EQ(n[figure_z(2, 1)], 1);
  EXPECT_EQ(n[figure_z(5, 5)], 4);
  f.goto_move(2);
  n = stone_numbers(s);
  EXPECT_EQ(n[figure_z(1, 1)], 2);
  EXPECT_EQ(n[figure_z(5, 5)], 0);
  // Without numbers only the last move is numbered, and only when the triangle is off.
  s.numbers = false;
  s.triangle = true;
  n = stone_numbers(s);
  EXPECT_EQ(std::count_if(n.begin(), n.end(), [](int v) { return v != 0; }), 0);
  s.triangle = false;
  n = stone_numbers(s);
  EXPECT_EQ(n[figure_z(1, 1)], 2);
  EXPECT_EQ(n[figure_z(2, 1)], 0);
}

TEST(StoneNumbers, numbers_above_999_are_not_drawn_and_analysis_counts_from_its_base) {
  Figure f = board_of(19);
  for (int i = 0; i < 999; i++) f.append_move(0, f.move_count % 2 ? 2 : 1);
  f.goto_move(f.move_count);
  play(f, 10, 10);  // move 1000
  BoardScene s = plain_scene(f);
  s.numbers = true;
  EXPECT_EQ(stone_numbers(s)[figure_z(10, 10)], 0);

  Figure g = board_of(9);
  play(g, 3, 3);
  play(g, 4, 4);
  g.analysis_base = 1;
  play(g, 5, 5);
  BoardScene a = plain_scene(g);
  a.analysis = true;
  auto n = stone_numbers(a);
  EXPECT_EQ(n[figure_z(4, 4)], 1);
  EXPECT_EQ(n[figure_z(5, 5)], 2);
  EXPECT_EQ(n[figure_z(3, 3)], 0);
}

TEST(GeneratedResources, every_nominal_size_has_a_round_black_and_white_stone) {
  for (int size : stone_nominal_sizes) {
    for (int color : {1, 2}) {
      const QImage& img = stone_image(color, size);
      ASSERT_EQ(img.width(), size);
      ASSERT_EQ(img.height(), size);
      EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << size;
      EXPECT_EQ(qAlpha(img.pixel(size / 2, size / 2)), 255) << size;
      // Edge midpoints are covered: the stone fills its cell.
      EXPECT_GT(qAlpha(img.pixel(size / 2, 0)), 100) << size;
    }
    EXPECT_LT(qGray(stone_image(1, size).pixel(size / 2, size * 3 / 4)),
              qGray(stone_image(2, size).pixel(size / 2, size * 3 / 4)));
  }
  EXPECT_FALSE(has_stone_image(63));
  EXPECT_TRUE(has_stone_image(71));
}

TEST(GeneratedResources, textures_are_512_square_and_grained) {
  for (int i = 0; i < BOARD_TEXTURE_COUNT; i++) {
    const QImage& t = board_texture(i);
    ASSERT_EQ(t.size(), QSize(BOARD_TEXTURE_SIZE, BOARD_TEXTURE_SIZE));
    int lo = 255, hi = 0;
    for (int x = 0; x < BOARD_TEXTURE_SIZE; x += 3) {
      int g = qGray(t.pixel(x, 200));
      lo = std::min(lo, g), hi = std::max(hi, g);
    }
    EXPECT_GT(hi - lo, 20) << i;
  }
  EXPECT_NE(board_texture(0).pixel(100, 100), board_texture(2).pixel(100, 100));
}

TEST(GeneratedResources, stone_sound_is_a_short_pcm_wave) {
  QByteArray wav = make_stone_sound();
  ASSERT_GT(wav.size(), 44);
  EXPECT_EQ(wav.left(4), "RIFF");
  EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
  auto le32 = [&](int at) { return quint32(quint8(wav[at])) | quint32(quint8(wav[at + 1])) << 8 |
                                   quint32(quint8(wav[at + 2])) << 16 | quint32(quint8(wav[at + 3])) << 24; };
  EXPECT_EQ(le32(4), quint32(wav.size() - 8));
  EXPECT_EQ(le32(24), quint32(STONE_SOUND_RATE));
  EXPECT_EQ(le32(40), quint32(wav.size() - 44));
  double seconds = double(le32(40)) / 2 / STONE_SOUND_RATE;
  EXPECT_GT(seconds, 0.05);
  EXPECT_LT(seconds, 0.5);
}

}  // namespace
