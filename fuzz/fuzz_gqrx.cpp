// Arbitrary text read as gqrx bookmarks and put onto the memory slots; see
// FuzzFrequencyList.h for what is checked and the input layout.
#include "FuzzFrequencyList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    return lmk::fuzzFrequencyList(data, size, lmk::FrequencyListFormat::Gqrx);
}
