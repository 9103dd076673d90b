// DATA lists: the constant items a game program reads in order. One list at a
// time is current; reading past its end is runtime error 20.
#pragma once

#include "runtime/values/RtString.h"

struct DataItem {
    double number;
    const char* text;  // null when the item is a number
};

struct DataList {
    const DataItem* items;
    int count;
    int position;
};
