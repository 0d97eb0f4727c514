// libFuzzer entry: a USB read judged as the panel's reply.
#include "fuzz/LoaderFuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzUsbReply(a_Data, a_Size);
}
