#pragma once
// A sample project that holds every element type, three languages, alarms, data transfers and
// bitmap items; used by the demo and by the tests.
#include <memory>

#include "editor/devices/EditorContext.h"
#include "editor/project/KV410Project.h"

namespace kd820 {

// Texts are measured with the fonts of a_Context.
std::unique_ptr<CKV410Project> MakeSampleProject(CEditorContext& a_Context);

}  // namespace kd820
