#include "ModuleText.h"

#include <windows.h>

#include <shlwapi.h>

#include <cctype>
#include <regex>

std::string ModuleText(const std::string& modulePath, unsigned id) {
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[4096] = "";
    if (module) {
        LoadStringA(module, id, text, sizeof(text));
        FreeLibrary(module);
    }
    return text;
}

std::vector<std::string> Fields(const std::string& pattern, const std::string& text) {
    std::string expression;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i + 1]))) {
            expression += "(.+?)";
            ++i;
        } else {
            expression += std::string(std::isalnum(static_cast<unsigned char>(pattern[i])) ? "" : "\\") + pattern[i];
        }
    }
    std::smatch match;
    if (!std::regex_match(text, match, std::regex(expression))) return {};
    return std::vector<std::string>(match.begin() + 1, match.end());
}

std::string Fill(const std::string& pattern, const std::vector<std::string>& arguments) {
    std::string text = pattern;
    for (size_t i = arguments.size(); i > 0; --i) {
        const std::string place = "%" + std::to_string(i);
        for (size_t at; (at = text.find(place)) != std::string::npos;) text.replace(at, place.size(), arguments[i - 1]);
    }
    return text;
}

std::string ByteSize(uint64_t bytes) {
    char text[64] = "";
    StrFormatByteSize64A(static_cast<LONGLONG>(bytes), text, sizeof(text));
    return text;
}
