#include "link/PcFileWriter.h"

#include <windows.h>

#include <cstring>

bool PcPathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

static bool IsDiskFullError(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

// Under Wine a write that fills the disk first succeeds with a short count; only the next
// write fails. So the rest is written again, and a write that moves nothing is a full disk.
static PcWriteResult WriteAll(HANDLE file, const uint8_t* data, uint32_t size) {
    uint32_t done = 0;
    while (done < size) {
        DWORD moved = 0;
        const BOOL ok = WriteFile(file, data + done, size - done, &moved, nullptr);
        if (!ok) return IsDiskFullError(GetLastError()) ? PC_WRITE_DISK_FULL : PC_WRITE_FAILED;
        if (moved == 0) return PC_WRITE_DISK_FULL;
        done += moved;
    }
    if (!FlushFileBuffers(file) && IsDiskFullError(GetLastError())) return PC_WRITE_DISK_FULL;
    return PC_WRITE_OK;
}

PcWriteResult WritePcFileThroughTemp(const char* path, const uint8_t* data, uint32_t size) {
    char folder[MAX_PATH];
    const char* slash = std::strrchr(path, '\\');
    if (!slash) {
        std::strcpy(folder, ".");
    } else {
        const size_t n = static_cast<size_t>(slash - path);
        if (n + 1 >= sizeof(folder)) return PC_WRITE_FAILED;
        std::memcpy(folder, path, n);
        folder[n] = 0;
        if (n == 0 || (n == 2 && folder[1] == ':')) std::strcat(folder, "\\");  // a drive root
    }
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder, "~br", 0, temp)) return PC_WRITE_FAILED;

    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return PC_WRITE_FAILED;
    }
    PcWriteResult result = WriteAll(file, data, size);
    if (!CloseHandle(file) && result == PC_WRITE_OK) result = PC_WRITE_FAILED;
    if (result == PC_WRITE_OK && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        result = PC_WRITE_FAILED;
    }
    if (result != PC_WRITE_OK) DeleteFileA(temp);
    return result;
}
