// libFuzzer entry: the loaders' package reader.
#include "fuzz/LoaderFuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzPackageReader(a_Data, a_Size);
}
