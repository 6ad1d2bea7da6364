#include "records/sgf_buf.h"

#include <cstdarg>
#include <cstdio>

#include "core/log.h"

void SgfBuf::empty() {
  text.clear();
  overflow = false;
}

void SgfBuf::append_raw(std::string_view bytes) {
  if (text.size() + bytes.size() >= (size_t)SGF_BUF_SIZE) {
    PRT("SgfBuf over\n");
    overflow = true;
    return;
  }
  text.append(bytes);
}

void SgfBuf::append(const char* fmt, ...) {
  char piece[SGF_PIECE_SIZE + 1];
  va_list ap;
  va_start(ap, fmt);
  int n = vsnprintf(piece, sizeof piece, fmt, ap);
  va_end(ap);
  if (n < 0 || n > SGF_PIECE_SIZE) {
    PRT("SgfBuf over\n");
    overflow = true;
    return;
  }
  append_raw(std::string_view(piece, n));
}

void SgfBuf::drop_trailing_semicolon() {
  if (!text.empty() && text.back() == ';') text.pop_back();
}

void SgfBuf::end_line() {
  if (text.empty() || text.back() != '\n') append_raw("\r\n");
}
