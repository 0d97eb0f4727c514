#pragma once
// Helpers for the tests of the project's JSON form.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/SampleProject.h"
#include "editor/project/KV410Project.h"
#include "editor/project/ProjectJson.h"
#include "tests/LibraryTestSupport.h"

namespace test {

// The project-file bytes of a project, as the document stores them.
inline std::vector<uint8_t> StoreProject(CKV410Project& a_Project) {
  CArchive ar;
  a_Project.SortFrames();
  ar.WriteObject(&a_Project);
  return ar.Bytes();
}

// The program directory set to the source tree, whose lib/ holds the shipped hardware models
// (1 "pv5521", 192x64) and PLC protocols (10 "Host Link A" with the bit type M and the word
// types D and DD among others).
class ShippedLibrary : public ScopedProgramDirectory {
 public:
  ShippedLibrary() : ScopedProgramDirectory(KD820_TEST_SOURCE_DIR) {}
};

inline constexpr int32_t kHostLinkA = 10;

// The sample project with its COM0 addresses on types that the shipped Host Link A protocol
// has: bits on M (no bit number), words on D, double words on DD.
inline std::unique_ptr<CKV410Project> LibrarySample() {
  auto project = MakeSampleProject();
  project->GetPort(0)->m_ProtocolId = kHostLinkA;
  const auto fit = [](CAddr& a_Addr) {
    if (a_Addr.IsInternal()) return;
    a_Addr.m_TypeName = a_Addr.m_Width == CAddr::kBit ? "M" : a_Addr.m_Width == CAddr::kWord ? "D" : "DD";
    a_Addr.m_HasSubAddress = 0;
    a_Addr.m_SubAddress = 0;
  };
  for (const auto& frame : project->GetFrames()) {
    for (const auto& element : frame->GetElements()) element->VisitAddresses(fit);
  }
  fit(project->GetSettings().m_ControlAddress);
  for (CAlarmItem& alarm : project->GetAlarms().m_Alarms) fit(alarm.m_Register);
  for (CDataTransferItem& transfer : project->GetTransfers().m_Items) {
    fit(transfer.m_Trigger);
    fit(transfer.m_Source);
    fit(transfer.m_Destination);
  }
  return project;
}

// Imports a document that must be accepted.
inline std::unique_ptr<CKV410Project> ImportOk(const std::string& a_Json) {
  ProjectJsonImport result = ImportProjectJson(a_Json);
  EXPECT_TRUE(result) << result.m_Error;
  return std::move(result.m_Project);
}

// The error of a document that must be refused.
inline std::string ImportError(const std::string& a_Json) {
  ProjectJsonImport result = ImportProjectJson(a_Json);
  EXPECT_FALSE(result) << "accepted:\n" << a_Json;
  return result.m_Error;
}

}  // namespace test
