// Machine facts: a stable serial number and the battery charge.
#include <dirent.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/platform/Platform.h"

namespace platform {
namespace {

// Stands in when the machine has no readable identity.
constexpr uint32_t kDefaultSerial = 0x1D0C4A3B;

bool ReadFirstLine(const std::string& path, std::string* line) {
    std::ifstream file(path);
    return file && std::getline(file, *line);
}

// The machine id is 32 hexadecimal digits; its four 32-bit words folded
// together make the serial.
bool SerialFromMachineId(const std::string& text, uint32_t* serial) {
    if (text.size() < 32) return false;
    uint32_t folded = 0;
    for (int word = 0; word < 4; ++word) {
        uint32_t value = 0;
        for (int digit = 0; digit < 8; ++digit) {
            const char c = text[word * 8 + digit];
            int nibble;
            if (c >= '0' && c <= '9')
                nibble = c - '0';
            else if (c >= 'a' && c <= 'f')
                nibble = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                nibble = c - 'A' + 10;
            else
                return false;
            value = value << 4 | static_cast<uint32_t>(nibble);
        }
        folded ^= value;
    }
    *serial = folded;
    return true;
}

std::vector<std::string> PowerSupplies(const char* folder) {
    std::vector<std::string> names;
    if (DIR* directory = opendir(folder)) {
        while (const dirent* entry = readdir(directory))
            if (entry->d_name[0] != '.') names.push_back(entry->d_name);
        closedir(directory);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

uint32_t MachineSerial() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        std::string line;
        uint32_t serial;
        if (ReadFirstLine(path, &line) && SerialFromMachineId(line, &serial)) return serial;
    }
    return kDefaultSerial;
}

int BatteryPercent() {
    const std::string folder = "/sys/class/power_supply/";
    for (const std::string& name : PowerSupplies(folder.c_str())) {
        std::string type, capacity;
        if (!ReadFirstLine(folder + name + "/type", &type) || type != "Battery") continue;
        if (!ReadFirstLine(folder + name + "/capacity", &capacity)) continue;
        int percent = -1;
        std::from_chars(capacity.data(), capacity.data() + capacity.size(), percent);
        if (percent >= 0 && percent <= 100) return percent;
    }
    return 255;
}

}  // namespace platform
