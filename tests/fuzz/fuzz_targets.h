// One entry per record reader: run it over arbitrary bytes, complete the load
// and write the result with every writer. Used by the libFuzzer targets and by
// the seed-corpus replay test.
#pragma once
#include <cstddef>
#include <cstdint>

int fuzz_sgf(const uint8_t* data, size_t size);
int fuzz_ugf(const uint8_t* data, size_t size);
int fuzz_text(const uint8_t* data, size_t size);
int fuzz_ngf(const uint8_t* data, size_t size);
int fuzz_lzh(const uint8_t* data, size_t size);
