#pragma once
// A project header that includes a device header, as the layers allow.
#include "editor/devices/Wrong.h"
