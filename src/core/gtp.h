// The Go Text Protocol front end: command table, reply framing, parsing.
#pragma once
#include <cstdio>

using GtpHandler = int (*)(const char* args);  // -1 ends the loop

// Subsystems above the core fill their commands' places in the table.
void gtp_register(const char* name, GtpHandler handler);
bool gtp_known(const char* name);

void gtp_header(bool failed);
int gtp_success(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
int gtp_failure(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void gtp_print(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Parsing: number of characters consumed, 0 on failure.
int gtp_parse_color(const char* s, int& color);
int gtp_parse_vertex(const char* s, int& z);
int gtp_parse_move(const char* s, int& z, int& color);
// "PASS", "resign" or the vertex.
void gtp_vertex_text(int z, char out[16]);

// The next play's seconds count from now (genmove calls this after its move).
void gtp_note_move_time();

extern double komi;
extern int gtp_cleanup_mode;

// Reads commands from in, answers on out, until quit or end of input.
void gtp_loop(FILE* in, FILE* out);
// One command line (for tests); returns -1 on quit.
int gtp_handle_line(const char* line);
void gtp_set_output(FILE* out);
