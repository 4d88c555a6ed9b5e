// CFileException: what CFile throws. Thrown BY VALUE; catch it as `const CFileException&`.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

class CFileException : public std::exception {
public:
    // The causes and their values as in MFC 4.
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, LONG lOsError = -1,
                            const char* lpszFileName = nullptr);

    // The cause that fits an operating-system error code.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, const char* lpszFileName = nullptr);

    const char* what() const noexcept override;

    int m_cause;
    LONG m_lOsError;  // the operating system's error code, -1 when there is none
    std::string m_strFileName;
};
