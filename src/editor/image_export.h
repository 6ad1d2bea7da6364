// Saving the board as an image file: the name and size rules of the image
// dialog, the drawing into an image and the encoders by kind.
#pragma once
#include <QString>

#include "editor/board_scene.h"

class QImage;

enum ImageKind : int { IMAGE_PNG = 0, IMAGE_JPEG = 1, IMAGE_GIF = 2, IMAGE_TIFF = 3 };

// The size field's value kept within 20..2000 pixels.
int clamp_image_size(int pixels);
// The file name with its extension made ".png" (appended when it has none).
QString png_file_name(const QString& name);

// Writes the image with the encoder for the kind; false for an unknown kind,
// a missing encoder or a failed write, which leaves no file behind.
bool encode_image(const QString& file_name, const QImage& image, int kind);
// The board view's drawing of the scene into a size x size image (the export
// drawing takes its square from the image, not from a window).
QImage board_image(const BoardScene& scene, int size);
// board_image encoded as PNG; 1 on success, 0 on failure with the message
// the user is shown in *failure ("fail png save" when no image could be made).
int save_board_image(const QString& file_name, int size, const BoardScene& scene, QString* failure = nullptr);
