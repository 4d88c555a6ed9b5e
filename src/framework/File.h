// CFile: a file handle with MFC's open flags; failures of writes and closes throw CFileException.
//
// Write writes every byte or throws. A disk that fills up may first accept a short count with no
// error (Wine does so); Write then writes the rest, and the write that cannot proceed throws with
// cause diskFull. Remove reports failure by returning FALSE and never throws.
#pragma once

#include <windows.h>

#include <string>

#include "framework/FileException.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };

    CFile();
    // Takes over a handle the caller opened.
    explicit CFile(HANDLE hFile) : m_hFile(hFile) {}
    // Closes an open file, ignoring errors.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE when the file cannot be opened (or, with modeCreate, created or emptied).
    virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags);
    void Write(const void* lpBuffer, UINT nCount);
    void Flush();
    // Closes the file; throws when the system reports a failure.
    void Close();
    // Closes the file without throwing.
    void Abort();

    static BOOL Remove(const char* lpszFileName);

    HANDLE m_hFile;  // INVALID_HANDLE_VALUE while closed

private:
    [[noreturn]] void ThrowLastError() const;
};
