#include "fuzz_targets.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "records/lzh_archive.h"
#include "records/record_io.h"
#include "records/sgf.h"

namespace {

// Reads with one reader, then checks what every writer makes of the record.
int run(RecordFormat format, const uint8_t* data, size_t size) {
  static GameRecord rec;
  read_record(format, std::string_view(reinterpret_cast<const char*>(data), size), rec, true);
  for (int m = 0; m <= rec.main.move_count + 1; m += 7) rec.main.goto_move(m);
  SgfBuf buf;
  for (RecordFormat writer : {FORMAT_UGF, FORMAT_TEXT, FORMAT_SGF}) write_record(writer, rec, buf);
  // What the SGF writer makes must read back as a complete tree.
  if (!buf.overflow) {
    static GameRecord back;
    back.reset();
    if (!read_sgf(buf.text, back)) std::abort();
  }
  return 0;
}

}  // namespace

int fuzz_sgf(const uint8_t* data, size_t size) { return run(FORMAT_SGF, data, size); }
int fuzz_ugf(const uint8_t* data, size_t size) { return run(FORMAT_UGF, data, size); }
int fuzz_text(const uint8_t* data, size_t size) { return run(FORMAT_TEXT, data, size); }
int fuzz_ngf(const uint8_t* data, size_t size) { return run(FORMAT_NGF, data, size); }

int fuzz_lzh(const uint8_t* data, size_t size) {
  std::vector<LzhMember> members = read_lzh_members(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const LzhMember& m : members) {
    if (m.ok && m.data.size() != m.original) std::abort();
  }
  return 0;
}
