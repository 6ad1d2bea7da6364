// Import of ".ugz" collections: every member becomes a new UGF file in the
// record folder unless a file with the same content is already there.
#pragma once
#include <string>
#include <vector>

struct ImportEntry {
  std::string name;   // stored name, or the temporary name of a duplicate
  int extracted = 0;  // 1 when a new file was kept
  std::string error;  // a damaged member: why it was not kept
};

struct ImportReport {
  std::vector<ImportEntry> entries;
  int total = 0, same = 0, extracted = 0, failed = 0;
  std::string text;  // the report (UTF-8)
  bool readable = true;  // false when the archive itself could not be read
};

// The archive's first 4 bytes are skipped when its name ends in ".ugz".
ImportReport import_ugz(const std::string& archive_path, const std::string& folder);

// 1 when a ".ugf" file of the folder other than temp_name has exactly these bytes.
int is_same_file_content(const std::string& folder, const std::string& temp_name, const std::string& bytes);
// "%02d%.3s%02d_%d.ugf" with today's date and the smallest free number.
std::string stored_file_name(const std::string& folder);
