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
#include "tests/TestSupport.h"

using namespace kd820;

namespace test {

// The JSON form of a project, read against the libraries of the program directory.
inline std::string ExportJson(const CKV410Project& a_Project) {
  const CEditorContext context;
  return ExportProjectJson(a_Project, context);
}

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

// The sample project moved to the shipped Host Link A protocol, whose types include octal
// numbers (X, Y) and indexed data files (B, N): bits on M, words on D, double words on DD.
inline std::unique_ptr<CKV410Project> LibrarySample() {
  CEditorContext context;
  auto project = MakeSampleProject(context);
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

// A JSON text on one line, for looking up parts of it whatever the line breaks: every line
// break with its indentation becomes one space, none after an opening or before a closing
// bracket.
inline std::string OneLine(const std::string& a_Json) {
  std::string out;
  for (std::size_t i = 0; i < a_Json.size(); ++i) {
    if (a_Json[i] != '\n') {
      out += a_Json[i];
      continue;
    }
    while (i + 1 < a_Json.size() && a_Json[i + 1] == ' ') ++i;
    const char next = i + 1 < a_Json.size() ? a_Json[i + 1] : '\0';
    if (!out.empty() && out.back() != '{' && out.back() != '[' && next != '}' && next != ']') out += ' ';
  }
  return out;
}

// Imports a document that must be accepted.
inline std::unique_ptr<CKV410Project> ImportOk(const std::string& a_Json) {
  CEditorContext context;
  ProjectJsonImport result = ImportProjectJson(a_Json, context);
  EXPECT_TRUE(result) << result.m_Error;
  return std::move(result.m_Project);
}

// The error of a document that must be refused.
inline std::string ImportError(const std::string& a_Json) {
  CEditorContext context;
  ProjectJsonImport result = ImportProjectJson(a_Json, context);
  EXPECT_FALSE(result) << "accepted:\n" << a_Json;
  return result.m_Error;
}

}  // namespace test
