#pragma once
#include <cstdint>

enum PcWriteResult { PC_WRITE_OK, PC_WRITE_DISK_FULL, PC_WRITE_FAILED };

// Writes a whole file under a temporary name in the target's folder and renames it onto the
// target only when every byte is on disk: a failure never leaves a partial file and never
// destroys an older file before the new one is whole.
PcWriteResult WritePcFileThroughTemp(const char* path, const uint8_t* data, uint32_t size);

// True when a file of that name exists: a folder in the way is no copy of the file, and the
// write that follows names it as a file that could not be written.
bool PcFileExists(const char* path);
