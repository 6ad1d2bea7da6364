#include "editor/board_scene.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStaticText>

#include "core/board.h"
#include "editor/settings.h"
#include "editor/stone_images.h"
#include "records/sjis.h"

namespace {

const QColor plain_board_colors[BOARD_TEXTURE_COUNT] = {QColor(236, 200, 134), QColor(224, 178, 100),
                                                        QColor(206, 152, 88)};
const QColor triangle_on_black(255, 255, 0);
const QColor triangle_on_white(0, 0, 160);
constexpr int NUMBER_MAX = 999;
constexpr int STAR_DIAMETER = 5;

const char* const kanji_digits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};

// The wood scaled to one board size, kept until the size or texture changes.
const QPixmap& scaled_texture(int which, int extent) {
  static QPixmap cached;
  static int cached_which = -1, cached_extent = -1;
  if (which != cached_which || extent != cached_extent) {
    cached = QPixmap::fromImage(board_texture(which).scaled(extent, extent, Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation));
    cached_which = which, cached_extent = extent;
  }
  return cached;
}

const QPixmap& stone_pixmap(int color, int size) {
  static QHash<int, QPixmap> cache;
  int key = color * 1000 + size;
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.insert(key, QPixmap::fromImage(stone_image(color, size)));
  return *it;
}

// Texts laid out once per font: numbers and labels repeat on every paint.
const QStaticText& static_text(const QString& text, const QFont& font) {
  static QHash<QString, QStaticText> cache;
  QString key = font.family() + '|' + QString::number(font.pixelSize()) + '|' + text;
  auto it = cache.find(key);
  if (it == cache.end()) {
    QStaticText st(text);
    st.setPerformanceHint(QStaticText::AggressiveCaching);
    st.prepare(QTransform(), font);
    it = cache.insert(key, st);
  }
  return *it;
}

// The painter's font must be `font`.
void draw_centered(QPainter& p, const QFont& font, const QString& text, QPointF center) {
  QFontMetricsF fm(font);
  double w = fm.horizontalAdvance(text), h = fm.height();
  p.drawStaticText(QPointF(center.x() - w / 2, center.y() - h / 2), static_text(text, font));
}

QFont pixel_font(const char* family, int pixels) {
  QFont f(QString::fromUtf8(family));
  f.setPixelSize(std::max(1, pixels));
  return f;
}

QString column_letter(int x) { return QString(QChar(char('A' + x - 1 + (x >= 9 ? 1 : 0)))); }

QString kanji_row(int y) {
  if (y <= 10) return QString::fromUtf8(kanji_digits[y]);
  return QString::fromUtf8("十") + QString::fromUtf8(kanji_digits[y - 10]);
}

void draw_star_points(QPainter& p, const BoardGeometry& g) {
  int n = g.n;
  const QList<QPoint> stars = star_points(n);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.setRenderHint(QPainter::Antialiasing, true);
  for (QPoint s : stars)
    p.drawEllipse(QPointF(g.x_of(s.x()) + 0.5, g.y_of(s.y()) + 0.5), STAR_DIAMETER / 2.0, STAR_DIAMETER / 2.0);
  p.setRenderHint(QPainter::Antialiasing, false);
}

void draw_coordinates(QPainter& p, const BoardGeometry& g, int style) {
  if (!g.band) return;
  const bool kanji = style == COORD_KANJI;
  QFont font = pixel_font(kanji ? "標準明朝" : "ＭＳ ゴシック", g.font);
  p.setFont(font);
  p.setPen(Qt::black);
  const int col_y = g.top + g.band / 2 + 1;
  const int row_x = g.left + g.band / 2 + 1;
  for (int i = 1; i <= g.n; i++) {
    QString col = style == COORD_KANJI ? QString::number(i) : column_letter(i);
    draw_centered(p, font, col, QPointF(g.x_of(i) + 0.5, col_y));
    if (style == COORD_KANJI) {
      QString row = kanji_row(i);
      if (row.size() == 1) {
        draw_centered(p, font, row, QPointF(row_x, g.y_of(i) + 0.5));
      } else {
        // Two kanji do not fit across the band: stacked, smaller when the cell is narrow.
        QFont small = g.cell < 2 * g.font ? pixel_font("標準明朝", std::max(6, g.cell / 2)) : font;
        p.setFont(small);
        double h = small.pixelSize() / 2.0;
        draw_centered(p, small, row.left(1), QPointF(row_x, g.y_of(i) + 0.5 - h));
        draw_centered(p, small, row.mid(1), QPointF(row_x, g.y_of(i) + 0.5 + h));
        p.setFont(font);
      }
    } else {
      int number = style == COORD_INTERNATIONAL ? g.n + 1 - i : i;
      draw_centered(p, font, QString::number(number), QPointF(row_x, g.y_of(i) + 0.5));
    }
  }
}

QString label_text(int32_t label) {
  std::string bytes;
  if (label > 0xFF) bytes.push_back(char(label >> 8));
  bytes.push_back(char(label & 0xFF));
  return QString::fromStdString(cp932_to_utf8(bytes));
}

QColor board_plain_color(const BoardScene& s) { return plain_board_colors[std::clamp(s.board_color, 0, 2)]; }

bool textured(const BoardScene& s) { return s.bmp_board && !s.analysis; }

void draw_labels(QPainter& p, const BoardGeometry& g, const BoardScene& s, const Figure& labels_of) {
  const Figure& f = *s.figure;
  QFont font = pixel_font("ＭＳ ゴシック", std::max(8, g.cell * 6 / 10));
  p.setFont(font);
  for (int y = 1; y <= g.n; y++)
    for (int x = 1; x <= g.n; x++) {
      int z = figure_z(x, y);
      int32_t label = labels_of.labels[z];
      if (!label) continue;
      int color = f.board[z];
      QPointF c(g.x_of(x) + 0.5, g.y_of(y) + 0.5);
      if (color == EMPTY) {
        int half = g.cell * 4 / 10;
        QRect patch(g.x_of(x) - half, g.y_of(y) - half, 2 * half + 1, 2 * half + 1);
        if (textured(s))
          p.drawPixmap(patch, scaled_texture(s.board_color, g.extent), patch.translated(-g.left, -g.top));
        else
          p.fillRect(patch, board_plain_color(s));
      }
      p.setPen(color == BLACK ? Qt::white : Qt::black);
      draw_centered(p, font, label_text(label), c);
    }
}

void draw_judgement(QPainter& p, const BoardGeometry& g, const Figure& f, const Judgement& j) {
  p.setRenderHint(QPainter::Antialiasing, true);
  for (int y = 1; y <= g.n; y++)
    for (int x = 1; x <= g.n; x++) {
      int z = figure_z(x, y);
      QPointF c(g.x_of(x) + 0.5, g.y_of(y) + 0.5);
      int v = j.territory[z];
      int color = f.board[z];
      if (j.dead[z] && (color == BLACK || color == WHITE)) {
        // A dead stone: the owner's square of territory on it and a red cross.
        double h = g.cell * 0.22;
        p.setPen(Qt::NoPen);
        p.setBrush(color == BLACK ? Qt::white : Qt::black);
        p.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
        p.setPen(QPen(QColor(220, 0, 0), std::max(1.5, g.cell / 12.0)));
        double k = g.cell * 0.3;
        p.drawLine(QPointF(c.x() - k, c.y() - k), QPointF(c.x() + k, c.y() + k));
        p.drawLine(QPointF(c.x() - k, c.y() + k), QPointF(c.x() + k, c.y() - k));
        continue;
      }
      if (color != EMPTY || v == 0) continue;
      // The square grows with certainty, up to half a cell.
      double h = g.cell * 0.25 * std::min(100, std::abs(v)) / 100.0;
      if (h < 1) continue;
      p.setPen(QPen(v > 0 ? Qt::white : Qt::black, 0.6));
      p.setBrush(v > 0 ? Qt::black : Qt::white);
      p.drawRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
    }
  p.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace

int last_move_point(const Figure& f) {
  if (f.tesuu < 1 || f.tesuu > f.move_count) return 0;
  return f.moves[f.tesuu - 1].z;
}

std::array<int, FIGURE_POINTS> stone_numbers(const BoardScene& s) {
  std::array<int, FIGURE_POINTS> shown{};
  const Figure& f = *s.figure;
  int upto = std::min(f.tesuu, f.move_count);
  const bool analysing = s.analysis && f.analysis_base != FIGURE_NUMBER_NONE;
  if (analysing) {
    // Tried moves count from the move where analysis began; the record's own
    // moves keep no numbers then.
    for (int i = f.analysis_base + 1; i <= upto; i++) {
      int z = f.moves[i - 1].z;
      if (z > 0 && f.board[z] != EMPTY) shown[z] = i - f.analysis_base;
    }
  } else if (s.numbers) {
    int offset = f.first_number == FIGURE_NUMBER_NONE ? 0 : f.first_number - 1;
    for (int i = 1; i <= upto; i++) {
      int z = f.moves[i - 1].z;
      if (z > 0 && f.board[z] != EMPTY) shown[z] = i + offset;
    }
  } else if (!s.triangle) {
    int z = last_move_point(f);
    if (z > 0 && f.board[z] != EMPTY) shown[z] = f.tesuu;
  }
  for (int& n : shown)
    if (n > NUMBER_MAX || n < 0) n = 0;
  return shown;
}

BoardGeometry draw_board(QPainter& p, const QRect& area, const BoardScene& s) {
  const Figure& f = *s.figure;
  BoardGeometry g = board_geometry(area.width(), area.height(), f.b_size, s.coord_style, s.with_coords);
  p.save();
  p.setClipRect(area);
  p.translate(area.topLeft());
  p.fillRect(QRect(QPoint(0, 0), area.size()), QColor(BACKGROUND_RED, BACKGROUND_GREEN, BACKGROUND_BLUE));

  QRect board_rect(g.left, g.top, g.extent, g.extent);
  if (textured(s))
    p.drawPixmap(board_rect.topLeft(), scaled_texture(s.board_color, g.extent));
  else
    p.fillRect(board_rect, board_plain_color(s));

  p.setPen(QPen(Qt::black, 0));
  for (int i = 1; i <= g.n; i++) {
    p.drawLine(g.x_of(i), g.y_of(1), g.x_of(i), g.y_of(g.n));
    p.drawLine(g.x_of(1), g.y_of(i), g.x_of(g.n), g.y_of(i));
  }
  p.drawPoint(g.x_of(g.n), g.y_of(g.n));
  draw_star_points(p, g);
  draw_coordinates(p, g, s.coord_style);

  const int half = g.cell / 2;
  for (int y = 1; y <= g.n; y++)
    for (int x = 1; x <= g.n; x++) {
      int color = f.board[figure_z(x, y)];
      if (color == BLACK || color == WHITE) p.drawPixmap(g.x_of(x) - half, g.y_of(y) - half, stone_pixmap(color, g.cell));
    }

  std::array<int, FIGURE_POINTS> numbers = stone_numbers(s);
  QFont two_digits = pixel_font("ＭＳ ゴシック", g.cell * 11 / 20);
  QFont three_digits = pixel_font("ＭＳ ゴシック", g.cell * 9 / 20);
  for (int y = 1; y <= g.n; y++)
    for (int x = 1; x <= g.n; x++) {
      int z = figure_z(x, y);
      if (!numbers[z]) continue;
      const QFont& font = numbers[z] >= 100 ? three_digits : two_digits;
      p.setFont(font);
      p.setPen(f.board[z] == BLACK ? Qt::white : Qt::black);
      draw_centered(p, font, QString::number(numbers[z]), QPointF(g.x_of(x) + 0.5, g.y_of(y) + 0.5));
    }

  int last = last_move_point(f);
  bool analysing = s.analysis && f.analysis_base != FIGURE_NUMBER_NONE;
  bool want_triangle = analysing ? f.tesuu == f.analysis_base : (!s.numbers && s.triangle);
  if (want_triangle && last > 0 && (f.board[last] == BLACK || f.board[last] == WHITE)) {
    int x = g.x_of(figure_x(last)), y = g.y_of(figure_y(last));
    int t = g.cell * 10 / 32;
    int raise = t >= 6 ? 1 : 0;
    QPolygon tri;
    tri << QPoint(x, y - t / 2 - raise) << QPoint(x - t, y + t / 2 - raise) << QPoint(x + t, y + t / 2 - raise);
    p.setPen(Qt::NoPen);
    p.setBrush(f.board[last] == BLACK ? triangle_on_black : triangle_on_white);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.drawPolygon(tri);
    p.setRenderHint(QPainter::Antialiasing, false);
  }

  draw_labels(p, g, s, f);
  if (s.annotation && s.annotation != s.figure) draw_labels(p, g, s, *s.annotation);
  if (s.judgement) draw_judgement(p, g, f, *s.judgement);
  p.restore();
  return g;
}
