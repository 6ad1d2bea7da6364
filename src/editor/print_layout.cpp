#include "editor/print_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/board.h"
#include "editor/board_geometry.h"
#include "core/log.h"
#include "records/sjis.h"

namespace {

constexpr int NUMBER_STEP_MAX = 1000;
constexpr int NUMBER_STEP = 100;
constexpr int LINE_PEN = 3;     // grid lines, 0.3 mm
constexpr int EDGE_PEN = 6;     // the board's edge
constexpr int STONE_PEN = 3;
constexpr int STAR_RADIUS_PERCENT = 9;
constexpr int STONE_RADIUS_PERCENT = 47;  // of the cell: stones do not touch

const char* const GOTHIC = "ＭＳ ゴシック";

QString u(const std::string& sjis) { return QString::fromStdString(cp932_to_utf8(sjis)); }

// printf into Shift_JIS bytes, so that %-10s pads as the monospaced font
// shows it (a double-byte character is two columns wide), then to UTF-8.
QString sjis_format(const char* utf8_format, std::initializer_list<std::string> sjis_args) {
  std::string fmt = utf8_to_cp932(utf8_format);
  std::vector<const char*> a;
  for (const std::string& s : sjis_args) a.push_back(s.c_str());
  while (a.size() < 4) a.push_back("");
  char buf[1024];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  std::snprintf(buf, sizeof buf, fmt.c_str(), a[0], a[1], a[2], a[3]);
#pragma GCC diagnostic pop
  return u(buf);
}

QFont print_font(int units) {
  QFont f(QString::fromUtf8(GOTHIC));
  f.setPixelSize(std::max(1, units));
  // Scaled to the printer, hinted outlines would change the numbers' widths.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

QString stone_letter(int index) {
  QString s;
  do {
    s.prepend(QChar('A' + index % 26));
    index = index / 26 - 1;
  } while (index >= 0);
  return s;
}

// Where things go on a page, in tenths of a millimetre.
struct PageGeometry {
  double width = 0, height = 0;  // the page in layout units
  int cell = 0;
  double board_left = 0, board_top = 0;  // line 1 of column 1 / row 1
  double list_top_first = 0;             // list on the figure's first page
  double list_top_more = 0;              // list on a continuation page
  int columns = 1;
  int lines_first = 0, lines_more = 1;
  double column_width = 0;
};

PageGeometry page_geometry(double width, double height, int n) {
  PageGeometry g;
  g.width = width, g.height = height;
  const double inner_w = width - 2 * PRINT_MARGIN;
  const double header_bottom = PRINT_MARGIN + 4 * PRINT_LINE + PRINT_GAP / 2 + PRINT_CAPTION_LINE;
  const double bottom = height - PRINT_MARGIN;
  const double room = bottom - header_bottom - PRINT_GAP - PRINT_LIST_MIN_LINES * PRINT_LINE;
  g.cell = std::clamp(int(std::min(inner_w, room) / n), 1, PRINT_CELL_MAX);
  const double extent = double(g.cell) * (n - 1);
  g.board_left = PRINT_MARGIN + (inner_w - extent) / 2;
  g.board_top = header_bottom + g.cell / 2.0;
  g.list_top_first = g.board_top + extent + g.cell / 2.0 + PRINT_GAP;
  g.list_top_more = PRINT_MARGIN + PRINT_CAPTION_LINE;
  // The font's half-width characters are half its height wide.
  g.column_width = PRINT_LIST_COLUMN_CHARS * PRINT_HEADER_FONT / 2.0;
  g.columns = std::max(1, int(inner_w / g.column_width));
  g.lines_first = std::max(0, int((bottom - g.list_top_first) / PRINT_LINE));
  g.lines_more = std::max(1, int((bottom - g.list_top_more) / PRINT_LINE));
  return g;
}

void draw_text_line(QPainter& p, double x, double top, const QString& text) {
  p.drawText(QRectF(x, top, 1e5, PRINT_LINE), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void draw_board(QPainter& p, const PageGeometry& g, const PrintedFigure& fig) {
  const int n = fig.b_size;
  const double c = g.cell;
  auto px = [&](int x) { return g.board_left + (x - 1) * c; };
  auto py = [&](int y) { return g.board_top + (y - 1) * c; };
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, LINE_PEN));
  for (int i = 2; i < n; i++) {
    p.drawLine(QPointF(px(i), py(1)), QPointF(px(i), py(n)));
    p.drawLine(QPointF(px(1), py(i)), QPointF(px(n), py(i)));
  }
  p.setPen(QPen(Qt::black, EDGE_PEN, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawRect(QRectF(px(1), py(1), c * (n - 1), c * (n - 1)));

  const QList<QPoint> stars = star_points(n);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const double star = c * STAR_RADIUS_PERCENT / 100.0;
  for (QPoint s : stars) p.drawEllipse(QPointF(px(s.x()), py(s.y())), star, star);

  // r and the number's height follow the printed figure's rule: 7r/6, truncated.
  const int r = g.cell * STONE_RADIUS_PERCENT / 100;
  QFont number_font = print_font(7 * r / 6);
  QFontMetricsF fm(number_font);
  const double digit_height = fm.tightBoundingRect(QStringLiteral("0")).height();
  p.setFont(number_font);
  for (int y = 1; y <= n; y++)
    for (int x = 1; x <= n; x++) {
      int z = figure_z(x, y);
      int color = fig.color[z];
      if (color != BLACK && color != WHITE) continue;
      QPointF at(px(x), py(y));
      p.setPen(QPen(Qt::black, STONE_PEN));
      p.setBrush(color == BLACK ? Qt::black : Qt::white);
      p.drawEllipse(at, r, r);
      const QString& mark = fig.mark[z];
      if (mark.isEmpty()) continue;
      p.setPen(color == BLACK ? Qt::white : Qt::black);
      // Three digits sit a little to the left, as their glyphs lean right.
      double shift = mark.size() >= 3 ? 1 : 0;
      QRectF box(at.x() - r - shift, at.y() - r, 2 * r, 2 * r);
      p.drawText(QRectF(box.left(), at.y() + digit_height / 2 - fm.ascent(), box.width(), fm.height()),
                 Qt::AlignHCenter | Qt::AlignTop, mark);
    }
}

// Entries start..start+count of the list, in rows of g.columns, the last row
// filled with empty brackets.
void draw_list(QPainter& p, const PageGeometry& g, const QStringList& entries, int start, int count, double top) {
  p.setFont(print_font(PRINT_HEADER_FONT));
  p.setPen(Qt::black);
  int rows = (count + g.columns - 1) / g.columns;
  for (int i = 0; i < rows * g.columns; i++) {
    int k = start + i;
    QString text = i < count ? entries[k] : QStringLiteral("[   ]");
    draw_text_line(p, PRINT_MARGIN + (i % g.columns) * g.column_width, top + (i / g.columns) * PRINT_LINE, text);
  }
}

}  // namespace

std::vector<FigureRange> figure_ranges(const PrintRequest& r, int move_count) {
  std::vector<FigureRange> out;
  const int total = std::max(0, move_count);
  if (r.kind == FIGURE_PART) {
    int first = r.first, last = r.last;
    if (first > last) std::swap(first, last);
    const int length = last - first + 1;
    first = std::max(first, 1);
    last = std::min(last, total);
    // A range past the end keeps its length and ends at the last move.
    if (first > last) first = std::max(1, total - length + 1);
    out.push_back({first, last, false});
    return out;
  }
  if (r.kind == FIGURE_SPLIT) {
    const int n = std::max(r.per_figure, 1);
    if (total == 0) out.push_back({1, 0, false});
    for (int first = 1; first <= total; first += n) out.push_back({first, std::min(first + n - 1, total), false});
    return out;
  }
  out.push_back({1, total, true});
  return out;
}

int two_digit_number(int n, int first) {
  for (int h = NUMBER_STEP_MAX; h >= NUMBER_STEP; h -= NUMBER_STEP)
    if (h < first && h < n) return n - h;
  return n;
}

QString komi_text(double komi) {
  double a = std::fabs(komi);
  int whole = int(a);
  bool half = a - whole >= 0.25;
  QString sign = komi < 0 ? QStringLiteral("-") : QString();
  if (half && whole == 0) return sign + QStringLiteral("半目");
  return sign + QString::number(whole) + (half ? QStringLiteral("目半") : QStringLiteral("目"));
}

QString time_text(const std::string& sjis_time) {
  // The records keep the allowance as "J;minutes;..." (SGF TM, UGF Ptime).
  int minutes = -1;
  if (sjis_time.size() > 2 && sjis_time[1] == ';') {
    char* end = nullptr;
    long m = std::strtol(sjis_time.c_str() + 2, &end, 10);
    if (end != sjis_time.c_str() + 2 && m >= 0 && m < 100000) minutes = int(m);
  }
  if (minutes < 0) return u(sjis_time).trimmed();
  QString text;
  if (minutes >= 60) text += QStringLiteral("%1時間").arg(minutes / 60);
  if (minutes % 60 || minutes < 60) text += QStringLiteral("%1分").arg(minutes % 60);
  return text;
}

QStringList print_header_lines(const Figure& record) {
  const GameInfo& g = record.info;
  std::string komi = utf8_to_cp932(komi_text(g.komi).toStdString());
  std::string time = utf8_to_cp932(time_text(g.time[0]).toStdString());
  std::string result = utf8_to_cp932(record.result_text());
  QStringList lines;
  lines << sjis_format("%s   %s %s %s", {g.title[0], g.title[1], g.title[2], g.date[0]}).trimmed();
  lines << sjis_format("黒：%-10s %-6s 場所：%s", {g.black[0], g.black[1], g.place});
  lines << sjis_format("白：%-10s %-6s コミ：%s     持時間 %s", {g.white[0], g.white[1], komi, time});
  lines << sjis_format("総手数：%s手  %-26s 記録者：%s", {std::to_string(record.move_count), result, g.writer});
  return lines;
}

QString figure_caption(const FigureRange& range) {
  int first = range.last < range.first ? 0 : range.first;
  int last = range.last < range.first ? 0 : range.last;
  return QString::asprintf(range.whole ? "総譜(%d-%d)" : "部分譜(%d-%d)", first, last);
}

PrintedFigure plan_figure(const Figure& record, const FigureRange& range, bool two_digit) {
  PrintedFigure out;
  out.range = range;
  out.b_size = record.b_size;
  static thread_local Figure before;  // large: not on the stack
  before = record;
  before.goto_move(range.first - 1);
  for (int z = 0; z < FIGURE_POINTS; z++) {
    int c = before.board[z];
    out.color[z] = (c == BLACK || c == WHITE) ? int8_t(c) : int8_t(EMPTY);
  }
  std::array<bool, FIGURE_POINTS> used{};
  int letters = 0;
  auto printed = [&](int n) { return two_digit && !range.whole ? two_digit_number(n, range.first) : n; };
  const int last = std::min(range.last, int(record.move_count));
  for (int i = std::max(range.first, 1); i <= last; i++) {
    const FigureMove& m = record.moves[i - 1];
    const int z = m.z;
    if (z <= 0 || z >= FIGURE_POINTS) {
      // A pass has no point: listed so that the numbers on the board do not skip silently.
      out.reused << QString::asprintf("[%2d,パス]", printed(i));
      continue;
    }
    if (!used[z] && out.color[z] == EMPTY) {
      used[z] = true;
      out.color[z] = int8_t(m.color);
      out.mark[z] = QString::number(printed(i));
      continue;
    }
    // The point shows an earlier stone: a stone of this figure (ko, a
    // retaken point) keeps its number; one from before the figure gets a letter.
    if (!used[z]) {
      used[z] = true;
      out.mark[z] = stone_letter(letters++);
    }
    out.reused << QString::asprintf("[%2d,%s]", printed(i), qPrintable(out.mark[z]));
  }
  return out;
}

bool layout_page(QPainter& p, int width_px, int height_px, int dpi_x, int dpi_y, const Figure& record,
                 const PrintedFigure& fig, int page) {
  PRT("xSize=%d,ySize=%d,xRes=%d,yRes=%d\n", width_px, height_px, dpi_x, dpi_y);
  const double sx = dpi_x / 25.4 / PRINT_UNITS_PER_MM, sy = dpi_y / 25.4 / PRINT_UNITS_PER_MM;
  PageGeometry g = page_geometry(width_px / sx, height_px / sy, fig.b_size);
  p.save();
  p.scale(sx, sy);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);

  double y = PRINT_MARGIN;
  const int total = int(fig.reused.size());
  int start = 0, capacity = g.lines_first * g.columns;
  if (page == 0) {
    p.setFont(print_font(PRINT_HEADER_FONT));
    p.setPen(Qt::black);
    for (const QString& line : print_header_lines(record)) {
      draw_text_line(p, PRINT_MARGIN, y, line);
      y += PRINT_LINE;
    }
    y += PRINT_GAP / 2;
  } else {
    start = capacity + (page - 1) * g.lines_more * g.columns;
    capacity = g.lines_more * g.columns;
  }
  QFont caption = print_font(PRINT_CAPTION_FONT);
  caption.setBold(true);
  p.setFont(caption);
  p.setPen(Qt::black);
  QString caption_text = figure_caption(fig.range);
  if (page > 0) caption_text += QStringLiteral("（続き）");
  p.drawText(QRectF(PRINT_MARGIN, y, g.width - 2 * PRINT_MARGIN, PRINT_CAPTION_LINE),
             Qt::AlignHCenter | Qt::AlignVCenter, caption_text);

  if (page == 0) draw_board(p, g, fig);
  const int count = std::clamp(total - start, 0, capacity);
  draw_list(p, g, fig.reused, start, count, page == 0 ? g.list_top_first : g.list_top_more);
  p.restore();
  return start + count < total;
}

bool print_document(QPagedPaintDevice& device, const Figure& record, const PrintRequest& r) {
  QPainter p;
  if (!p.begin(&device)) return false;
  bool first_page = true;
  for (const FigureRange& range : figure_ranges(r, record.move_count)) {
    PrintedFigure fig = plan_figure(record, range, r.two_digit);
    for (int page = 0;; page++) {
      if (!first_page && !device.newPage()) return false;
      first_page = false;
      bool more = layout_page(p, device.width(), device.height(), device.logicalDpiX(), device.logicalDpiY(),
                              record, fig, page);
      if (!more) break;
    }
  }
  return p.end();
}
