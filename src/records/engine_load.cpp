#include "records/engine_load.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/board.h"
#include "core/folders.h"
#include "core/gtp.h"
#include "core/kifu.h"
#include "core/log.h"
#include "records/record_io.h"

int engine_take_record(const Figure& main, int moves) {
  ban_size = main.b_size;
  std::memset(initial_ban[ban_size], 0, sizeof initial_ban[ban_size]);
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      int c = main.initial_board[figure_z(x, y)];
      if (c == 1 || c == 2) initial_ban[ban_size][make_z(x, y)] = (int8_t)c;
    }
  }
  init_ban();
  kifu_clear();
  // The engine's side to move after no moves follows the handicap count.
  handicap_stones = main.first_color == 2 ? (main.info.nHand > 0 ? main.info.nHand : 1) : 0;
  if (moves > main.move_count) moves = main.move_count;
  int taken = 0;
  for (; taken < moves; taken++) {
    const FigureMove& m = main.moves[taken];
    int z = m.z == 0 ? 0 : z_from_zc(m.z);
    int r = set_kifu_time(z, m.color, m.time);
    if (r == KIFU_REFUSED) break;
  }
  gban.captured[1] = main.prisoners[0];
  gban.captured[2] = main.prisoners[1];
  fChineseRule = main.info.rule.find("Chinese") != std::string::npos ? 1 : 0;
  PRT("fChineseRule=%d\n", fChineseRule);
  return taken;
}

int gtp_loadsgf(const char* args) {
  char name[4096], second[64];
  int n = std::sscanf(args, "%4095s %63s", name, second);
  if (n < 1) return gtp_failure("missing filename");
  std::string path = user_path(name);
  // A controller's file name need not end in ".sgf".
  RecordFormat format = choose_reader(path);
  if (format == FORMAT_NONE || format == FORMAT_UGZ) format = FORMAT_SGF;
  std::string data, error;
  static GameRecord rec;
  if (!read_whole_file(path, data, error) || (format == FORMAT_SGF && data.find('(') == std::string::npos)) {
    PRT("loadsgf %s: %s\n", path.c_str(), error.empty() ? "no game tree" : error.c_str());
    return gtp_failure("cannot load file");
  }
  read_record(format, data, rec, true);
  // GTP takes the board size and the komi from the file.
  if (rec.main.info.komi_read) komi = rec.main.info.komi;
  int moves = rec.main.tesuu;
  if (n == 2) {
    char* end = nullptr;
    long before = std::strtol(second, &end, 10);
    if (end != second && *end == 0 && before >= 1 && before - 1 < moves) moves = (int)before - 1;
  }
  Figure& m = rec.main;
  m.goto_move(moves);
  // A file that names no rule keeps the rule in effect (the command line's).
  const int rule_in_effect = fChineseRule;
  engine_take_record(m, m.tesuu);
  if (!m.info.rule_read) fChineseRule = rule_in_effect;
  gtp_header(false);
  gtp_print("B");
  gtp_print("\n\n");
  return 0;
}
