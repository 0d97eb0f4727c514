#pragma once
// Compiling a project as the front-ends do: for the display of its panel model, checked against
// the firmware the model ships with, and written beside the project file in one write.
#include <cstdint>
#include <vector>

#include "editor/base/Problem.h"

namespace kd820 {

class CEditorContext;
class CKV410Project;

struct CCompileResult {
  // The image; empty when the compile failed.
  std::vector<uint8_t> m_Image;
  // What kept the image from being made or written (errors), and what the front-end should
  // say about how it was made (warnings). Warnings about single records go to the context's
  // problem sink as they are found.
  CProblemList m_Problems;
  // The hardware versions (1, 2) whose firmware ships with the model and leaves no room for
  // the image in the panel's memory.
  std::vector<int32_t> m_VersionsWithoutRoom;

  bool Ok() const { return !m_Problems.HasErrors(); }
};

// Compiles a_Project for the current hardware model of a_Context (its models must be those of
// the project: the document's context once the project is shown). A model the library lacks
// gives a 192x64 display and a warning.
CCompileResult CompileProject(const CKV410Project& a_Project, CEditorContext& a_Context);

// Compiles and writes the image to the project's image path (nothing is written when the
// compile fails; a failed write leaves the previous file).
CCompileResult CompileProjectToFile(const CKV410Project& a_Project, CEditorContext& a_Context);

}  // namespace kd820
