#include "runtime/values/DataList.h"

#include "runtime/core/Engine.h"
#include "runtime/values/NumberText.h"

namespace {

DataList* gCurrentData = nullptr;

const DataItem& NextDataItem() {
    DataList* list = gCurrentData;
    if (!list || list->position < 0 || list->position >= list->count) {
        SetRuntimeError(20);
        EndProgram();
    }
    return list->items[list->position++];
}

}  // namespace

void RestoreData(DataList& list) {
    gCurrentData = &list;
    list.position = 0;
}

void ReadDataText(RtString& out) {
    const DataItem& item = NextDataItem();
    if (item.text)
        out = item.text;
    else
        out = item.number;
}

void ReadDataNumber(double& out) {
    const DataItem& item = NextDataItem();
    out = item.text ? ParseNumber(item.text) : item.number;
}
