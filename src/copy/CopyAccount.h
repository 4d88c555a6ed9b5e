#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "copy/CopyTally.h"

// A text of the language module by id; empty when it is missing.
using ModuleTexts = std::function<std::string(UINT id)>;

std::string CountText(uint64_t value);
// "2.92 KB", as the platform writes sizes.
std::string BytesText(uint64_t value);

// The status line while a copy runs: files and bytes once the totals are known, files only in the
// short form.
std::string CopyProgressLine(uint32_t doneFiles, uint32_t totalFiles, uint64_t doneBytes, uint64_t totalBytes,
                             bool totalsFinal, bool shortForm, const ModuleTexts& text);
// The status line at the end: what arrived of how many.
std::string CopyEndLine(const CCopyTally& tally, bool stopped, const ModuleTexts& text);
// What the program left on the card, by cause and by name; empty when it left nothing.
std::string CopyReport(const CCopyTally& tally, const ModuleTexts& text);
