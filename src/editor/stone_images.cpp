#include "editor/stone_images.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/internal_stop.h"

const int stone_nominal_sizes[STONE_SIZE_COUNT] = {
    9,  11, 13, 15, 17, 19, 21, 23, 25, 27, 29,  31,  33,  35,  37,  39,  41,  43, 45,
    47, 49, 51, 53, 55, 57, 59, 61, 71, 81, 91, 101, 111, 131, 151, 171, 191, 211};

namespace {

int size_index(int size) {
  const int* end = stone_nominal_sizes + STONE_SIZE_COUNT;
  const int* it = std::find(stone_nominal_sizes, end, size);
  return it == end ? -1 : int(it - stone_nominal_sizes);
}

// Smooth value noise on a lattice that wraps at `period`, so textures tile.
double lattice(int x, int y, int period, uint32_t seed) {
  uint32_t h = uint32_t((x % period + period) % period) * 374761393u +
               uint32_t((y % period + period) % period) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return double(h ^ (h >> 16)) / 4294967295.0;
}

double value_noise(double x, double y, int period, uint32_t seed) {
  int xi = int(std::floor(x)), yi = int(std::floor(y));
  double fx = x - xi, fy = y - yi;
  double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  double a = lattice(xi, yi, period, seed), b = lattice(xi + 1, yi, period, seed);
  double c = lattice(xi, yi + 1, period, seed), d = lattice(xi + 1, yi + 1, period, seed);
  return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

struct WoodStyle {
  QColor light, dark;
  double rings;      // grain lines across the texture
  double waviness;   // how far the grain wanders
  uint32_t seed;
};

const WoodStyle wood_styles[BOARD_TEXTURE_COUNT] = {
    {QColor(238, 203, 138), QColor(214, 168, 96), 22, 1.6, 11},   // pale shin-kaya
    {QColor(229, 184, 105), QColor(196, 141, 66), 30, 2.2, 23},   // kaya
    {QColor(214, 160, 96), QColor(170, 109, 52), 38, 2.8, 37},    // darker, reddish
};

}  // namespace

QImage make_stone_image(int color, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  const double r = size / 2.0 - 0.25;
  const double cx = size / 2.0, cy = size / 2.0;
  // Light from the upper left, slightly in front.
  const double lx = -0.45, ly = -0.6, lz = 0.66;
  for (int y = 0; y < size; y++) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < size; x++) {
      double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      double d = std::sqrt(dx * dx + dy * dy);
      double cover = std::clamp(r - d + 0.5, 0.0, 1.0);
      if (cover <= 0) continue;
      double nx = dx / r, ny = dy / r;
      double nz2 = std::max(0.0, 1 - nx * nx - ny * ny);
      double nz = std::sqrt(nz2) * 1.6;  // a flattened lens, not a ball
      double len = std::sqrt(nx * nx + ny * ny + nz * nz);
      nx /= len, ny /= len, nz /= len;
      double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
      // Blinn highlight with the viewer straight in front.
      double hx = lx, hy = ly, hz = lz + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
      double highlight = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), color == 1 ? 28 : 40);
      double rr, gg, bb;
      if (color == 1) {
        double v = 0.06 + 0.16 * diffuse + 0.55 * highlight;
        rr = gg = bb = v;
      } else {
        double v = 0.72 + 0.26 * diffuse + 0.12 * highlight;
        rr = v, gg = v * 0.99, bb = v * 0.95;
      }
      // A faint dark rim keeps the outline crisp on a light board.
      double rim = std::clamp((d - (r - 1.2)) / 1.2, 0.0, 1.0);
      double shade = 1 - (color == 1 ? 0.0 : 0.35) * rim;
      auto channel = [&](double v) { return int(std::clamp(v * shade, 0.0, 1.0) * 255 * cover + 0.5); };
      line[x] = qRgba(channel(rr), channel(gg), channel(bb), int(cover * 255 + 0.5));
    }
  }
  return img;
}

QImage make_board_texture(int which) {
  const WoodStyle& w = wood_styles[which];
  const int n = BOARD_TEXTURE_SIZE;
  QImage img(n, n, QImage::Format_RGB32);
  constexpr int period = 8;
  for (int y = 0; y < n; y++) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < n; x++) {
      double u = double(x) / n, v = double(y) / n;
      // Straight grain running top to bottom, bent by low-frequency noise.
      double bend = w.waviness * (value_noise(u * period, v * period / 4.0, period, w.seed) - 0.5);
      double grain = std::sin((u * w.rings + bend) * 2 * M_PI);
      double fine = value_noise(u * 96, v * 6, 96, w.seed + 5) - 0.5;
      double t = std::clamp(0.5 + 0.32 * grain * std::abs(grain) + 0.35 * fine, 0.0, 1.0);
      t = t * t;
      auto mix = [&](int a, int b) { return int(a + (b - a) * t); };
      line[x] = qRgb(mix(w.light.red(), w.dark.red()), mix(w.light.green(), w.dark.green()),
                     mix(w.light.blue(), w.dark.blue()));
    }
  }
  return img;
}

bool has_stone_image(int size) { return size_index(size) >= 0; }

const QImage& stone_image(int color, int size) {
  static std::array<QImage, STONE_SIZE_COUNT> images[2];
  int i = size_index(size);
  if (i < 0 || (color != 1 && color != 2)) INTERNAL_STOP("stone image missing size=%d col=%d\n", size, color);
  QImage& img = images[color - 1][i];
  if (img.isNull()) img = make_stone_image(color, size);
  return img;
}

const QImage& board_texture(int which) {
  static std::array<QImage, BOARD_TEXTURE_COUNT> textures;
  if (which < 0 || which >= BOARD_TEXTURE_COUNT) INTERNAL_STOP("board texture missing %d\n", which);
  QImage& img = textures[which];
  if (img.isNull()) img = make_board_texture(which);
  return img;
}
