// CFileException: what CFile throws. Thrown BY VALUE; catch it as `const CFileException&`.
#pragma once

#include <windows.h>

#include <exception>

class CFileException : public std::exception {
public:
    // The causes the program tells apart, with their values as in MFC 4.
    enum { none = 0, generic = 1, diskFull = 13 };

    explicit CFileException(int cause = none) : m_cause(cause) {}

    [[noreturn]] static void ThrowOsError(LONG lOsError);

    int m_cause;
};
