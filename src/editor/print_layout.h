// Printed game figures: which figures a print request makes, what each one
// shows (numbered stones, the list of moves on points already used) and the
// page layout that the printer, the preview and the PDF output all share.
#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <vector>

#include "records/figure.h"

class QPainter;
class QPagedPaintDevice;

enum FigureKind : int { FIGURE_WHOLE = 0, FIGURE_PART = 1, FIGURE_SPLIT = 2 };

// The print request the settings dialog fills (kept for the process).
struct PrintRequest {
  int kind = FIGURE_WHOLE;
  int first = 1;         // part figure
  int last = 0;
  int per_figure = 100;  // split figures
  bool two_digit = true;
  bool continuation = false;  // the page being laid out continues a figure
};

struct FigureRange {
  int first = 1;
  int last = 0;  // last < first: a figure without moves
  bool whole = false;
};

// The figures a request prints for a record of move_count moves, in order.
// A part figure's range is corrected into the record (see the README); split
// figures have at least one move each and the last one ends at the last move.
std::vector<FigureRange> figure_ranges(const PrintRequest& r, int move_count);

// Move n as printed in a figure from move `first` with two-digit numbering:
// n less the largest of 1000, 900 ... 100 below both first and n.
int two_digit_number(int n, int first);

// "6目半", "7目", "半目".
QString komi_text(double komi);
// The time allowance as "3時間", "1時間30分", "40分"; other texts as they stand.
QString time_text(const std::string& sjis_time);
// The four header lines of a printed page.
QStringList print_header_lines(const Figure& record);
// "総譜(1-250)" or "部分譜(101-200)".
QString figure_caption(const FigureRange& range);

// What one figure shows: the position before its first move, the first
// stone played on each point with its printed number, and the moves played
// on points already used in it.
struct PrintedFigure {
  FigureRange range;
  int b_size = 19;
  std::array<int8_t, FIGURE_POINTS> color{};  // colour drawn at each point
  std::array<QString, FIGURE_POINTS> mark;    // number, or a letter on an earlier stone
  QStringList reused;                         // "[%2d,%s]" entries in move order
};

PrintedFigure plan_figure(const Figure& record, const FigureRange& range, bool two_digit);

// Page geometry in tenths of a millimetre (see the README).
constexpr int PRINT_UNITS_PER_MM = 10;
constexpr int PRINT_MARGIN = 150;
constexpr int PRINT_HEADER_FONT = 36;
constexpr int PRINT_LINE = 50;
constexpr int PRINT_CAPTION_FONT = 44;
constexpr int PRINT_CAPTION_LINE = 70;
constexpr int PRINT_GAP = 40;
constexpr int PRINT_LIST_MIN_LINES = 3;
constexpr int PRINT_CELL_MAX = 120;
constexpr int PRINT_LIST_COLUMN_CHARS = 10;

// Lays out one page of a figure on a device of the given pixel size and
// resolution. Page 0 is the figure's first page; a continuation page holds
// the caption and the rest of the list. True when the figure needs another page.
bool layout_page(QPainter& p, int width_px, int height_px, int dpi_x, int dpi_y, const Figure& record,
                 const PrintedFigure& fig, int page);

// Every page of every figure of the request; false when the device cannot be painted on.
bool print_document(QPagedPaintDevice& device, const Figure& record, const PrintRequest& r);
