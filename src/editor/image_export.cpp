#include "editor/image_export.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

#include "editor/settings.h"

namespace {

const char* const kind_formats[] = {"png", "jpeg", "gif", "tiff"};
constexpr int IMAGE_KIND_COUNT = 4;

}  // namespace

int clamp_image_size(int pixels) { return std::clamp(pixels, IMG_SIZE_MIN, IMG_SIZE_MAX); }

QString png_file_name(const QString& name) {
  // Only the file's own name counts: a dot in a folder name is no extension.
  const int slash = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
  const int dot = name.lastIndexOf('.');
  if (dot <= slash) return name + QStringLiteral(".png");
  if (name.mid(dot).compare(QStringLiteral(".png"), Qt::CaseInsensitive) == 0) return name;
  return name.left(dot) + QStringLiteral(".png");
}

bool encode_image(const QString& file_name, const QImage& image, int kind) {
  if (kind < 0 || kind >= IMAGE_KIND_COUNT || image.isNull()) return false;
  const QByteArray format(kind_formats[kind]);
  if (!QImageWriter::supportedImageFormats().contains(format)) return false;
  // Written beside the target and renamed over it only when complete.
  QSaveFile file(file_name);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&file, format);
  // JPEG has no alpha channel and TIFF readers differ on it: plain RGB for both.
  QImage out = kind == IMAGE_PNG ? image : image.convertToFormat(QImage::Format_RGB32);
  if (!writer.write(out)) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QImage board_image(const BoardScene& scene, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  image.fill(Qt::white);
  QPainter p(&image);
  draw_board(p, image.rect(), scene);
  p.end();
  return image;
}

int save_board_image(const QString& file_name, int size, const BoardScene& scene, QString* failure) {
  QImage image = scene.figure && size > 0 ? board_image(scene, size) : QImage();
  if (image.isNull()) {
    if (failure) *failure = QStringLiteral("fail png save");
    return 0;
  }
  if (!encode_image(file_name, image, IMAGE_PNG)) {
    if (failure) *failure = QStringLiteral("画像の保存に失敗しました");
    return 0;
  }
  return 1;
}
