// Mimic go (真似碁): answers an opponent who copies every move through the
// centre of the 19x19 board.
#pragma once

constexpr int MIMIC_CENTER = 0x0A0A;
constexpr int MIMIC_LIST_LEN = 19;
// The points White fills around Black's centre stone, White's first.
extern const int mimic_list[MIMIC_LIST_LEN];

// True when every point and its mirror through the centre are both empty or
// hold opposite colours.
bool point_symmetric(const int* ban, int size);
// The mimic-go answer for color on the global board, or 0.
int mimic_response(int color);
