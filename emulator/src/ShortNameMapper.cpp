#include "ShortNameMapper.h"

#include <set>

#include "CardPath.h"

namespace {

bool IsShortNameCharacter(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    static const std::string SPECIALS = "$%'-_@~`!(){}^#&";
    return SPECIALS.find(c) != std::string::npos;
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Upper-cases what FAT allows and replaces the rest by '_', one '_' per UTF-8 character.
std::string CleanPart(const std::string& strPart) {
    std::string strClean;
    for (char c : strPart) {
        if (IsUtf8Continuation(c)) continue;
        strClean += IsShortNameCharacter(c) ? UpperAscii(std::string(1, c))[0] : '_';
    }
    return strClean;
}

ShortName GeneratedCandidate(const std::string& strBase, const std::string& strExtension,
                             unsigned nNumber) {
    const std::string strTail = "~" + std::to_string(nNumber);
    const size_t nKeep = strTail.size() < 8 ? 8 - strTail.size() : 0;
    return MakeShortName(strBase.substr(0, nKeep) + strTail, strExtension);
}

}  // namespace

bool FitsShortName(const std::string& strName) {
    const size_t nDot = strName.find('.');
    const std::string strBase = strName.substr(0, nDot);
    const std::string strExtension = nDot == std::string::npos ? "" : strName.substr(nDot + 1);
    if (strBase.empty() || strBase.size() > 8 || strExtension.size() > 3) return false;
    if (nDot != std::string::npos && strExtension.empty()) return false;  // "NAME."
    for (char c : strBase + strExtension) {
        if (!IsShortNameCharacter(c)) return false;
    }
    return true;
}

std::vector<ShortName> MapShortNames(const std::vector<std::string>& aHostNames) {
    std::vector<ShortName> aNames(aHostNames.size());
    std::vector<bool> aAssigned(aHostNames.size(), false);
    std::set<ShortName> taken;

    for (size_t i = 0; i < aHostNames.size(); ++i) {
        if (!FitsShortName(aHostNames[i])) continue;
        const std::string strUpper = UpperAscii(aHostNames[i]);
        const size_t nDot = strUpper.find('.');
        const ShortName name = MakeShortName(
            strUpper.substr(0, nDot), nDot == std::string::npos ? "" : strUpper.substr(nDot + 1));
        if (taken.insert(name).second) {
            aNames[i] = name;
            aAssigned[i] = true;
        }
    }

    for (size_t i = 0; i < aHostNames.size(); ++i) {
        if (aAssigned[i]) continue;
        std::string strStripped;
        for (char c : aHostNames[i]) {
            if (c != ' ') strStripped += c;
        }
        const size_t nFirst = strStripped.find_first_not_of('.');
        strStripped = nFirst == std::string::npos ? "" : strStripped.substr(nFirst);
        const size_t nLastDot = strStripped.rfind('.');
        std::string strBase = strStripped.substr(0, nLastDot);
        std::string strExtension =
            nLastDot == std::string::npos ? "" : strStripped.substr(nLastDot + 1);
        std::string strBaseNoDots;
        for (char c : strBase) {
            if (c != '.') strBaseNoDots += c;
        }
        strBase = CleanPart(strBaseNoDots);
        strExtension = CleanPart(strExtension).substr(0, 3);
        if (strBase.empty()) strBase = "_";
        for (unsigned nNumber = 1;; ++nNumber) {
            const ShortName candidate = GeneratedCandidate(strBase, strExtension, nNumber);
            if (taken.insert(candidate).second) {
                aNames[i] = candidate;
                break;
            }
        }
    }
    return aNames;
}
