// libFuzzer entry: the library's XML files (hardware models and PLC protocols).
#include "fuzz/FuzzTargets.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzXmlLibrary(a_Data, a_Size);
}
