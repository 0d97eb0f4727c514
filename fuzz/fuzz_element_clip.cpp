// libFuzzer entry: the "GraphElement" clipboard archive reader.
#include "fuzz/FuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzElementClip(a_Data, a_Size);
}
