#pragma once
// The window's texts come from the suite's one catalogue: the ids are the Chinese texts of
// WindowTexts.h, ElementTexts.h and the core's messages.
#include <QString>

#include "platform/Translate.h"

namespace kd820 {

// A text constant of the catalogue, in the chosen language.
inline QString Text(const char* a_Id) { return QString::fromUtf8(Tr(a_Id)); }

}  // namespace kd820
