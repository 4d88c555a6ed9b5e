#pragma once
#include <string>
#include <vector>

#include "CardRecord.h"

// Gives every host name of one folder the 8.3 name a camera card would show for it, unique
// within the folder. A name that already is a valid 8.3 name is only upper-cased; any other
// name gets a generated BASE~N form: spaces and leading dots dropped, the extension taken
// after the last dot, characters FAT does not allow replaced by '_', the base cut so that
// "~N" fits. So ".hidden" shows as HIDDEN~1 and "My Photo.jpeg" as MYPHOT~1.JPE.
// Names that fit 8.3 claim their names first, in the given order; generated names follow.
std::vector<ShortName> MapShortNames(const std::vector<std::string>& aHostNames);

// Whether a host name is already a valid 8.3 name (letters of either case).
bool FitsShortName(const std::string& strName);
