#include "records/sjis.h"

#include <errno.h>
#include <iconv.h>

namespace {

// Runs iconv over the whole input; an unconvertible or invalid character is
// replaced by "?" and skipped (one input byte for invalid sequences, the whole
// character otherwise).
bool convert(std::string_view in, const char* to, const char* from, std::string& out, int& lost) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return false;
  std::string result;
  result.reserve(in.size() + in.size() / 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char chunk[4096];
  lost = 0;
  while (src_left > 0) {
    char* dst = chunk;
    size_t dst_left = sizeof chunk;
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    result.append(chunk, dst - chunk);
    if (r != (size_t)-1) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL (input ends inside a character): substitute and move on.
    // Skip a whole UTF-8 sequence when the source is UTF-8 so that one missing
    // character gives one "?".
    size_t skip = 1;
    unsigned char c = (unsigned char)*src;
    if (errno == EILSEQ && std::string_view(from) == "UTF-8" && c >= 0xC0) {
      size_t want = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      size_t n = 1;
      while (n < want && n < src_left && ((unsigned char)src[n] & 0xC0) == 0x80) n++;
      skip = n;
    }
    if (skip > src_left) skip = src_left;
    src += skip;
    src_left -= skip;
    result.push_back('?');
    lost++;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* dst = chunk;
  size_t dst_left = sizeof chunk;
  iconv(cd, nullptr, nullptr, &dst, &dst_left);
  result.append(chunk, dst - chunk);
  iconv_close(cd);
  out.swap(result);
  return true;
}

}  // namespace

bool to_cp932(std::string_view in, const char* from, std::string& out, int& lost) {
  return convert(in, "CP932", from, out, lost);
}

std::string cp932_to_utf8(std::string_view in) {
  std::string out;
  int lost = 0;
  if (!convert(in, "UTF-8", "CP932", out, lost)) return std::string(in);
  return out;
}

std::string utf8_to_cp932(std::string_view in) {
  std::string out;
  int lost = 0;
  if (!convert(in, "CP932", "UTF-8", out, lost)) return std::string(in);
  return out;
}

namespace {

struct Utf8Count {
  size_t characters = 0;  // valid multi-byte sequences
  size_t invalid = 0;     // high bytes outside any valid sequence
};

// The length of the valid multi-byte sequence at in[i], or 0.
size_t utf8_sequence(std::string_view in, size_t i) {
  unsigned char c = (unsigned char)in[i];
  size_t len;
  unsigned min;
  if (c >= 0xC2 && c <= 0xDF) len = 2, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) len = 3, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) len = 4, min = 0x10000;
  else return 0;
  if (i + len > in.size()) return 0;
  unsigned cp = c & (0x7F >> len);
  for (size_t k = 1; k < len; k++) {
    unsigned char t = (unsigned char)in[i + k];
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

Utf8Count count_utf8(std::string_view in) {
  Utf8Count n;
  for (size_t i = 0; i < in.size();) {
    if ((unsigned char)in[i] < 0x80) {
      i++;
      continue;
    }
    size_t len = utf8_sequence(in, i);
    if (len == 0) {
      n.invalid++;
      i++;
    } else {
      n.characters++;
      i += len;
    }
  }
  return n;
}

}  // namespace

bool is_mostly_utf8(std::string_view in) {
  Utf8Count n = count_utf8(in);
  return n.characters > 0 && n.invalid <= n.characters;
}
