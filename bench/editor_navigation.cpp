// One navigation step of the editor at 19x19 in a 1280x800 window: the move
// change and the full repaint of the board view, as a key press does it.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "editor/board_view.h"
#include "editor/editor_main.h"
#include "editor/main_window.h"

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

struct Editor {
  QTemporaryDir dir;
  QSettings store{dir.filePath("bench.ini"), QSettings::IniFormat};
  MainWindow w{&store};
  Editor(bool numbers) {
    w.setGeometry(0, 0, 1280, 800);
    w.settings().StoneNumber = numbers;
    make_game(w.state().working());
    w.show();
    w.go_to_move(0);
    QApplication::processEvents();
  }
};

void step(benchmark::State& state, bool numbers) {
  Editor e(numbers);
  Figure& f = e.w.state().working();
  int n = 0;
  for (auto _ : state) {
    n = n >= GAME_MOVES ? 0 : n + 1;
    e.w.go_to_move(n);
    e.w.board_view()->repaint();
  }
  state.counters["board_px"] = e.w.board_view()->width();
  benchmark::DoNotOptimize(f.tesuu);
}

void BM_navigation_step(benchmark::State& state) { step(state, false); }
void BM_navigation_step_with_numbers(benchmark::State& state) { step(state, true); }

void BM_draw_board_only(benchmark::State& state) {
  Figure f;
  make_game(f);
  BoardScene s;
  s.figure = &f;
  s.numbers = true;
  s.coord_style = 3;
  QImage img(780, 740, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&img);
    draw_board(p, img.rect(), s);
  }
}

}  // namespace

BENCHMARK(BM_navigation_step)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_navigation_step_with_numbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_draw_board_only)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  map_font_names();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
