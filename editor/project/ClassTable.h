#pragma once
// The classes a project file may name, split by the part of the editor that owns them.
#include <span>

#include "editor/base/Archive.h"
#include "editor/screens/ScreenClassTable.h"

namespace kd820 {

// The classes a project file may name (the lookup loading archives use).
const CRuntimeClass* FindArchiveClass(const std::string& a_Name);

// Settings, ports, languages and the bitmap library (ComponentClassTable.cpp).
std::span<const CRuntimeClass* const> ComponentArchiveClasses();

}  // namespace kd820
