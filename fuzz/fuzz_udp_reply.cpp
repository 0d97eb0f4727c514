// libFuzzer entry: a datagram judged as the panel's reply.
#include "fuzz/LoaderFuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzUdpReply(a_Data, a_Size);
}
