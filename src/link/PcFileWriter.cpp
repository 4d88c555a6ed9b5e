#include "link/PcFileWriter.h"

#include <windows.h>

#include <cstring>

#include "framework/File.h"
#include "framework/FileException.h"

bool PcPathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

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

    CFile file;
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite)) {
        CFile::Remove(temp);
        return PC_WRITE_FAILED;
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
