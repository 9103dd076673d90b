// Any bytes as an INI file: loading, lookup and writing back must stay in
// bounds, what is written back must load to the same text again, and it
// begins with a byte-order mark whenever the file did.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/files/ByteOrderMark.h"
#include "runtime/files/IniFile.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    IniTable table;
    table.Load(text, size);
    if (!table.sections.empty()) {
        for (const IniEntry& entry : table.sections[0].entries) {
            if (!table.Find(table.sections[0].name.CStr(), entry.key.CStr())) abort();
        }
    }
    table.Put(RtString("Fuzz"), RtString("Key"), RtString("Value"));
    const std::string once = table.Text();
    if (table.byteOrderMark != StartsWithByteOrderMark(text, size) ||
        (table.byteOrderMark && !StartsWithByteOrderMark(once.data(), once.size())))
        abort();
    IniTable again;
    again.Load(once.data(), once.size());
    if (again.Text() != once || again.sections.size() != table.sections.size()) abort();
    return 0;
}
