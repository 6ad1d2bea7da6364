// Printed figures: which figures a request makes, what each figure shows,
// the header texts, and the pages that reach the PDF.
#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include "core/board.h"
#include "editor/editor_main.h"
#include "editor/print_layout.h"
#include "qt_env.h"
#include "records/sjis.h"

namespace {

int at(int x, int y) { return figure_z(x, y); }

// A legal game of `moves` moves on 19x19 from a fixed sequence of points.
void make_game(Figure& f, int moves) {
  f.reset();
  f.set_size(19);
  uint32_t r = 2024;
  while (f.move_count < moves) {
    r = r * 1103515245u + 12345u;
    int z = figure_z(1 + int((r >> 8) % 19), 1 + int((r >> 16) % 19));
    if (f.board[z] != EMPTY) continue;
    Figure trial = f;
    int color = f.side_to_move();
    if (trial.play_on_figure(z, color) != FIGURE_OK) continue;
    f.append_move(z, color);
    f.goto_move(f.move_count);
  }
}

// A ko on 9x9: Black 1 is taken by White 2, Black 5 and White 8 retake.
void make_ko_fight(Figure& f) {
  f.reset();
  f.set_size(9);
  for (int z : {at(3, 2), at(2, 3), at(3, 4)}) f.initial_board[z] = BLACK;
  for (int z : {at(4, 2), at(5, 3), at(4, 4)}) f.initial_board[z] = WHITE;
  const int moves[] = {at(4, 3), at(3, 3), at(7, 7), at(7, 8), at(4, 3), at(7, 6), at(7, 5), at(3, 3)};
  int color = BLACK;
  for (int z : moves) {
    f.append_move(z, color);
    color = 3 - color;
  }
  f.goto_move(f.move_count);
}

std::vector<std::pair<int, int>> ranges_of(int kind, int first, int last, int per, int moves) {
  PrintRequest r;
  r.kind = kind, r.first = first, r.last = last, r.per_figure = per;
  std::vector<std::pair<int, int>> out;
  for (const FigureRange& fr : figure_ranges(r, moves)) out.push_back({fr.first, fr.last});
  return out;
}

using Ranges = std::vector<std::pair<int, int>>;

TEST(FigureRanges, SplitFiguresCoverTheGameAndEndAtTheLastMove) {
  EXPECT_EQ(ranges_of(FIGURE_SPLIT, 0, 0, 100, 250), (Ranges{{1, 100}, {101, 200}, {201, 250}}));
  EXPECT_EQ(ranges_of(FIGURE_SPLIT, 0, 0, 100, 200), (Ranges{{1, 100}, {101, 200}}));
  // A game shorter than one figure is not printed as 1-100.
  EXPECT_EQ(ranges_of(FIGURE_SPLIT, 0, 0, 100, 40), (Ranges{{1, 40}}));
  Ranges ones = ranges_of(FIGURE_SPLIT, 0, 0, 0, 5);
  EXPECT_EQ(ones, (Ranges{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
  // No moves: one empty figure with the position.
  EXPECT_EQ(ranges_of(FIGURE_SPLIT, 0, 0, 100, 0).size(), 1u);
}

TEST(FigureRanges, PartFigureOutOfRangeIsCorrectedNotDropped) {
  EXPECT_EQ(ranges_of(FIGURE_PART, 51, 120, 0, 250), (Ranges{{51, 120}}));
  EXPECT_EQ(ranges_of(FIGURE_PART, 120, 51, 0, 250), (Ranges{{51, 120}}));  // reversed: swapped
  EXPECT_EQ(ranges_of(FIGURE_PART, 0, 30, 0, 250), (Ranges{{1, 30}}));
  EXPECT_EQ(ranges_of(FIGURE_PART, 200, 400, 0, 250), (Ranges{{200, 250}}));
  // Past the end: the same length, ending at the last move.
  EXPECT_EQ(ranges_of(FIGURE_PART, 300, 349, 0, 250), (Ranges{{201, 250}}));
  EXPECT_EQ(ranges_of(FIGURE_PART, 900, 2000, 0, 250), (Ranges{{1, 250}}));
  Ranges empty = ranges_of(FIGURE_PART, 5, 10, 0, 0);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_LT(empty[0].second, empty[0].first);
  EXPECT_EQ(ranges_of(FIGURE_WHOLE, 7, 9, 3, 250), (Ranges{{1, 250}}));
}

TEST(FigureNumbers, TwoDigitNumberingDropsTheHundredsBelowTheFigure) {
  EXPECT_EQ(two_digit_number(160, 151), 60);
  EXPECT_EQ(two_digit_number(201, 151), 101);  // only the hundreds below the first move go
  EXPECT_EQ(two_digit_number(101, 101), 1);
  EXPECT_EQ(two_digit_number(150, 100), 150);  // 100 is not below 100
  EXPECT_EQ(two_digit_number(1234, 1201), 234);
  EXPECT_EQ(two_digit_number(30, 1), 30);

  static Figure game;
  make_game(game, 250);
  FigureRange range{151, 200, false};
  PrintedFigure two = plan_figure(game, range, true);
  PrintedFigure plain = plan_figure(game, range, false);
  const int z160 = game.moves[159].z;
  EXPECT_EQ(plain.mark[z160], "160");
  EXPECT_EQ(two.mark[z160], "60");
  // The whole game never shortens its numbers.
  PrintedFigure whole = plan_figure(game, FigureRange{1, 250, true}, true);
  EXPECT_EQ(whole.mark[game.moves[0].z], "1");
  int shown = 0;
  for (const QString& m : whole.mark) shown += !m.isEmpty();
  EXPECT_EQ(shown + whole.reused.size(), 250);
}

TEST(FigureContents, KoRetakesAreListedWithTheStoneWhosePointTheyTook) {
  static Figure ko;
  make_ko_fight(ko);
  PrintedFigure fig = plan_figure(ko, FigureRange{1, 8, true}, false);
  EXPECT_EQ(fig.reused, (QStringList{"[ 5,1]", "[ 8,2]"}));
  EXPECT_EQ(fig.mark[at(4, 3)], "1");
  EXPECT_EQ(fig.color[at(4, 3)], BLACK);
  EXPECT_EQ(fig.mark[at(3, 3)], "2");
  EXPECT_EQ(fig.color[at(3, 3)], WHITE);
  EXPECT_EQ(fig.color[at(3, 2)], BLACK);  // the setup stones stay, without numbers
  EXPECT_TRUE(fig.mark[at(3, 2)].isEmpty());

  // From move 3 the board shows the position after 2: White's stone on the
  // ko point is older than the figure, so the retake names it by a letter.
  PrintedFigure part = plan_figure(ko, FigureRange{3, 8, false}, false);
  EXPECT_EQ(part.color[at(3, 3)], WHITE);
  EXPECT_EQ(part.mark[at(3, 3)], "A");
  EXPECT_EQ(part.mark[at(4, 3)], "5");
  EXPECT_EQ(part.reused, QStringList{"[ 8,A]"});

  Figure with_pass = ko;
  with_pass.append_move(0, BLACK);
  PrintedFigure passed = plan_figure(with_pass, FigureRange{1, 9, true}, false);
  EXPECT_EQ(passed.reused.last(), QStringLiteral("[ 9,パス]"));
}

TEST(PrintHeader, KomiTimeAndPaddedColumns) {
  EXPECT_EQ(komi_text(6.5), QStringLiteral("6目半"));
  EXPECT_EQ(komi_text(7), QStringLiteral("7目"));
  EXPECT_EQ(komi_text(0.5), QStringLiteral("半目"));
  EXPECT_EQ(komi_text(0), QStringLiteral("0目"));
  EXPECT_EQ(time_text("J;180;0;0"), QStringLiteral("3時間"));
  EXPECT_EQ(time_text("J;90;0;0"), QStringLiteral("1時間30分"));
  EXPECT_EQ(time_text("J;40;0;0"), QStringLiteral("40分"));
  EXPECT_EQ(time_text(utf8_to_cp932("各5時間")), QStringLiteral("各5時間"));
  EXPECT_EQ(time_text(""), QString());

  static Figure f;
  make_ko_fight(f);
  f.info.title[0] = utf8_to_cp932("本因坊戦");
  f.info.title[1] = utf8_to_cp932("第1局");
  f.info.date[0] = "2013-04-12";
  f.info.black[0] = utf8_to_cp932("黒田");
  f.info.black[1] = utf8_to_cp932("九段");
  f.info.white[0] = "Shiro";
  f.info.place = utf8_to_cp932("東京");
  f.info.komi = 6.5;
  f.info.time[0] = "J;180;0;0";
  f.info.winner[0] = "W";
  f.info.winner[1] = "C";
  f.info.writer = "rec";
  QStringList h = print_header_lines(f);
  ASSERT_EQ(h.size(), 4);
  EXPECT_EQ(h[0], QStringLiteral("本因坊戦   第1局  2013-04-12"));
  // Names and ranks are padded by the columns the monospaced font gives them.
  EXPECT_EQ(h[1], QStringLiteral("黒：黒田       九段   場所：東京"));
  EXPECT_EQ(h[2], QStringLiteral("白：Shiro             コミ：6目半     持時間 3時間"));
  EXPECT_TRUE(h[3].startsWith(QStringLiteral("総手数：8手  白 中押し勝ち")));
  EXPECT_TRUE(h[3].endsWith(QStringLiteral("記録者：rec")));
  EXPECT_EQ(figure_caption(FigureRange{1, 8, true}), QStringLiteral("総譜(1-8)"));
  EXPECT_EQ(figure_caption(FigureRange{101, 200, false}), QStringLiteral("部分譜(101-200)"));
  EXPECT_EQ(figure_caption(FigureRange{1, 0, true}), QStringLiteral("総譜(0-0)"));
}

int pdf_pages(const QByteArray& pdf) {
  int pages = 0;
  for (qsizetype i = 0; (i = pdf.indexOf("/Type /Page", i)) >= 0; i++)
    if (!pdf.mid(i, 12).endsWith('s')) pages++;
  return pages;
}

QByteArray print_pdf(const Figure& f, const PrintRequest& r) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(300);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    EXPECT_TRUE(print_document(pdf, f, r));
  }
  return bytes;
}

// One page per figure, whole and split, is checked through ranvel --print.
TEST(PrintDocument, AListLongerThanThePageContinuesOnAnotherPage) {
  map_font_names();
  // 250 passes make a list longer than the first page holds.
  static Figure passes;
  passes.reset();
  passes.set_size(19);
  for (int i = 0; i < 250; i++) passes.append_move(0, i % 2 ? WHITE : BLACK);
  EXPECT_EQ(pdf_pages(print_pdf(passes, PrintRequest{})), 2);
}

// The page drawn at a low resolution: numbers contrast with their stones.
TEST(PrintDocument, NumbersAreWhiteOnBlackAndBlackOnWhite) {
  map_font_names();
  static Figure ko;
  make_ko_fight(ko);
  constexpr int DPI = 150;
  QImage page(int(210 / 25.4 * DPI), int(297 / 25.4 * DPI), QImage::Format_RGB32);
  page.fill(Qt::white);
  PrintedFigure fig = plan_figure(ko, FigureRange{1, 8, true}, false);
  {
    QPainter p(&page);
    EXPECT_FALSE(layout_page(p, page.width(), page.height(), DPI, DPI, ko, fig, 0));
  }
  // Find the stones by their colour over the board and look inside them.
  auto count_in_disc = [&](QPoint c, int radius, bool light) {
    int n = 0;
    for (int dy = -radius; dy <= radius; dy++)
      for (int dx = -radius; dx <= radius; dx++) {
        int g = qGray(page.pixel(c.x() + dx, c.y() + dy));
        n += light ? g > 200 : g < 60;
      }
    return n;
  };
  // Board geometry as the layout chooses it for 9x9 on A4 at 150 dpi.
  const double unit = DPI / 254.0;
  const int cell = PRINT_CELL_MAX;
  const double left = PRINT_MARGIN + (1800 - cell * 8) / 2.0;
  const double top = PRINT_MARGIN + 4 * PRINT_LINE + PRINT_GAP / 2 + PRINT_CAPTION_LINE + cell / 2.0;
  auto pixel = [&](int x, int y) { return QPoint(int((left + (x - 1) * cell) * unit), int((top + (y - 1) * cell) * unit)); };
  const int inner = int(cell * 0.25 * unit);
  // Black 1 at (4,3): some white digit pixels inside a black disc.
  EXPECT_GT(count_in_disc(pixel(4, 3), inner, true), 3);
  EXPECT_GT(count_in_disc(pixel(4, 3), inner, false), 3 * inner);
  // White 2 at (3,3): dark digit pixels on white.
  EXPECT_GT(count_in_disc(pixel(3, 3), inner, false), 3);
  // A black setup stone without a number is black all through.
  EXPECT_EQ(count_in_disc(pixel(3, 2), inner, true), 0);
}

}  // namespace
