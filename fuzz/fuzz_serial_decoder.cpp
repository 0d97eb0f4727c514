// libFuzzer entry: the serial stream decoder.
#include "fuzz/LoaderFuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzSerialDecoder(a_Data, a_Size);
}
