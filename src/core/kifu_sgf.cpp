#include "core/kifu_sgf.h"

#include <cstdio>

#include "core/gtp.h"
#include "core/kifu.h"

namespace {
char sgf_coord(int v) { return char('a' + v - 1); }
}  // namespace

std::string kifu_to_sgf() {
  char buf[64];
  std::string sgf = "(;GM[1]FF[4]CA[UTF-8]AP[Ranvel]";
  snprintf(buf, sizeof buf, "SZ[%d]KM[%.1f]", ban_size, komi);
  sgf += buf;
  if (fChineseRule) sgf += "RU[Chinese]";
  std::string ab, aw;
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int c = initial_ban[ban_size][make_z(x, y)];
      if (c != BLACK && c != WHITE) continue;
      std::string& list = c == BLACK ? ab : aw;
      list += '[';
      list += sgf_coord(x);
      list += sgf_coord(y);
      list += ']';
    }
  }
  if (!ab.empty()) sgf += "AB" + ab;
  if (!aw.empty()) sgf += "AW" + aw;
  for (int i = 1; i <= tesuu; i++) {
    const KifuEntry& k = kifu[i];
    sgf += k.color == BLACK ? ";B[" : ";W[";
    if (k.z) {
      sgf += sgf_coord(z_x(k.z));
      sgf += sgf_coord(z_y(k.z));
    }
    sgf += ']';
  }
  sgf += ")\n";
  return sgf;
}
