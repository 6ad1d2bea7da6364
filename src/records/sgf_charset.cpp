#include <cctype>
#include <string>

#include "core/log.h"
#include "records/sgf.h"
#include "records/sjis.h"

namespace {

bool same_name(std::string_view a, const char* b) {
  size_t n = std::char_traits<char>::length(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; i++) {
    if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
  }
  return true;
}

bool is_cp932_name(std::string_view cs) {
  for (const char* name : {"Shift_JIS", "SJIS", "Shift-JIS", "CP932", "MS932", "Windows-31J", "MS_Kanji", "x-sjis"}) {
    if (same_name(cs, name)) return true;
  }
  return false;
}

// The first CA value of the data; empty when there is none.
std::string_view declared_charset(std::string_view data) {
  size_t p = 0;
  while ((p = data.find("CA[", p)) != std::string_view::npos) {
    // Only a property identifier of its own, not the tail of e.g. "FCA[".
    if (p > 0 && std::isupper((unsigned char)data[p - 1])) {
      p += 3;
      continue;
    }
    size_t end = data.find(']', p + 3);
    if (end == std::string_view::npos) return {};
    std::string_view cs = data.substr(p + 3, end - p - 3);
    while (!cs.empty() && std::isspace((unsigned char)cs.front())) cs.remove_prefix(1);
    while (!cs.empty() && std::isspace((unsigned char)cs.back())) cs.remove_suffix(1);
    return cs;
  }
  return {};
}

}  // namespace

bool sgf_to_cp932(std::string_view data, std::string& out) {
  out.clear();
  std::string_view cs = declared_charset(data);
  std::string from;
  if (!cs.empty()) {
    if (is_cp932_name(cs)) return false;
    from = same_name(cs, "UTF8") ? "UTF-8" : std::string(cs);
    // GB2312 files often hold GBK characters; its superset reads them all.
    if (same_name(cs, "GB2312") || same_name(cs, "GBK")) from = "GB18030";
  } else {
    if (!reads_as_utf8(data)) return false;
    from = "UTF-8";
  }
  int lost = 0;
  if (!to_cp932(data, from.c_str(), out, lost)) {
    PRT("CA[%s] unknown charset, read as Shift_JIS\n", from.c_str());
    out.clear();
    return false;
  }
  if (lost) PRT("%s -> CP932: %d characters replaced by '?'\n", from.c_str(), lost);
  return true;
}
