#include "core/gtp.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/board.h"
#include "core/kifu.h"
#include "core/time_control.h"
#include "core/log.h"

double komi = 6.5;
int gtp_cleanup_mode;

namespace {

constexpr int GTP_PROTOCOL_VERSION = 2;
constexpr int GTP_PRINT_BUF = 2048;

FILE* gtp_out = stdout;
int command_id = -1;
int64_t last_move_stamp;

int64_t now_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void vprint(const char* fmt, va_list ap) {
  char buf[GTP_PRINT_BUF];
  vsnprintf(buf, sizeof buf, fmt, ap);
  fputs(buf, gtp_out);
  PRT("-->%s", buf);
}

void new_game() {
  FILE* cgos = fopen("cgoslog.txt", "r");
  if (!cgos) PRT("fail open cgoslog.\n");
  if (access("abort_cleanly", F_OK) == 0 && !cgos) {
    remove("abort_cleanly");
    exit(0);
  }
  if (cgos) fclose(cgos);
  ban_clear();
  kifu_clear();
  handicap_stones = 0;
  PRT("ban_clear!\n");
  last_move_stamp = now_ms();
}

void skip_space(const char*& s) {
  while (*s == ' ' || *s == '\t') s++;
}

// Reads a word of at most max characters, lower-cased.
int read_word(const char* s, char* word, int max) {
  const char* p = s;
  skip_space(p);
  int n = 0;
  while (*p && !isspace((unsigned char)*p)) {
    if (n < max) word[n++] = char(tolower((unsigned char)*p));
    else return 0;
    p++;
  }
  word[n] = 0;
  return n ? int(p - s) : 0;
}

int cmd_protocol_version(const char*) { return gtp_success("%d", GTP_PROTOCOL_VERSION); }
int cmd_name(const char*) { return gtp_success("Miro"); }
int cmd_version(const char*) { return gtp_success(" Editor 1.04"); }

int cmd_known_command(const char* args) {
  char word[256];
  if (sscanf(args, "%255s", word) != 1) return gtp_success("false");
  return gtp_success("%s", gtp_known(word) ? "true" : "false");
}

int cmd_list_commands(const char*);

int cmd_quit(const char*) {
  gtp_success("%s", "");
  return -1;
}

int cmd_boardsize(const char* args) {
  int n;
  if (sscanf(args, "%d", &n) != 1) return gtp_failure("boardsize not an integer");
  if (n < 5 || n > BOARD_MAX) return gtp_failure("unacceptable size");
  ban_size = n;
  PRT("ban_size=%d\n", ban_size);
  new_game();
  return gtp_success("%s", "");
}

int cmd_clear_board(const char*) {
  new_game();
  return gtp_success("%s", "");
}

int cmd_komi(const char* args) {
  float k;
  if (sscanf(args, "%f", &k) != 1) return gtp_failure("komi not a float");
  komi = k;
  return gtp_success("%s", "");
}

int cmd_get_komi(const char*) { return gtp_success("%.1f", komi); }

// A move that recreates an earlier position of the game (whoever is to move).
bool repeats_position(int z, int color) {
  if (z == 0) return false;
  if (put_stone(gban, z, color) != PUT_OK) return false;
  Hash96 h = hash_without_ko(gban), other = h;
  other.complement();
  take_back(gban, z, color);
  for (int i = 0; i <= tesuu; i++) {
    if (hash_go_noko[i] == h || hash_go_noko[i] == other) return true;
  }
  return false;
}

int cmd_play(const char* args) {
  int z, color;
  if (!gtp_parse_move(args, z, color)) return gtp_failure("invalid color or coordinate");
  if (z != 0 && gban.ban[z] != EMPTY) return gtp_failure("illegal move");
  if (repeats_position(z, color)) return gtp_failure("illegal move");
  int seconds = int((now_ms() + 1 - last_move_stamp) * 0.001);
  if (set_kifu_time(z, color, seconds) == KIFU_REFUSED) return gtp_failure("illegal move");
  last_move_stamp = now_ms();
  return gtp_success("%s", "");
}

int cmd_undo(const char*) {
  if (tesuu > 0) {
    replay_kifu(tesuu - 1);
    tesuu--;
    kifu_length = tesuu;
  }
  return gtp_success("%s", "");
}

int cmd_time_left(const char* args) {
  int color, a, b;
  int n = gtp_parse_color(args, color);
  if (!n) return gtp_failure("invalid color");
  if (sscanf(args + n, "%d %d", &a, &b) != 2) return gtp_failure("time and stones not two integers");
  time_control_left(color, a, b);
  return gtp_success("%s", "");
}

int cmd_time_settings(const char* args) {
  int a, b, c;
  if (sscanf(args, "%d %d %d", &a, &b, &c) != 3) return gtp_failure("not three integers");
  time_control_settings(a, b, c);
  return gtp_success("%s", "");
}

void clear_game() {
  ban_clear();
  kifu_clear();
  handicap_stones = 0;
}

int cmd_set_free_handicap(const char* args) {
  clear_game();
  int placed = 0;
  const char* p = args;
  while (true) {
    int z;
    int n = gtp_parse_vertex(p, z);
    if (!n) {
      skip_space(p);
      if (*p == 0 || *p == '\n' || *p == '\r') break;
      clear_game();
      return gtp_failure("invalid coordinate");
    }
    p += n;
    if (gban.ban[z] != EMPTY) {
      clear_game();
      return gtp_failure("repeated vertex");
    }
    if (placed >= ban_size * ban_size || put_stone(gban, z, BLACK) != PUT_OK) {
      clear_game();
      return gtp_failure("invalid handicap");
    }
    placed++;
  }
  if (placed < 2) {
    clear_game();
    return gtp_failure("invalid handicap");
  }
  store_initial_position();
  init_ban();
  kifu_clear();
  handicap_stones = placed;
  return gtp_success("%s", "");
}

int cmd_place_free_handicap(const char* args) {
  int n;
  if (sscanf(args, "%d", &n) != 1) return gtp_failure("handicap not an integer");
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      if (gban.ban[make_z(x, y)] != EMPTY) return gtp_failure("board not empty");
    }
  }
  if (n < 2) return gtp_failure("invalid handicap");
  if (n > 9) return gtp_failure("too many handicap");
  put_handicap(n);
  gtp_header(false);
  bool first = true;
  for (int y = 1; y <= ban_size; y++) {
    for (int x = 1; x <= ban_size; x++) {
      if (gban.ban[make_z(x, y)] != BLACK) continue;
      char v[16];
      gtp_vertex_text(make_z(x, y), v);
      gtp_print("%s%s", first ? "" : " ", v);
      first = false;
    }
  }
  gtp_print("\n\n");
  return 0;
}

struct Command {
  const char* name;
  GtpHandler handler;
};

// The table order is the protocol's list_commands order; the commands of
// the subsystems above the core are registered into their places.
Command commands[] = {
    {"protocol_version", cmd_protocol_version},
    {"name", cmd_name},
    {"version", cmd_version},
    {"known_command", cmd_known_command},
    {"list_commands", cmd_list_commands},
    {"quit", cmd_quit},
    {"boardsize", cmd_boardsize},
    {"clear_board", cmd_clear_board},
    {"komi", cmd_komi},
    {"get_komi", cmd_get_komi},
    {"play", cmd_play},
    {"genmove", nullptr},
    {"undo", cmd_undo},
    {"final_score", nullptr},
    {"final_status", nullptr},
    {"final_status_list", nullptr},
    {"time_left", cmd_time_left},
    {"time_settings", cmd_time_settings},
    {"kgs-genmove_cleanup", nullptr},
    {"set_free_handicap", cmd_set_free_handicap},
    {"place_free_handicap", cmd_place_free_handicap},
    {"loadsgf", nullptr},
    {"reg_genmove", nullptr},
    {"miro-latest_winrate", nullptr},
};

// Analysis commands outside the standard table (only with --gtp-extensions).
constexpr int EXTRA_MAX = 8;
Command extras[EXTRA_MAX];
int extra_num;

GtpHandler find_handler(const char* name) {
  for (const Command& c : commands) {
    if (c.handler && strcmp(c.name, name) == 0) return c.handler;
  }
  for (int i = 0; i < extra_num; i++) {
    if (strcmp(extras[i].name, name) == 0) return extras[i].handler;
  }
  return nullptr;
}

int cmd_list_commands(const char*) {
  gtp_header(false);
  for (const Command& c : commands) {
    if (c.handler) gtp_print("%s\n", c.name);
  }
  for (int i = 0; i < extra_num; i++) gtp_print("%s\n", extras[i].name);
  gtp_print("\n");
  return 0;
}

// Protocol preprocessing: control characters go, tabs become spaces, a '#'
// starts a comment.
std::string clean_line(const char* line) {
  std::string out;
  for (const char* p = line; *p && *p != '#'; p++) {
    unsigned char c = (unsigned char)*p;
    if (c == '\t') out += ' ';
    else if (c >= 32 && c != 127) out += char(c);
  }
  return out;
}

}  // namespace

void gtp_register(const char* name, GtpHandler handler) {
  for (Command& c : commands) {
    if (strcmp(c.name, name) == 0) {
      c.handler = handler;
      return;
    }
  }
  for (int i = 0; i < extra_num; i++) {
    if (strcmp(extras[i].name, name) == 0) {
      extras[i].handler = handler;
      return;
    }
  }
  if (extra_num < EXTRA_MAX) extras[extra_num++] = {name, handler};
}

bool gtp_known(const char* name) { return find_handler(name) != nullptr; }

void gtp_header(bool failed) {
  if (command_id >= 0) {
    gtp_print("%c%d ", failed ? '?' : '=', command_id);
  } else {
    gtp_print("%c ", failed ? '?' : '=');
  }
}

int gtp_success(const char* fmt, ...) {
  gtp_header(false);
  va_list ap;
  va_start(ap, fmt);
  vprint(fmt, ap);
  va_end(ap);
  gtp_print("\n\n");
  return 0;
}

int gtp_failure(const char* fmt, ...) {
  gtp_header(true);
  char buf[GTP_PRINT_BUF];
  va_list ap;
  va_start(ap, fmt);
  vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  gtp_print("%s\n\n", buf);
  PRT("failure--->%s\n", buf);
  return 0;
}

void gtp_print(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vprint(fmt, ap);
  va_end(ap);
}

int gtp_parse_color(const char* s, int& color) {
  char word[8];
  int n = read_word(s, word, 6);
  if (!n) return 0;
  if (!strcmp(word, "b") || !strcmp(word, "black")) color = BLACK;
  else if (!strcmp(word, "w") || !strcmp(word, "white")) color = WHITE;
  else return 0;
  return n;
}

int gtp_parse_vertex(const char* s, int& z) {
  char letter;
  int number, consumed = 0;
  if (sscanf(s, " %c%d%n", &letter, &number, &consumed) != 2) return 0;
  letter = char(tolower((unsigned char)letter));
  if (letter < 'a' || letter > 'z' || letter == 'i') return 0;
  int x = letter - 'a' + 1;
  if (letter > 'i') x--;
  int y = ban_size - number + 1;
  if (x < 1 || x > ban_size || y < 1 || y > ban_size || number < 1) return 0;
  z = make_z(x, y);
  return consumed;
}

int gtp_parse_move(const char* s, int& z, int& color) {
  int n = gtp_parse_color(s, color);
  if (!n) return 0;
  char word[8];
  int w = read_word(s + n, word, 7);
  if (w && (!strcmp(word, "pass") || !strcmp(word, "resign"))) {
    z = 0;
    return n + w;
  }
  int v = gtp_parse_vertex(s + n, z);
  return v ? n + v : 0;
}

void gtp_vertex_text(int z, char out[16]) {
  if (z == 0) {
    strcpy(out, "PASS");
  } else if (z < 0) {
    strcpy(out, "resign");
  } else {
    int x = z_x(z);
    char letter = char('A' - 1 + x + (x >= 9 ? 1 : 0));
    snprintf(out, 16, "%c%d", letter, ban_size - z_y(z) + 1);
  }
}

void gtp_set_output(FILE* out) { gtp_out = out; }

void gtp_note_move_time() { last_move_stamp = now_ms(); }

int gtp_handle_line(const char* raw) {
  std::string line = clean_line(raw);
  const char* p = line.c_str();
  skip_space(p);
  if (*p == 0) return 0;
  command_id = -1;
  if (isdigit((unsigned char)*p)) {
    command_id = 0;
    for (; isdigit((unsigned char)*p); p++) {
      if (command_id < 100000000) command_id = command_id * 10 + (*p - '0');
    }
    skip_space(p);
  }
  char name[64];
  int n = 0;
  while (*p && *p != ' ' && n < 63) name[n++] = *p++;
  name[n] = 0;
  while (*p && *p != ' ') p++;
  GtpHandler handler = n ? find_handler(name) : nullptr;
  int result = handler ? handler(p) : gtp_failure("unknown command");
  fflush(gtp_out);
  return result;
}

void gtp_loop(FILE* in, FILE* out) {
  gtp_set_output(out);
  last_move_stamp = now_ms();
  std::string line;
  int c;
  while (true) {
    line.clear();
    while ((c = fgetc(in)) != EOF && c != '\n') line += char(c);
    if (c == EOF && line.empty()) break;
    if (gtp_handle_line(line.c_str()) == -1) break;
    if (c == EOF) break;
  }
  fflush(out);
}
