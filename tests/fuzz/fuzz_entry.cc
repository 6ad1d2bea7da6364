// libFuzzer entry; FUZZ_FUNCTION names the reader's target.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FUZZ_FUNCTION(data, size); }
