#include "ModuleText.h"

#include <windows.h>

#include <cctype>
#include <regex>

std::string ModuleText(const std::string& modulePath, unsigned id) {
    HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[1024] = "";
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
