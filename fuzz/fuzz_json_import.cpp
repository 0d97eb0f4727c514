// libFuzzer entry: the project's JSON form.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "fuzz/FuzzTargets.h"

// Addresses and element positions are only checked against a library, so without a program
// directory of its own the target uses the nearest lib/ above the binary (the source tree's).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (std::getenv("KD820_HOME") != nullptr) return 0;
  std::error_code ec;
  for (auto dir = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
       !ec && !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
    if (std::filesystem::exists(dir / "lib" / "plc" / "index.CFG", ec)) {
      setenv("KD820_HOME", dir.c_str(), 1);
      break;
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_Data, std::size_t a_Size) {
  return FuzzJsonImport(a_Data, a_Size);
}
