#include "FolderTree.h"

#include <windows.h>

#include <filesystem>

#include "Files.h"

namespace fs = std::filesystem;

namespace {

std::string Describe(const TreeItem& item) {
    return item.bFolder ? "a folder" : "a file of " + std::to_string(item.aBytes.size()) + " bytes";
}

bool EndsWith(const std::string& strText, const std::string& strEnd) {
    return strText.size() >= strEnd.size() &&
           lstrcmpiA(strText.c_str() + strText.size() - strEnd.size(), strEnd.c_str()) == 0;
}

}  // namespace

FolderTree ReadFolderTree(const std::string& strFolder) {
    FolderTree tree;
    std::error_code error;
    for (fs::recursive_directory_iterator it(strFolder, error), end; !error && it != end; it.increment(error)) {
        TreeItem& item = tree[fs::relative(it->path(), strFolder).string()];
        item.bFolder = it->is_directory();
        if (!item.bFolder) ReadBytes(it->path().string(), &item.aBytes);
    }
    return tree;
}

Outcome SameTree(const FolderTree& actual, const FolderTree& expected) {
    std::string strDifferences;
    for (const auto& [strPath, item] : expected) {
        const auto found = actual.find(strPath);
        if (found == actual.end()) {
            strDifferences += "\n  missing: " + strPath + " (" + Describe(item) + ")";
        } else if (found->second.bFolder != item.bFolder) {
            strDifferences += "\n  " + strPath + " is " + Describe(found->second) + ", expected " +
                              Describe(item);
        } else if (found->second.aBytes != item.aBytes) {
            const std::vector<unsigned char>& aGot = found->second.aBytes;
            size_t nFirst = 0;
            while (nFirst < aGot.size() && nFirst < item.aBytes.size() &&
                   aGot[nFirst] == item.aBytes[nFirst]) {
                ++nFirst;
            }
            strDifferences += "\n  " + strPath + ": " + std::to_string(aGot.size()) +
                              " bytes, expected " + std::to_string(item.aBytes.size()) +
                              ", first difference at byte " + std::to_string(nFirst);
        }
    }
    for (const auto& [strPath, item] : actual) {
        if (!expected.count(strPath))
            strDifferences += "\n  unexpected: " + strPath + " (" + Describe(item) + ")";
    }
    if (strDifferences.empty()) return Outcome::Done();
    return Outcome::Failed("the trees differ:" + strDifferences);
}

std::vector<std::string> TemporaryLeftovers(const FolderTree& tree) {
    std::vector<std::string> aLeftovers;
    for (const auto& [strPath, item] : tree) {
        const std::string strName = FileName(strPath);
        if (!item.bFolder && (strName == "~~tmp~" || EndsWith(strName, ".tmp")))
            aLeftovers.push_back(strPath);
    }
    return aLeftovers;
}
