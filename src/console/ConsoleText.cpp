#include "console/ConsoleText.h"

#include <windows.h>

#include <cctype>
#include <cstring>

void Say(FILE* stream, const std::string& text) {
    const HANDLE handle = ::GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    DWORD mode = 0;
    const int n = static_cast<int>(text.size());
    const int wide = n > 0 ? ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, nullptr, 0) : 0;
    if (wide <= 0 || !::GetConsoleMode(handle, &mode)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        return;
    }
    std::wstring unicode(static_cast<size_t>(wide), L' ');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), n, &unicode[0], wide);
    std::fflush(stream);
    DWORD written = 0;
    ::WriteConsoleW(handle, unicode.data(), static_cast<DWORD>(wide), &written, nullptr);
}

std::string ListingLine(const CardEntry& entry) {
    // The printer passes the write time (low half) and date (high half) of the card's directory.
    const unsigned time = entry.opaque & 0xFFFF, date = entry.opaque >> 16;
    const unsigned year = 1980 + (date >> 9), month = (date >> 5) & 15, day = date & 31;
    const unsigned hour = time >> 11, minute = (time >> 5) & 63;
    char when[32] = "                ";
    if (month >= 1 && month <= 12 && day >= 1 && hour < 24 && minute < 60) {
        std::snprintf(when, sizeof(when), "%04u-%02u-%02u %02u:%02u", year, month, day, hour, minute);
    }
    char size[32];
    if (entry.IsFolder()) {
        std::snprintf(size, sizeof(size), "%-14s", "<DIR>");
    } else {
        std::snprintf(size, sizeof(size), "%14lu", static_cast<unsigned long>(entry.size));
    }
    return std::string(when) + "  " + size + " " + entry.name;
}

ButtonKey ButtonKeyOf(const std::string& label, int answer) {
    ButtonKey button = {"", 0, answer};
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) {
            if (!button.key) button.key = label[i + 1];
            continue;
        }
        button.label += label[i];
    }
    if (!button.key && !button.label.empty()) button.key = button.label[0];
    return button;
}

std::string KeysPrompt(const std::vector<ButtonKey>& keys) {
    std::string prompt;
    for (const ButtonKey& key : keys) {
        prompt += (prompt.empty() ? "[" : "  [") + std::string(1, char(std::toupper(key.key))) + "] " + key.label;
    }
    return prompt + ": ";
}
