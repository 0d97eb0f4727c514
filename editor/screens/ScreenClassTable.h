#pragma once
// The persistent classes of the screens: frames, every element class and their parts.
#include <span>

#include "editor/base/Archive.h"

namespace kd820 {

std::span<const CRuntimeClass* const> ScreenArchiveClasses();

}  // namespace kd820
