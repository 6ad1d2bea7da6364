// Printed figures into a PDF in memory: a 300-move 19x19 game as split
// figures of 100 moves (three pages) and as the whole game on one page.
#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

#include "editor/editor_main.h"
#include "editor/print_layout.h"

namespace {

constexpr int GAME_MOVES = 300;

// A legal 300-move game from a fixed sequence of random points.
void make_game(Figure& f) {
  f.reset();
  f.set_size(19);
  uint32_t r = 12345;
  while (f.move_count < GAME_MOVES) {
    r = r * 1103515245u + 12345u;
    int z = figure_z(1 + int((r >> 8) % 19), 1 + int((r >> 16) % 19));
    if (f.board[z] != 0) continue;
    Figure trial = f;
    int color = f.side_to_move();
    if (trial.play_on_figure(z, color) != FIGURE_OK) continue;
    f.append_move(z, color);
    f.goto_move(f.move_count);
  }
}

void print_pdf(benchmark::State& state, int kind) {
  static Figure game;
  make_game(game);
  PrintRequest r;
  r.kind = kind;
  r.per_figure = 100;
  const int pages = int(figure_ranges(r, game.move_count).size());
  size_t bytes = 0;
  for (auto _ : state) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
      QPdfWriter writer(&buffer);
      writer.setResolution(600);
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      print_document(writer, game, r);
    }
    bytes = pdf.size();
  }
  state.counters["pages_per_s"] =
      benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["pdf_bytes"] = double(bytes);
}

void BM_print_split_figures(benchmark::State& state) { print_pdf(state, FIGURE_SPLIT); }
void BM_print_whole_game(benchmark::State& state) { print_pdf(state, FIGURE_WHOLE); }

}  // namespace

BENCHMARK(BM_print_split_figures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_print_whole_game)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  map_font_names();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
