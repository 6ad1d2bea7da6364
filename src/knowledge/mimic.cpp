#include "knowledge/mimic.h"

#include "core/board.h"
#include "core/kifu.h"
#include "core/log.h"

const int mimic_list[MIMIC_LIST_LEN] = {0x0B0A, 0x090A, 0x0B09, 0x090B, 0x0B0B, 0x0909, 0x0908,
                                        0x0B0C, 0x090C, 0x0B08, 0x0809, 0x0C0B, 0x080B, 0x0C09,
                                        0x080A, 0x0C0A, 0x0A09, 0x0A0B, 0x0A0C};

namespace {
constexpr int MIMIC_SIZE = 19;
// Black takes the centre when White has copied this many moves.
constexpr int MIMIC_CENTER_MOVE_A = 10;
constexpr int MIMIC_CENTER_MOVE_B = 11;
}  // namespace

bool point_symmetric(const int* ban, int size) {
  const int center = make_z(size / 2 + 1, size / 2 + 1);
  for (int y = 1; y <= size; y++) {
    for (int x = 1; x <= size; x++) {
      const int z = make_z(x, y);
      if (z >= center) return true;
      const int a = ban[z], b = ban[make_z(size + 1 - x, size + 1 - y)];
      if (a == EMPTY && b == EMPTY) continue;
      if ((a == BLACK && b == WHITE) || (a == WHITE && b == BLACK)) continue;
      return false;
    }
  }
  return true;
}

int mimic_response(int color) {
  if (gban.size != MIMIC_SIZE || !point_symmetric(gban.ban, gban.size)) return 0;
  int z = 0;
  if (color == BLACK) {
    if ((tesuu == MIMIC_CENTER_MOVE_A || tesuu == MIMIC_CENTER_MOVE_B) && gban.ban[MIMIC_CENTER] == EMPTY) {
      z = MIMIC_CENTER;
    }
  } else if (gban.ban[MIMIC_CENTER] == BLACK) {
    int expected = WHITE;
    for (int p : mimic_list) {
      if (gban.ban[p] != expected) {
        if (gban.ban[p] == EMPTY) z = p;
        break;
      }
      expected = opponent(expected);
    }
  }
  if (z == 0) return 0;
  int occupied = 0;
  for (int d : {1, -1, 256, -256}) occupied += gban.ban[z + d] != EMPTY;
  if (occupied == 4) return 0;
  PRT("真似碁！\n");
  return z;
}
