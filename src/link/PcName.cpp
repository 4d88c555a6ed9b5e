#include "link/PcName.h"

#include <cctype>
#include <cstring>

namespace {
bool IsDeviceName(const char* name) {
    // Devices are reserved with or without an extension: "CON", "con.txt", "LPT1.JPG".
    char base[13] = {};
    size_t n = 0;
    while (name[n] && name[n] != '.' && n < 12) {
        base[n] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[n])));
        ++n;
    }
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* d : kDevices) {
        if (std::strcmp(base, d) == 0) return true;
    }
    if (n == 4 && (std::strncmp(base, "COM", 3) == 0 || std::strncmp(base, "LPT", 3) == 0) &&
        base[3] >= '1' && base[3] <= '9') {
        return true;
    }
    return false;
}
}  // namespace

bool IsSafePcName(const char* name) {
    const size_t n = std::strlen(name);
    if (n == 0 || n > 12) return false;
    // ".", "..", and names without a base (the card's own entries, never copied).
    if (name[0] == '.') return false;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
    }
    // The PC drops trailing dots and spaces, so "A." would land on "A".
    if (name[n - 1] == '.' || name[n - 1] == ' ') return false;
    return !IsDeviceName(name);
}

void CardNameFromWire(const unsigned char* wire, char name[13]) {
    int baseEnd = 8;
    while (baseEnd > 0 && wire[baseEnd - 1] == ' ') --baseEnd;
    int extensionEnd = 11;
    while (extensionEnd > 8 && wire[extensionEnd - 1] == ' ') --extensionEnd;
    size_t n = 0;
    const auto put = [&](unsigned char c) { name[n++] = c == 0 ? '\x01' : static_cast<char>(c); };
    for (int i = 0; i < baseEnd; ++i) put(wire[i]);
    if (extensionEnd > 8) {
        name[n++] = '.';
        for (int i = 8; i < extensionEnd; ++i) put(wire[i]);
    }
    name[n] = 0;
}

bool PcNameFromWire(const unsigned char* wire, char name[13]) {
    CardNameFromWire(wire, name);
    if (!IsSafePcName(name)) {
        name[0] = 0;
        return false;
    }
    return true;
}
