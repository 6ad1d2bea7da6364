#include "records/lzh_archive.h"

#include <cstring>

extern "C" {
#include <lhasa.h>
}

#include "core/log.h"

namespace {

struct MemoryStream {
  std::string_view data;
  size_t pos = 0;
};

int stream_read(void* handle, void* buf, size_t len) {
  MemoryStream* s = static_cast<MemoryStream*>(handle);
  size_t n = std::min(len, s->data.size() - s->pos);
  std::memcpy(buf, s->data.data() + s->pos, n);
  s->pos += n;
  return (int)n;
}

int stream_skip(void* handle, size_t bytes) {
  MemoryStream* s = static_cast<MemoryStream*>(handle);
  if (bytes > s->data.size() - s->pos) {
    s->pos = s->data.size();
    return 0;
  }
  s->pos += bytes;
  return 1;
}

void stream_close(void*) {}

const LHAInputStreamType kMemoryStreamType = {stream_read, stream_skip, stream_close};

bool known_method(const char* m) {
  static const char* const kMethods[] = {"-lh0-", "-lh1-", "-lh2-", "-lh3-", "-lh4-", "-lh5-",
                                         "-lh6-", "-lh7-", "-lzs-", "-lz4-", "-lz5-"};
  for (const char* k : kMethods) {
    if (std::strcmp(k, m) == 0) return true;
  }
  return false;
}

}  // namespace

uint16_t lzh_crc16(std::string_view bytes, uint16_t crc) {
  static uint16_t table[256];
  static bool made = [] {
    for (int i = 0; i < 256; i++) {
      uint16_t r = (uint16_t)i;
      for (int k = 0; k < 8; k++) r = (r & 1) ? (uint16_t)((r >> 1) ^ 0xA001) : (uint16_t)(r >> 1);
      table[i] = r;
    }
    return true;
  }();
  (void)made;
  for (unsigned char c : bytes) crc = (uint16_t)(table[(crc ^ c) & 0xFF] ^ (crc >> 8));
  return crc;
}

std::vector<LzhMember> read_lzh_members(std::string_view archive) {
  std::vector<LzhMember> members;
  MemoryStream stream{archive};
  LHAInputStream* input = lha_input_stream_new(&kMemoryStreamType, &stream);
  if (!input) return members;
  LHAReader* reader = lha_reader_new(input);
  if (!reader) {
    lha_input_stream_free(input);
    return members;
  }
  while (LHAFileHeader* h = lha_reader_next_file(reader)) {
    if (std::strcmp(h->compress_method, LHA_COMPRESS_TYPE_DIR) == 0) continue;
    LzhMember m;
    m.name = h->filename ? h->filename : "";
    m.method = h->compress_method;
    m.packed = h->compressed_length;
    m.original = h->length;
    PRT("%s, packsize=%d,original=%d\n", m.name.c_str(), (int)m.packed, (int)m.original);
    if (!known_method(h->compress_method)) {
      m.error = "Unknown method skiped ..." + m.method;
      PRT("%s\n", m.error.c_str());
    } else if (m.original > LZH_MEMBER_MAX) {
      m.error = "member too large";
    } else {
      std::string data;
      char chunk[16384];
      size_t n;
      while ((n = lha_reader_read(reader, chunk, sizeof chunk)) > 0) {
        data.append(chunk, n);
        if (data.size() > m.original) break;
      }
      if (data.size() != m.original) {
        m.error = "length error";
      } else if (lzh_crc16(data) != h->crc) {
        m.error = "CRC error";
      } else {
        m.ok = true;
        m.data.swap(data);
      }
      if (!m.ok) PRT("%s: %s\n", m.name.c_str(), m.error.c_str());
    }
    members.push_back(std::move(m));
  }
  lha_reader_free(reader);
  lha_input_stream_free(input);
  return members;
}
