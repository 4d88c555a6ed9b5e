#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A text of a language module file, by id; empty when the file or the id is missing.
std::string ModuleText(const std::string& modulePath, unsigned id);

// The texts a language-module pattern puts where its "%1" to "%9" stand; empty when the text
// does not have the pattern's form.
std::vector<std::string> Fields(const std::string& pattern, const std::string& text);

// A text of the language module with "%1" to "%9" replaced by the arguments.
std::string Fill(const std::string& pattern, const std::vector<std::string>& arguments);
std::string ByteSize(uint64_t bytes);  // as the platform writes a size: "554 KB"
