// libFuzzer entry: the simulator running a user-data image.
#include "fuzz/SimFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzSimImage(a_Data, a_Size);
}
