#include "framework/File.h"

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags) {
    Abort();
    const bool bWrite = (nOpenFlags & modeWrite) != 0;
    const DWORD dwCreation = (nOpenFlags & modeCreate) != 0 ? CREATE_ALWAYS : OPEN_EXISTING;
    // Shared with nobody, and not inherited by the processes the program starts.
    HANDLE hFile = ::CreateFileA(lpszFileName, bWrite ? GENERIC_WRITE : GENERIC_READ, 0, nullptr,
                                 dwCreation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return FALSE;
    m_hFile = hFile;
    return TRUE;
}

void CFile::ThrowLastError() const { CFileException::ThrowOsError(static_cast<LONG>(::GetLastError())); }

void CFile::Write(const void* lpBuffer, UINT nCount) {
    const auto* pNext = static_cast<const BYTE*>(lpBuffer);
    while (nCount > 0) {
        DWORD dwWritten = 0;
        if (!::WriteFile(m_hFile, pNext, nCount, &dwWritten, nullptr)) ThrowLastError();
        // A write that succeeds without moving a byte means the medium has no room left.
        if (dwWritten == 0) throw CFileException(CFileException::diskFull);
        pNext += dwWritten;
        nCount -= dwWritten;
    }
}

void CFile::Flush() {
    if (m_hFile == INVALID_HANDLE_VALUE) return;
    if (!::FlushFileBuffers(m_hFile)) ThrowLastError();
}

void CFile::Close() {
    if (m_hFile == INVALID_HANDLE_VALUE) return;
    HANDLE hFile = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(hFile)) ThrowLastError();
}

void CFile::Abort() {
    if (m_hFile == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CFile::Remove(const char* lpszFileName) { return ::DeleteFileA(lpszFileName); }
