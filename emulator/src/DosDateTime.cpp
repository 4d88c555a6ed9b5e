#include "DosDateTime.h"

uint32_t DosDateTimeFromUnix(time_t nTime) {
    struct tm local {};
    if (localtime_r(&nTime, &local) == nullptr) return (1u << 5 | 1u) << 16;
    int nYear = local.tm_year + 1900;
    if (nYear < 1980) return (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
    if (nYear > 2107) {
        const uint32_t nDate = 127u << 9 | 12u << 5 | 31u;
        const uint32_t nTimeWord = 23u << 11 | 59u << 5 | 29u;
        return nTimeWord | nDate << 16;
    }
    const uint32_t nDate = static_cast<uint32_t>(nYear - 1980) << 9 |
                           static_cast<uint32_t>(local.tm_mon + 1) << 5 |
                           static_cast<uint32_t>(local.tm_mday);
    const int nSecond = local.tm_sec > 59 ? 59 : local.tm_sec;  // leap second
    const uint32_t nTimeWord = static_cast<uint32_t>(local.tm_hour) << 11 |
                               static_cast<uint32_t>(local.tm_min) << 5 |
                               static_cast<uint32_t>(nSecond / 2);
    return nTimeWord | nDate << 16;
}
