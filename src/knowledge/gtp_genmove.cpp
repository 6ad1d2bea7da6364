#include "knowledge/gtp_genmove.h"

#include "core/gtp.h"
#include "core/kifu.h"
#include "core/think.h"

namespace {

int answer_move(const char* args, int cleanup, bool play) {
  int color;
  if (!gtp_parse_color(args, color)) return gtp_failure("invalid color");
  gtp_cleanup_mode = cleanup;
  ThinkResult r = think(color);
  gtp_cleanup_mode = 0;
  if (play) {
    set_kifu_time(r.move, color, int(r.seconds));
    gtp_note_move_time();
  }
  char vertex[16];
  gtp_vertex_text(r.move, vertex);
  gtp_header(false);
  gtp_print("%s\n\n", vertex);
  return 0;
}

int cmd_genmove(const char* args) { return answer_move(args, 0, true); }
int cmd_genmove_cleanup(const char* args) { return answer_move(args, 1, true); }
// Regression suites ask several times on one position: the move is only told.
int cmd_reg_genmove(const char* args) { return answer_move(args, 0, false); }
int cmd_latest_winrate(const char*) { return gtp_success("%.3f", latest_value); }

}  // namespace

void register_genmove_commands() {
  gtp_register("genmove", cmd_genmove);
  gtp_register("kgs-genmove_cleanup", cmd_genmove_cleanup);
  gtp_register("reg_genmove", cmd_reg_genmove);
  gtp_register("miro-latest_winrate", cmd_latest_winrate);
}
