// libFuzzer entry: the project-file loader.
#include "fuzz/FuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzProjectLoad(a_Data, a_Size);
}
