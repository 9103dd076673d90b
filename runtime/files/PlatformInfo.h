// PlatformInfo: answers a key text about the machine ("", "DEVICE", "TIME",
// "ID", "BATTERY", "GLEXT:name"); unknown keys answer "NO_DATA".
#pragma once

#include <ctime>

#include "runtime/values/RtString.h"

RtString PlatformInfo(RtString& key);        // upper-cases the caller's key first
RtString PlatformInfo(RtString&& key);       // for a key given as a literal
RtString DateTimeText(const std::tm& when);  // 2009-03-05 07:04:09
