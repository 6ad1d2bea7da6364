#include "editor/print_export_main.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "editor/editor_main.h"
#include "editor/editor_state.h"
#include "editor/image_export.h"
#include "editor/print_layout.h"
#include "editor/settings.h"
#include "records/record_io.h"

namespace {

constexpr int PDF_DPI = 600;

int fail(const std::string& what) {
  std::fprintf(stderr, "ranvel: %s\n", what.c_str());
  return 1;
}

// Qt's notes about its environment (no runtime folder, ...) are not this
// command's business: stderr carries only the one line of a failure.
void quiet_handler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "ranvel: %s\n", message.toLocal8Bit().constData());
}

// Drawing needs Qt's font and image machinery but never a screen.
std::unique_ptr<QGuiApplication> headless_app(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_handler);
  static int qt_argc = 1;
  static char* qt_argv[] = {argv[0], nullptr};
  (void)argc;
  auto app = std::make_unique<QGuiApplication>(qt_argc, qt_argv);
  map_font_names();
  return app;
}

bool parse_int(const char* text, int& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end || v < -1000000 || v > 1000000) return false;
  out = int(v);
  return true;
}

// "whole", "FIRST-LAST" or "split:N".
bool parse_figure(const std::string& s, PrintRequest& r) {
  if (s == "whole") {
    r.kind = FIGURE_WHOLE;
    return true;
  }
  if (s.rfind("split:", 0) == 0) {
    r.kind = FIGURE_SPLIT;
    return parse_int(s.c_str() + 6, r.per_figure) && r.per_figure >= 0;
  }
  size_t dash = s.find('-');
  if (dash == std::string::npos || dash == 0) return false;
  r.kind = FIGURE_PART;
  return parse_int(s.substr(0, dash).c_str(), r.first) && parse_int(s.c_str() + dash + 1, r.last) && r.first >= 0 &&
         r.last >= 0;
}

bool load(const std::string& path, GameRecord& rec, std::string& error) {
  int status = load_record_file(path, rec, false, error);
  if (status == LOAD_OK) return true;
  if (status == LOAD_STOPPED) error = "the record is damaged; reading stopped early";
  error = path + ": " + error;
  return false;
}

int image_kind_of(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == "png") return IMAGE_PNG;
  if (ext == "jpg" || ext == "jpeg") return IMAGE_JPEG;
  if (ext == "gif") return IMAGE_GIF;
  if (ext == "tif" || ext == "tiff") return IMAGE_TIFF;
  return -1;
}

}  // namespace

int print_main(int argc, char** argv) {
  const char* usage = "usage: ranvel --print RECORD OUT.pdf [--figure whole|FIRST-LAST|split:N] [--two-digit]";
  if (argc < 4) return fail(usage);
  PrintRequest r;
  r.two_digit = false;
  for (int i = 4; i < argc; i++) {
    if (std::strcmp(argv[i], "--two-digit") == 0) {
      r.two_digit = true;
    } else if (std::strcmp(argv[i], "--figure") == 0 && i + 1 < argc) {
      if (!parse_figure(argv[++i], r))
        return fail(std::string("--figure ") + argv[i] + ": expected whole, FIRST-LAST or split:N");
    } else {
      return fail(std::string(argv[i]) + ": unknown switch; " + usage);
    }
  }
  static GameRecord rec;
  std::string error;
  if (!load(argv[2], rec, error)) return fail(error);
  auto app = headless_app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[3]);
  // The PDF replaces the file only once every page is written.
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly))
    return fail(std::string(argv[3]) + ": cannot write: " + file.errorString().toStdString());
  bool done;
  {
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("Ranvel Editor"));
    pdf.setTitle(QStringLiteral("Ranvel Editor"));
    pdf.setResolution(PDF_DPI);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    done = print_document(pdf, rec.main, r);
  }
  if (!done) {
    file.cancelWriting();
    return fail(std::string(argv[3]) + ": the pages could not be drawn");
  }
  if (!file.commit()) return fail(std::string(argv[3]) + ": cannot write: " + file.errorString().toStdString());
  return 0;
}

int board_image_main(int argc, char** argv) {
  const char* usage = "usage: ranvel --board-image RECORD OUT.png [--move N] [--size PIXELS]";
  if (argc < 4) return fail(usage);
  int move = -1;
  Settings defaults;
  int size = defaults.ImgSize;
  for (int i = 4; i < argc; i++) {
    bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--move") == 0 && has_value) {
      if (!parse_int(argv[++i], move) || move < 0) return fail(std::string("--move ") + argv[i] + ": not a move number");
    } else if (std::strcmp(argv[i], "--size") == 0 && has_value) {
      if (!parse_int(argv[++i], size)) return fail(std::string("--size ") + argv[i] + ": not a number of pixels");
      size = clamp_image_size(size);
    } else {
      return fail(std::string(argv[i]) + ": unknown switch; " + usage);
    }
  }
  const QString out = QString::fromLocal8Bit(argv[3]);
  const int kind = image_kind_of(out);
  if (kind < 0) return fail(std::string(argv[3]) + ": unknown image kind (use .png, .jpg, .gif or .tiff)");
  static EditorState state;
  std::string error;
  if (!load(argv[2], state.records.working, error)) return fail(error);
  Figure& f = state.working();
  if (move > f.move_count)
    return fail(std::string("--move ") + std::to_string(move) + ": the record has " + std::to_string(f.move_count) +
                " moves");
  f.goto_move(move < 0 ? f.move_count : move);
  auto app = headless_app(argc, argv);
  // The board as the editor shows it with the default view settings.
  BoardScene scene;
  scene.figure = &f;
  scene.annotation = state.annotation(f.tesuu);
  scene.coord_style = defaults.Coordinate;
  scene.numbers = defaults.StoneNumber;
  scene.triangle = defaults.Triangle;
  scene.bmp_board = defaults.AtView;
  scene.board_color = defaults.BoardColor;
  if (!encode_image(out, board_image(scene, size), kind))
    return fail(std::string(argv[3]) + ": cannot write the image (no encoder for this kind, or the folder is not writable)");
  return 0;
}
