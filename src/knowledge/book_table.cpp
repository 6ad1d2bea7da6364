// The book tables: allocation, loading and lookup.
#include <cstdio>
#include <cstring>

#include "core/folders.h"
#include "core/log.h"
#include "core/random.h"
#include "knowledge/book.h"

BookTable book19;
BookTable book11;

void book_table_init(BookTable& t, const char* name, int n) {
  t.name = name;
  t.entries.assign(n, BookEntry{});
  for (BookEntry& e : t.entries) e.file = -1;
  t.use = 0;
  t.loaded = false;
}

bool book_table_load(BookTable& t, const char* file) {
  FILE* fp = open_data_file(file);
  if (!fp) {
    PRT("book file %s not found: playing without it\n", file);
    return false;
  }
  const size_t n = fread(t.entries.data(), sizeof(BookEntry), t.entries.size(), fp);
  fclose(fp);
  // A partial last entry would be half a key; the unread tail stays empty.
  for (size_t i = n; i < t.entries.size(); i++) {
    t.entries[i] = BookEntry{};
    t.entries[i].file = -1;
  }
  t.use = 0;
  for (const BookEntry& e : t.entries) t.use += e.occurrences != 0;
  t.loaded = n > 0;
  PRT("load %s, num=%d,size=%d\n", file, t.use, int(n * sizeof(BookEntry)));
  return t.loaded;
}

BookEntry* book_lookup(BookTable& t, uint32_t low, uint32_t high) {
  const uint32_t mask = uint32_t(t.entries.size() - 1);
  const uint32_t home = low & mask;
  for (int k = 0; k < BOOK_PROBES; k++) {
    const uint32_t i = k == 0 ? home : (home + uint32_t(probe_offset[k - 1])) & mask;
    BookEntry& e = t.entries[i];
    if (e.occurrences == 0) return &e;
    if (e.key_low == low && e.key_high == high) return &e;
  }
  // A full probe path only comes from a damaged file: treat it as not found.
  if (t.entries.size() == BOOK11_ENTRIES) {
    PRT("hash11x11book over! loop=%d,hash11x11book_use=%d\n", BOOK_PROBES, t.use);
  } else {
    PRT("hash19x19book over! loop=%d\n", BOOK_PROBES);
  }
  return nullptr;
}

bool books_ready() {
  static bool attempted = false;
  // Tables filled by the caller beforehand (tests, builders) are kept.
  if (!attempted) {
    attempted = true;
    if (!book11.loaded) {
      book_table_init(book11, "hash11x11book", BOOK11_ENTRIES);
      PRT("Hash11x11Book=%8d(%3.1fMB),sizeof(HASH11x11)=%d\n", BOOK11_ENTRIES,
          BOOK11_ENTRIES * sizeof(BookEntry) / 1048576.0, int(sizeof(BookEntry)));
      book_table_load(book11, BOOK11_FILE);
    }
    if (!book19.loaded) {
      book_table_init(book19, "hash19x19book", BOOK19_ENTRIES);
      PRT("Hash19x19Book=%8d(%3.1fMB),sizeof(HASH11x11)=%d\n", BOOK19_ENTRIES,
          BOOK19_ENTRIES * sizeof(BookEntry) / 1048576.0, int(sizeof(BookEntry)));
      book_table_load(book19, BOOK19_FILE);
    }
  }
  return book11.loaded || book19.loaded;
}
