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

// The code point of the valid multi-byte UTF-8 sequence at in[i] and its
// length, or length 0.
size_t utf8_sequence(std::string_view in, size_t i, unsigned& cp) {
  unsigned char c = (unsigned char)in[i];
  size_t len;
  unsigned min;
  if (c >= 0xC2 && c <= 0xDF) len = 2, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) len = 3, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) len = 4, min = 0x10000;
  else return 0;
  if (i + len > in.size()) return 0;
  cp = c & (0x7F >> len);
  for (size_t k = 1; k < len; k++) {
    unsigned char t = (unsigned char)in[i + k];
    if ((t & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

bool ascii_letter(std::string_view in, size_t i) {
  if (i >= in.size()) return false;
  unsigned char c = (unsigned char)in[i];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Scripts whose words are runs of two-byte UTF-8 letters.
int two_byte_script(unsigned cp) {
  if (cp >= 0x386 && cp <= 0x3CE) return 1;  // Greek
  if (cp >= 0x400 && cp <= 0x4FF) return 2;  // Cyrillic
  return 0;
}

constexpr int SCRIPT_RUN_MIN = 3;

// How well the bytes read as UTF-8: evidence are sequences that UTF-8 text
// has and Shift_JIS text almost never makes by chance (three- and four-byte
// characters, accented Latin letters beside ASCII letters, words of Greek or
// Cyrillic letters); doubt are bytes outside any sequence and other two-byte
// sequences, which half-width katakana pairs (0xC2..0xDF, 0xA1..0xBF) make.
struct Utf8Reading {
  size_t characters = 0;
  size_t evidence = 0;
  size_t doubt = 0;
  size_t invalid = 0;
};

Utf8Reading read_utf8(std::string_view in) {
  Utf8Reading r;
  int run_script = 0;
  size_t run = 0;
  auto end_run = [&] {
    if (run >= (size_t)SCRIPT_RUN_MIN) r.evidence += run;
    else r.doubt += run;
    run = 0, run_script = 0;
  };
  for (size_t i = 0; i < in.size();) {
    if ((unsigned char)in[i] < 0x80) {
      end_run();
      i++;
      continue;
    }
    unsigned cp = 0;
    size_t len = utf8_sequence(in, i, cp);
    if (len == 0) {
      end_run();
      r.invalid++;
      r.doubt++;
      i++;
      continue;
    }
    r.characters++;
    int script = len == 2 ? two_byte_script(cp) : 0;
    if (script == 0 || script != run_script) end_run();
    if (len > 2) {
      r.evidence++;
    } else if (script != 0) {
      run_script = script;
      run++;
    } else if (cp >= 0xC0 && cp <= 0x24F && cp != 0xD7 && cp != 0xF7 &&
               (ascii_letter(in, i + len) || (i > 0 && ascii_letter(in, i - 1)))) {
      r.evidence++;
    } else {
      r.doubt++;
    }
    i += len;
  }
  end_run();
  return r;
}

}  // namespace

bool reads_as_utf8(std::string_view in) {
  Utf8Reading r = read_utf8(in);
  if (r.characters == 0) return false;
  std::string converted;
  int lost = 0;
  bool cp932 = convert(in, "UTF-8", "CP932", converted, lost) && lost == 0;
  // Not Shift_JIS: UTF-8 unless most high bytes fall outside its sequences
  // (UTF-8 that lost bytes here and there is still UTF-8).
  if (!cp932) return r.invalid <= r.characters;
  // A tie is UTF-8 that lost bytes: each cut character leaves as many stray bytes.
  return r.evidence > 0 && r.evidence >= r.doubt;
}
