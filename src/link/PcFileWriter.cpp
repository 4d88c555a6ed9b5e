#include "link/PcFileWriter.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "framework/File.h"
#include "framework/FileException.h"

bool PcFileExists(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
// A temporary file beside the target, created under a name no file has, in one step: a name
// made first and opened later could meet a file made in between.
HANDLE CreateTempBeside(const char* folder, char temp[MAX_PATH]) {
    static std::atomic<unsigned> next{GetTickCount()};
    for (int attempt = 0; attempt < 256; ++attempt) {
        const UINT unique = ((++next) & 0xFFFF) | 1;  // with 0 the platform would pick and create
        if (!GetTempFileNameA(folder, "~br", unique, temp)) return INVALID_HANDLE_VALUE;
        HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}
}  // namespace

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
    CFile file(CreateTempBeside(folder, temp));
    if (file.m_hFile == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();  // a full disk can refuse the file itself
        return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? PC_WRITE_DISK_FULL : PC_WRITE_FAILED;
    }
    PcWriteResult result = PC_WRITE_OK;
    try {
        file.Write(data, size);
        file.Flush();
        file.Close();
    } catch (const CFileException& error) {
        file.Abort();
        result = error.m_cause == CFileException::diskFull ? PC_WRITE_DISK_FULL : PC_WRITE_FAILED;
    }
    if (result == PC_WRITE_OK && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) result = PC_WRITE_FAILED;
    if (result != PC_WRITE_OK) CFile::Remove(temp);
    return result;
}
