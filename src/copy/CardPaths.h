#pragma once
#include <string>

// Card paths begin with "\", join names with "\" and have no trailing backslash; "\" is the root.

// "\DCIM\100PHOTO" -> "\DCIM", "\DCIM" -> "\", "\" -> "\", "NAME" -> "".
std::string CutToParent(const std::string& path);
// Before the last backslash; "\DCIM" -> "", "C:\" -> "C:", a path without one stays as it is.
std::string CutLastComponent(const std::string& path);
// The text after the last backslash, "" for a one-character path (the root).
std::string GetFolderLabel(const std::string& path);
// A child of a card folder: "\" + name at the root, else folder + "\" + name.
std::string JoinCardPath(const std::string& folder, const std::string& name);
// Length of the source's parent part including its last backslash (root 1, \DCIM 1, \DCIM\SUB 6).
int PrefixLength(const std::string& source);
// A card name against a pattern as the command prompt reads one: * any run of characters, ? any one
// character, case aside; a closing ".*" may also fit a name without a dot ("*.*" fits "README"),
// and a closing "." fits only such names ("*." fits "README" and "DCIM", not "A.JPG").
bool CardNameFits(const std::string& name, const std::string& pattern);
