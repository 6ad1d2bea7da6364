// Members of an LZH (LHA) archive held in memory, decoded with the lhasa
// library; length and CRC-16 are checked here because the library does not
// report a damaged member.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t LZH_MEMBER_MAX = 64u << 20;  // a record with photos is a few MB

struct LzhMember {
  std::string name;
  std::string method;
  size_t packed = 0;
  size_t original = 0;
  std::string data;   // decoded bytes when ok
  bool ok = false;
  std::string error;  // why not ok: "CRC error", "Unknown method skiped ...", ...
};

// Every file member in archive order (directory entries are left out). An
// archive that cannot be read gives no members.
std::vector<LzhMember> read_lzh_members(std::string_view archive);
// The CRC-16 of the LZH format (polynomial 0xA001, reflected, start 0).
uint16_t lzh_crc16(std::string_view bytes, uint16_t crc = 0);
