#include "knowledge/reading_gtp.h"

#include "core/board.h"
#include "core/gtp.h"
#include "knowledge/reading.h"

namespace {

constexpr int GTP_VERTEX_TEXT = 16;

// The string at the vertex, or a failure already answered (-1 handled).
bool string_at(const char* args, int& z) {
  if (!gtp_parse_vertex(args, z)) {
    gtp_failure("invalid coordinate");
    return false;
  }
  if (gban.ban[z] != BLACK && gban.ban[z] != WHITE) {
    gtp_failure("vertex must not be empty");
    return false;
  }
  return true;
}

int answer(bool yes, int move) {
  if (!yes) return gtp_success("0");
  char text[GTP_VERTEX_TEXT];
  gtp_vertex_text(move, text);
  return gtp_success("1 %s", text);
}

int gtp_attack(const char* args) {
  int z;
  if (!string_at(args, z)) return 0;
  ReadingState& rs = reading_state(0);
  bool dead = kill_string(gban, z, rs) == READ_DEAD;
  return answer(dead, dead ? reading_move(gban, rs) : 0);
}

// A string that cannot be attacked needs no move: "1 PASS".
int gtp_defend(const char* args) {
  int z;
  if (!string_at(args, z)) return 0;
  ReadingState& rs = reading_state(0);
  if (kill_string(gban, z, rs) != READ_DEAD) return answer(true, 0);
  int killing = reading_move(gban, rs);
  bool saved = save_string(gban, z, killing, rs) == READ_LIVE;
  return answer(saved, saved ? reading_move(gban, rs) : 0);
}

}  // namespace

void reading_gtp_register() {
  gtp_register("attack", gtp_attack);
  gtp_register("defend", gtp_defend);
}
