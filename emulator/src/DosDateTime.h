#pragma once
#include <cstdint>
#include <ctime>

// The write time and date of a FAT directory entry as one 32-bit word (bytes 22..25):
// time (hour << 11 | minute << 5 | second / 2) in the low half, date
// ((year - 1980) << 9 | month << 5 | day) in the high half. Local time, as cameras and
// Windows store it; times outside 1980..2107 are clamped to the nearest end.
uint32_t DosDateTimeFromUnix(time_t nTime);
