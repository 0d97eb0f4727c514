#pragma once
// The project's JSON form (docs/project-json.md): export and import of a whole project.
// Export then import then store gives the project file of the exported project byte for byte;
// import applies the editor's own checks and names the JSON path of the first fault.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

// The project as a JSON document (UTF-8 text ending in a newline). Register numbers are
// written in the text form of their type when the PLC library has the port's protocol, else
// as exact raw fields, read against the PLC models of the project's ports (from the libraries
// of a_Context; the context's own models are not touched). The bitmap use counts are those a
// save would store; the project does not change.
std::string ExportProjectJson(const CKV410Project& a_Project, const CEditorContext& a_Context);

struct ProjectJsonImport {
  // The project, or null when the document was refused.
  std::unique_ptr<CKV410Project> m_Project;
  // Why it was refused: "<json path>: <reason>", or "line L, column C: <reason>" for text
  // that is not JSON.
  std::string m_Error;
  // Checks that could not be made (for instance a hardware model the library lacks).
  std::vector<std::string> m_Notes;

  explicit operator bool() const { return m_Project != nullptr; }
};

// Reads a project from its JSON form, checking it against the libraries of a_Context (the
// context's own models are not touched).
ProjectJsonImport ImportProjectJson(std::string_view a_Json, CEditorContext& a_Context);

}  // namespace kd820
