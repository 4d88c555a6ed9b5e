#include "copy/CardPaths.h"

#include <cctype>

std::string CutToParent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "\\";
    return path.substr(0, slash);
}

std::string CutLastComponent(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return path;
    return path.substr(0, slash);
}

std::string GetFolderLabel(const std::string& path) {
    if (path.size() <= 1) return "";
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1, 1023);
}

std::string JoinCardPath(const std::string& folder, const std::string& name) {
    if (folder.size() <= 1) return "\\" + name;
    return folder + "\\" + name;
}

int PrefixLength(const std::string& source) {
    if (source.size() <= 1) return 1;
    const size_t slash = source.find_last_of('\\');
    if (slash == std::string::npos || slash < 1) return 1;
    return static_cast<int>(slash) + 1;
}

namespace {
// Greedy, going back only to the last star: linear in practice, whatever the pattern typed.
bool Fits(const std::string& name, const std::string& pattern) {
    size_t n = 0, p = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || std::toupper(static_cast<unsigned char>(pattern[p])) ==
                                                                  std::toupper(static_cast<unsigned char>(name[n])))) {
            ++n;
            ++p;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
}  // namespace

bool CardNameFits(const std::string& name, const std::string& pattern) {
    if (!pattern.empty() && pattern.back() == '.') {
        return name.find('.') == std::string::npos && Fits(name, pattern.substr(0, pattern.size() - 1));
    }
    const bool anyExtension = pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0;
    return Fits(name, pattern) ||
           (anyExtension && name.find('.') == std::string::npos && Fits(name, pattern.substr(0, pattern.size() - 2)));
}
