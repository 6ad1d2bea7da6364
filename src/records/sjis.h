// Character set conversion at the edges of the record model: the model keeps
// CP932 (Shift_JIS) bytes; files and the screen may use other charsets.
#pragma once
#include <string>
#include <string_view>

// Converts text in the charset iconv calls `from` into CP932. A character CP932
// lacks (or an invalid input sequence) becomes "?" and is counted in `lost`.
// Returns false when iconv does not know the charset (out is then untouched).
bool to_cp932(std::string_view in, const char* from, std::string& out, int& lost);
// CP932 bytes to UTF-8 for display and messages; bad bytes become "?".
std::string cp932_to_utf8(std::string_view in);
// UTF-8 text to CP932 (messages and labels written by the program).
std::string utf8_to_cp932(std::string_view in);
// Whether text without a declared charset is UTF-8 rather than CP932. Bytes
// that are valid CP932 stay CP932 unless the UTF-8 reading is clearly better
// (characters only UTF-8 text makes, at least as many as the bytes that speak
// against it);
// other bytes are UTF-8 when they hold multi-byte characters at least as many
// as the high bytes outside any sequence.
bool reads_as_utf8(std::string_view in);
// Shift_JIS lead byte of a double-byte character.
inline bool is_sjis_lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
