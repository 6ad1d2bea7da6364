// Writes the editor's generated resources as files: the stone sound, and on
// request every stone image and the board textures as PNG for a look at them.
//   resgen --sound DIR     miro.wav
//   resgen --images DIR    black_NN.png, white_NN.png, board_N.png
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>

#include "editor/stone_images.h"
#include "editor/stone_sound.h"

int main(int argc, char** argv) {
  if (argc != 3 || (strcmp(argv[1], "--sound") && strcmp(argv[1], "--images"))) {
    fprintf(stderr, "usage: resgen --sound DIR | --images DIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[2]));
  if (!dir.mkpath(".")) {
    fprintf(stderr, "resgen: cannot create %s\n", argv[2]);
    return 1;
  }
  if (!strcmp(argv[1], "--sound")) {
    QFile f(dir.filePath("miro.wav"));
    QByteArray wav = make_stone_sound();
    if (!f.open(QIODevice::WriteOnly) || f.write(wav) != wav.size()) {
      fprintf(stderr, "resgen: cannot write %s\n", qPrintable(f.fileName()));
      return 1;
    }
    return 0;
  }
  for (int size : stone_nominal_sizes) {
    if (!make_stone_image(1, size).save(dir.filePath(QString::asprintf("black_%03d.png", size))) ||
        !make_stone_image(2, size).save(dir.filePath(QString::asprintf("white_%03d.png", size)))) {
      fprintf(stderr, "resgen: cannot write the stone images\n");
      return 1;
    }
  }
  for (int i = 0; i < BOARD_TEXTURE_COUNT; i++)
    if (!make_board_texture(i).save(dir.filePath(QString::asprintf("board_%d.png", i)))) {
      fprintf(stderr, "resgen: cannot write the board textures\n");
      return 1;
    }
  return 0;
}
