#include "framework/File.h"

#include <cstring>

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE) {}

CFile::CFile(const char* lpszFileName, UINT nOpenFlags) : m_hFile(INVALID_HANDLE_VALUE) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags, CFileException* pError) {
    Abort();
    m_strFileName = lpszFileName != nullptr ? lpszFileName : "";

    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 3) {
        case modeWrite:
            dwAccess = GENERIC_WRITE;
            break;
        case modeReadWrite:
            dwAccess = GENERIC_READ | GENERIC_WRITE;
            break;
    }

    DWORD dwShare = 0;  // shareCompat and shareExclusive
    switch (nOpenFlags & 0x70) {
        case shareDenyWrite:
            dwShare = FILE_SHARE_READ;
            break;
        case shareDenyRead:
            dwShare = FILE_SHARE_WRITE;
            break;
        case shareDenyNone:
            dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
            break;
    }

    DWORD dwCreation = OPEN_EXISTING;
    if ((nOpenFlags & modeCreate) != 0)
        dwCreation = (nOpenFlags & modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES security = {sizeof(security), nullptr,
                                    (nOpenFlags & modeNoInherit) == 0 ? TRUE : FALSE};
    HANDLE hFile = ::CreateFileA(m_strFileName.c_str(), dwAccess, dwShare, &security, dwCreation,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const LONG lOsError = static_cast<LONG>(::GetLastError());
        if (pError != nullptr)
            *pError = CFileException(CFileException::OsErrorToException(lOsError), lOsError,
                                     m_strFileName.c_str());
        return FALSE;
    }
    m_hFile = hFile;
    return TRUE;
}

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName.c_str());
}

UINT CFile::Read(void* lpBuffer, UINT nCount) {
    if (nCount == 0) return 0;
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuffer, nCount, &dwRead, nullptr)) ThrowLastError();
    return dwRead;
}

void CFile::Write(const void* lpBuffer, UINT nCount) {
    const auto* pNext = static_cast<const BYTE*>(lpBuffer);
    while (nCount > 0) {
        DWORD dwWritten = 0;
        if (!::WriteFile(m_hFile, pNext, nCount, &dwWritten, nullptr)) ThrowLastError();
        // A write that succeeds without moving a byte means the medium has no room left.
        if (dwWritten == 0)
            throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName.c_str());
        pNext += dwWritten;
        nCount -= dwWritten;
    }
}

void CFile::Flush() {
    if (m_hFile == INVALID_HANDLE_VALUE) return;
    if (!::FlushFileBuffers(m_hFile)) ThrowLastError();
}

ULONGLONG CFile::Seek(LONGLONG lOffset, UINT nFrom) {
    LARGE_INTEGER distance;
    distance.QuadPart = lOffset;
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(m_hFile, distance, &position, nFrom)) ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size)) ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
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

BOOL CFile::GetStatus(const char* lpszFileName, CFileStatus& rStatus) {
    std::memset(&rStatus, 0, sizeof(rStatus));
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (lpszFileName == nullptr ||
        !::GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    if (::GetFullPathNameA(lpszFileName, MAX_PATH, rStatus.m_szFullName, nullptr) >= MAX_PATH)
        rStatus.m_szFullName[0] = '\0';
    rStatus.m_ctime = data.ftCreationTime;
    rStatus.m_atime = data.ftLastAccessTime;
    rStatus.m_mtime = data.ftLastWriteTime;
    rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
    return TRUE;
}

BOOL CFile::Remove(const char* lpszFileName) { return ::DeleteFileA(lpszFileName); }

BOOL CFile::Rename(const char* lpszOldName, const char* lpszNewName) {
    return ::MoveFileA(lpszOldName, lpszNewName);
}
