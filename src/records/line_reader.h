// Splits an in-memory file into lines: every CR is dropped, LF ends a line.
#pragma once
#include <string>
#include <string_view>

class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  // The next line without its line end; false at the end of the data.
  bool next(std::string_view& line) {
    if (pos_ >= data_.size()) return false;
    size_t lf = data_.find('\n', pos_);
    size_t end = lf == std::string_view::npos ? data_.size() : lf;
    std::string_view raw = data_.substr(pos_, end - pos_);
    pos_ = lf == std::string_view::npos ? data_.size() : lf + 1;
    if (raw.find('\r') == std::string_view::npos) {
      line = raw;
      return true;
    }
    scratch_.clear();
    for (char c : raw) {
      if (c != '\r') scratch_.push_back(c);
    }
    line = scratch_;
    return true;
  }

 private:
  std::string_view data_;
  size_t pos_ = 0;
  std::string scratch_;
};
