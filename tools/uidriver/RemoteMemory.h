#pragma once
#include <windows.h>

#include <cstddef>

// A block of memory inside another process. Control messages whose records hold pointers
// (list-view items, rectangles) are not carried across processes, so the record is placed in
// the control's own process, the message is sent with its address, and the answer read back.
class CRemoteMemory {
public:
    CRemoteMemory(HANDLE hProcess, size_t nSize);
    ~CRemoteMemory();
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    bool IsValid() const { return m_pAddress != nullptr; }
    // The block's address in the other process, to be passed in a message.
    char* Address() const { return static_cast<char*>(m_pAddress); }
    LPARAM AddressAt(size_t nOffset) const { return reinterpret_cast<LPARAM>(Address() + nOffset); }
    bool Write(const void* pData, size_t nSize, size_t nOffset = 0);
    bool Read(void* pData, size_t nSize, size_t nOffset = 0) const;

private:
    HANDLE m_hProcess;
    void* m_pAddress;
    size_t m_nSize;
};
