#pragma once
#include <map>
#include <string>
#include <vector>

#include "Outcome.h"

// One file or folder of a tree, by its path relative to the tree's root.
struct TreeItem {
    bool bFolder = false;
    std::vector<unsigned char> aBytes;  // a file's contents
};
using FolderTree = std::map<std::string, TreeItem>;

// Every file and folder below a folder, with the files' contents ("DCIM", "DCIM\\A.JPG", ...).
FolderTree ReadFolderTree(const std::string& strFolder);

// The same names, kinds and bytes in both trees; the failure lists what differs.
Outcome SameTree(const FolderTree& actual, const FolderTree& expected);

// Files a write or a refresh could leave behind: "~~tmp~" and temporary files (*.tmp).
std::vector<std::string> TemporaryLeftovers(const FolderTree& tree);
