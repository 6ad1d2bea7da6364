#include "records/ugz_import.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>

#include "core/log.h"
#include "records/lzh_archive.h"
#include "records/record_io.h"

namespace {

constexpr int STORED_NUMBER_MAX = 999;
constexpr int UGZ_PREFIX = 4;

int names_made = 0;  // stored names made since start, for the fallback when 999 exist

std::string in_folder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool ends_with_ugz(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = (char)std::toupper((unsigned char)c);
  return tail == ".UGZ";
}

// Temporary names draw from their own generator so the engine's sequence is not disturbed.
std::string temporary_name(const std::string& folder) {
  static std::minstd_rand gen((unsigned)std::chrono::steady_clock::now().time_since_epoch().count() ^ (unsigned)getpid());
  for (;;) {
    char name[64];
    std::snprintf(name, sizeof name, "_ugftmp_%d.ugf", (int)(gen() % 1000000));
    if (!exists(in_folder(folder, name))) return name;
  }
}

std::string report_text(int total, int same, int extracted) {
  char buf[512];
  if (same == 0) std::snprintf(buf, sizeof buf, "%d個の棋譜を取得しました。", total);
  if (same > 0)
    std::snprintf(buf, sizeof buf, "%d個の棋譜のうち\n%d個の棋譜は既に存在します。\n残りの%d個の棋譜のみを取得しました。",
                  total, same, extracted);
  if (extracted == 0)
    std::snprintf(buf, sizeof buf, "%d個の棋譜を取得しようとしましたが\n既に同一の棋譜がすべて存在しました。\n新規の取得は行いません。",
                  total);
  if (extracted == 0 && total == 0) std::snprintf(buf, sizeof buf, "棋譜の展開に失敗しました。");
  return buf;
}

}  // namespace

int is_same_file_content(const std::string& folder, const std::string& temp_name, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec);
  if (ec) return 0;
  for (const auto& entry : it) {
    std::string name = entry.path().filename().string();
    if (name == temp_name || name.size() < 4) continue;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = (char)std::tolower((unsigned char)c);
    if (ext != ".ugf") continue;
    std::error_code size_ec;
    auto size = std::filesystem::file_size(entry.path(), size_ec);
    if (size_ec) {
      PRT("ファイルの情報を取得できませんでした\n");
      continue;
    }
    if (size != bytes.size()) continue;
    std::string content, error;
    if (!read_whole_file(entry.path().string(), content, error)) {
      PRT("fail open %s\n", name.c_str());
      continue;
    }
    PRT("is_same_file_content=%s,%d\n", name.c_str(), (int)size);
    if (content == bytes) return 1;
  }
  return 0;
}

std::string stored_file_name(const std::string& folder) {
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  time_t now = time(nullptr);
  struct tm t;
  localtime_r(&now, &t);
  int year = t.tm_year + 1900 - 2000;
  char date[32];
  std::snprintf(date, sizeof date, "%02d%.3s%02d", year < 0 ? 0 : year, kMonths[t.tm_mon], t.tm_mday);
  char name[64];
  names_made++;
  for (int n = 1; n <= STORED_NUMBER_MAX; n++) {
    std::snprintf(name, sizeof name, "%s_%d.ugf", date, n);
    if (!exists(in_folder(folder, name))) return name;
  }
  std::snprintf(name, sizeof name, "%s_%d.ugf", date, names_made + 1001);
  return name;
}

ImportReport import_ugz(const std::string& archive_path, const std::string& folder) {
  ImportReport report;
  std::string archive, error;
  if (!read_whole_file(archive_path, archive, error)) {
    PRT("fail open %s\n", archive_path.c_str());
    report.readable = false;
  }
  std::string_view body = archive;
  if (report.readable && ends_with_ugz(archive_path)) {
    std::string prefix;
    for (size_t i = 0; i < UGZ_PREFIX && i < archive.size(); i++) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%02x ", (unsigned char)archive[i]);
      prefix += hex;
    }
    PRT("This is ugz file...read 4 bytes=%s\n", prefix.c_str());
    body.remove_prefix(std::min<size_t>(UGZ_PREFIX, body.size()));
  }
  std::vector<LzhMember> members = read_lzh_members(body);
  if (report.readable && members.empty()) report.readable = false;
  for (LzhMember& m : members) {
    ImportEntry entry;
    if (!m.ok) {
      entry.name = m.name;
      entry.error = m.error;
      report.failed++;
      report.entries.push_back(entry);
      continue;
    }
    std::string temp = temporary_name(folder);
    std::string temp_path = in_folder(folder, temp);
    entry.name = temp;
    if (!replace_file(temp_path, m.data, error)) {
      entry.error = error;
      report.failed++;
      report.entries.push_back(entry);
      continue;
    }
    if (is_same_file_content(folder, temp, m.data)) {
      PRT("found same content file=%s, %d,del...\n", temp.c_str(), (int)m.data.size());
      ::unlink(temp_path.c_str());
    } else {
      std::string stored = stored_file_name(folder);
      if (std::rename(temp_path.c_str(), in_folder(folder, stored).c_str()) != 0) {
        PRT("fail rename=%s\n", stored.c_str());
        entry.error = "cannot rename " + temp + " to " + stored;
      } else {
        entry.name = stored;
        entry.extracted = 1;
      }
    }
    report.entries.push_back(entry);
  }
  report.total = (int)report.entries.size();
  for (size_t i = 0; i < report.entries.size(); i++) {
    const ImportEntry& e = report.entries[i];
    report.extracted += e.extracted;
    PRT("%d:%s,%d\n", (int)i, e.name.c_str(), e.extracted);
  }
  report.same = report.total - report.extracted;
  PRT("圧縮ファイル数=%d,同一数=%d,展開数=%d\n", report.total, report.same, report.extracted);
  report.text = report_text(report.total, report.same, report.extracted);
  PRT("ugz展開完了: %s\n", report.text.c_str());
  return report;
}
