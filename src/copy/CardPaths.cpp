#include "copy/CardPaths.h"

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
