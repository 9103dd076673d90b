// PlatformInfo (in runtime/runtime.h) answers a key text about the machine
// ("", "DEVICE", "TIME", "ID", "BATTERY", "GLEXT:name"); unknown keys answer
// "NO_DATA". This is the time text it gives.
#pragma once

#include <ctime>

#include "runtime/values/RtString.h"

RtString DateTimeText(const std::tm& when);  // 2009-03-05 07:04:09
