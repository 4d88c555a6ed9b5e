#pragma once
#include <cstdint>

enum PcWriteResult { PC_WRITE_OK, PC_WRITE_DISK_FULL, PC_WRITE_FAILED };

// Writes a whole file under a temporary name in the target's folder and renames it onto the
// target only when every byte is on disk: a failure never leaves a partial file and never
// destroys an older file before the new one is whole.
PcWriteResult WritePcFileThroughTemp(const char* path, const uint8_t* data, uint32_t size);

// TRUE when a file or folder of that name exists.
bool PcPathExists(const char* path);
