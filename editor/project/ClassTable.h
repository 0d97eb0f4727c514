#pragma once
// The classes a project file may name, split by the part of the editor that owns them.
#include <span>

#include "editor/project/Archive.h"

// Settings, ports, languages and the bitmap library (ComponentClassTable.cpp).
std::span<const CRuntimeClass* const> ComponentArchiveClasses();
// Frames and every element class (editor/screens/ScreenClassTable.cpp).
std::span<const CRuntimeClass* const> ScreenArchiveClasses();
