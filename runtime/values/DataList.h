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

void RestoreData(DataList& list);  // makes the list current, from its first item
void ReadDataText(RtString& out);  // a number item arrives as its number text
void ReadDataNumber(double& out);  // a text item arrives through atof
