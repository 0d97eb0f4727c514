#pragma once
// A small hardware and PLC library in a temporary program directory, for tests.
#include <string>

#include "tests/TestSupport.h"


namespace test {

// Writes lib/hardware (model 2 "beta" with COM0 only, and unless a_TwoModels is false model 1
// "alpha" with COM0, COM1 and CAN) and lib/plc (manufacturer "Acme": protocols 11 "AcmeSlave" with stations, 12
// "AcmeMaster"; both with a bit type "M" and word types "D" and "DD") under a temporary
// directory and points the program directory at it (contexts made while it lives read their
// libraries from there).
class LibraryFixture {
 public:
  explicit LibraryFixture(bool a_TwoModels = true);
  ~LibraryFixture();
  const TempDir& Dir() const { return m_Dir; }
  std::string Home() const { return m_Dir.Path().string(); }

 private:
  TempDir m_Dir;
  std::string m_PreviousHome;
  bool m_HadHome = false;
};

}  // namespace test
