#pragma once
#include <cstdint>
#include <string>
#include <vector>

// "%1" to "%9" in a pattern of the language module replaced by the arguments; every other
// character stays as written, so a pattern with a wrong place number never reads past them.
std::string FormatText(const std::string& pattern, const std::vector<std::string>& arguments);

// "0:07", "12:05", "1:02:03".
std::string FormatDuration(uint64_t seconds);

// Whole percent done by bytes (by files when the copy holds no byte), never above 100.
int PercentDone(uint64_t doneBytes, uint64_t totalBytes, uint32_t doneFiles, uint32_t totalFiles);

// Seconds left at the average rate so far; -1 until that rate can be told.
int64_t SecondsLeft(uint64_t doneBytes, uint64_t totalBytes, double elapsedSeconds);
