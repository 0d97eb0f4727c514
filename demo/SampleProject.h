#pragma once
// A sample project that holds every element type, three languages, alarms, data transfers and
// bitmap items; used by the demo and by the tests.
#include <memory>

#include "editor/project/KV410Project.h"

namespace kd820 {

std::unique_ptr<CKV410Project> MakeSampleProject();

}  // namespace kd820
