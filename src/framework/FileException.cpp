#include "framework/FileException.h"

CFileException::CFileException(int cause, LONG lOsError, const char* lpszFileName)
    : m_cause(cause),
      m_lOsError(lOsError),
      m_strFileName(lpszFileName != nullptr ? lpszFileName : "") {}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
        case NO_ERROR:
            return none;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_INVALID_HANDLE:
        case ERROR_NO_MORE_FILES:
            return fileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return badPath;
        case ERROR_TOO_MANY_OPEN_FILES:
        case ERROR_SHARING_BUFFER_EXCEEDED:
            return tooManyOpenFiles;
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_ACCESS:
        case ERROR_WRITE_PROTECT:
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
        case ERROR_NETWORK_ACCESS_DENIED:
            return accessDenied;
        case ERROR_BAD_FORMAT:
        case ERROR_NOT_DOS_DISK:
            return invalidFile;
        case ERROR_CURRENT_DIRECTORY:
            return removeCurrentDir;
        case ERROR_CANNOT_MAKE:
            return directoryFull;
        case ERROR_SEEK:
        case ERROR_NEGATIVE_SEEK:
        case ERROR_SEEK_ON_DEVICE:
        case ERROR_SECTOR_NOT_FOUND:
            return badSeek;
        case ERROR_NOT_READY:
        case ERROR_CRC:
        case ERROR_WRITE_FAULT:
        case ERROR_READ_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_OPEN_FAILED:
        case ERROR_IO_DEVICE:
            return hardIO;
        case ERROR_SHARING_VIOLATION:
            return sharingViolation;
        case ERROR_LOCK_VIOLATION:
        case ERROR_DRIVE_LOCKED:
            return lockViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return diskFull;
        case ERROR_HANDLE_EOF:
            return endOfFile;
        default:
            return generic;
    }
}

void CFileException::ThrowOsError(LONG lOsError, const char* lpszFileName) {
    throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

const char* CFileException::what() const noexcept {
    static const char* const kCauseTexts[] = {
        "no error",
        "unspecified error",
        "file not found",
        "bad path",
        "too many open files",
        "access denied",
        "invalid file",
        "cannot remove the current directory",
        "directory full",
        "seek error",
        "hardware I/O error",
        "sharing violation",
        "lock violation",
        "disk full",
        "end of file",
    };
    if (m_cause >= none && m_cause <= endOfFile) return kCauseTexts[m_cause];
    return kCauseTexts[generic];
}
