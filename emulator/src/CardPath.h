#pragma once
#include <string>
#include <vector>

#include "CardRecord.h"

// Card paths as the PC sends them: "\" separated, where a run of backslashes counts as one
// separator (the PC doubles it for the root). Names compare without regard to ASCII case.

using CardFolder = std::vector<std::string>;

std::string UpperAscii(std::string strText);

// The non-empty components of a card path.
CardFolder SplitCardPath(const std::string& strPath);

// A listing pattern "<folder>\<mask>": the folder's components and the mask ("*.*").
void SplitListingPattern(const std::string& strPattern, CardFolder& folder, std::string& strMask);

bool SameCardFolder(const CardFolder& a, const CardFolder& b);

// DOS-style mask test: "*.*" and "*" take everything, otherwise '*' and '?' wildcards.
bool MaskMatches(const std::string& strMask, const ShortName& name);
