// The record output buffer every writer formats into before the caller hands
// the text to a file or the clipboard.
#pragma once
#include <string>
#include <string_view>

constexpr int SGF_BUF_SIZE = 1310720;
constexpr int SGF_PIECE_SIZE = 131071;

struct SgfBuf {
  std::string text;
  // Set once a piece did not fit; a save must then fail instead of writing
  // an incomplete record.
  bool overflow = false;

  void empty();
  void append(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  // Raw bytes (record texts may be longer than one formatted piece).
  void append_raw(std::string_view bytes);
  void drop_trailing_semicolon();
  void end_line();  // CR LF unless the text already ends with LF
};
