// Stone images for the nominal cell sizes and the wood board textures, drawn
// by the program itself at first use and kept for its life.
#pragma once
#include <QImage>

constexpr int STONE_SIZE_COUNT = 37;
constexpr int STONE_SIZE_MIN = 9;
constexpr int STONE_SIZE_MAX = 211;
constexpr int BOARD_TEXTURE_COUNT = 3;
constexpr int BOARD_TEXTURE_SIZE = 512;

// 9, 11 … 61, 71 … 111, 131 … 211.
extern const int stone_nominal_sizes[STONE_SIZE_COUNT];

bool has_stone_image(int size);
// The stone of colour 1 (black) or 2 (white) for a nominal size that has an image.
const QImage& stone_image(int color, int size);
// Texture 0, 1 or 2 (the three board colours).
const QImage& board_texture(int which);

// The drawing itself, for the generator tool and the tests.
QImage make_stone_image(int color, int size);
QImage make_board_texture(int which);
