// Drives the GTP loop with a script of command lines and returns exactly
// what the engine wrote.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/gtp.h"

inline std::string send(const std::string& lines) {
  char* buf = nullptr;
  size_t len = 0;
  FILE* out = open_memstream(&buf, &len);
  FILE* in = fmemopen(const_cast<char*>(lines.data()), lines.size(), "r");
  gtp_loop(in, out);
  fclose(in);
  fclose(out);
  std::string text(buf, len);
  free(buf);
  return text;
}
