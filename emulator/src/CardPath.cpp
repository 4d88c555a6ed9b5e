#include "CardPath.h"

#include <fnmatch.h>

std::string UpperAscii(std::string strText) {
    for (char& c : strText) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return strText;
}

CardFolder SplitCardPath(const std::string& strPath) {
    CardFolder components;
    std::string strCurrent;
    for (char c : strPath) {
        if (c == '\\') {
            if (!strCurrent.empty()) components.push_back(strCurrent);
            strCurrent.clear();
        } else {
            strCurrent += c;
        }
    }
    if (!strCurrent.empty()) components.push_back(strCurrent);
    return components;
}

void SplitListingPattern(const std::string& strPattern, CardFolder& folder, std::string& strMask) {
    folder = SplitCardPath(strPattern);
    strMask.clear();
    // A pattern that ends in a separator names the folder itself: list all of it.
    if (folder.empty() || strPattern.back() == '\\') {
        strMask = "*.*";
        return;
    }
    strMask = folder.back();
    folder.pop_back();
}

bool SameCardFolder(const CardFolder& a, const CardFolder& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

bool MaskMatches(const std::string& strMask, const ShortName& name) {
    if (strMask == "*.*" || strMask == "*") return true;
    const std::string strName = UpperAscii(ShortNameText(name));
    const std::string strUpperMask = UpperAscii(strMask);
    if (fnmatch(strUpperMask.c_str(), strName.c_str(), FNM_NOESCAPE) == 0) return true;
    // "NAME.*" also takes a name without an extension, as DOS does.
    if (strUpperMask.size() > 2 && strUpperMask.compare(strUpperMask.size() - 2, 2, ".*") == 0 &&
        strName.find('.') == std::string::npos) {
        const std::string strBaseMask = strUpperMask.substr(0, strUpperMask.size() - 2);
        return fnmatch(strBaseMask.c_str(), strName.c_str(), FNM_NOESCAPE) == 0;
    }
    return false;
}
