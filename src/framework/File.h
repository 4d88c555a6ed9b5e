// CFile: a file handle with MFC's open flags; failures of reads and writes throw CFileException.
//
// Write writes every byte or throws. A disk that fills up may first accept a short count with no
// error (Wine does so); Write then writes the rest, and the write that cannot proceed throws with
// cause diskFull. Remove and Rename report failure by returning FALSE and never throw.
#pragma once

#include <windows.h>

#include <string>

#include "framework/FileException.h"

struct CFileStatus {
    FILETIME m_ctime;  // creation
    FILETIME m_atime;  // last access
    FILETIME m_mtime;  // last write
    ULONGLONG m_size;
    BYTE m_attribute;  // FILE_ATTRIBUTE_* of the low byte
    char m_szFullName[MAX_PATH];
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile();
    // Opens the file or throws CFileException.
    CFile(const char* lpszFileName, UINT nOpenFlags);
    // Closes an open file, ignoring errors.
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // FALSE on failure, with the cause in *pError when given.
    virtual BOOL Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Returns the bytes read (fewer at the end of the file).
    UINT Read(void* lpBuffer, UINT nCount);
    void Write(const void* lpBuffer, UINT nCount);
    void Flush();
    ULONGLONG Seek(LONGLONG lOffset, UINT nFrom);
    ULONGLONG GetLength() const;
    // Closes the file; throws when the system reports a failure.
    void Close();
    // Closes the file without throwing.
    void Abort();

    const std::string& GetFilePath() const { return m_strFileName; }

    // TRUE when the file or folder exists, with its status filled in.
    static BOOL GetStatus(const char* lpszFileName, CFileStatus& rStatus);
    static BOOL Remove(const char* lpszFileName);
    static BOOL Rename(const char* lpszOldName, const char* lpszNewName);

    HANDLE m_hFile;  // INVALID_HANDLE_VALUE while closed

private:
    [[noreturn]] void ThrowLastError() const;

    std::string m_strFileName;
};
