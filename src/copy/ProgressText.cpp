#include "copy/ProgressText.h"

#include <cmath>
#include <cstdio>

namespace {
// Too early, the rate says more about the greeting and the folder listings than the transfer.
constexpr double MIN_ESTIMATE_SECONDS = 2.0;
}

std::string FormatText(const std::string& pattern, const std::vector<std::string>& arguments) {
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : 0;
        if (pattern[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < arguments.size()) {
            text += arguments[next - '1'];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string FormatDuration(uint64_t seconds) {
    char text[32];
    const unsigned long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0) {
        std::snprintf(text, sizeof(text), "%llu:%02llu:%02llu", h, m, s);
    } else {
        std::snprintf(text, sizeof(text), "%llu:%02llu", m, s);
    }
    return text;
}

int PercentDone(uint64_t doneBytes, uint64_t totalBytes, uint32_t doneFiles, uint32_t totalFiles) {
    const double done = totalBytes > 0 ? double(doneBytes) / double(totalBytes)
                                       : (totalFiles > 0 ? double(doneFiles) / double(totalFiles) : 0.0);
    return done >= 1.0 ? 100 : int(done * 100.0);
}

int64_t SecondsLeft(uint64_t doneBytes, uint64_t totalBytes, double elapsedSeconds) {
    if (elapsedSeconds < MIN_ESTIMATE_SECONDS || doneBytes == 0) return -1;
    if (doneBytes >= totalBytes) return 0;
    return int64_t(std::ceil(double(totalBytes - doneBytes) * elapsedSeconds / double(doneBytes)));
}
