#pragma once
// A device header that reaches up into the project: the layer check must refuse it.
#include "editor/project/Right.h"
