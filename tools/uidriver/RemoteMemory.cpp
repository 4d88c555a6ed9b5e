#include "RemoteMemory.h"

CRemoteMemory::CRemoteMemory(HANDLE hProcess, size_t nSize)
    : m_hProcess(hProcess), m_pAddress(nullptr), m_nSize(nSize) {
    m_pAddress = VirtualAllocEx(hProcess, nullptr, nSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

CRemoteMemory::~CRemoteMemory() {
    if (m_pAddress) VirtualFreeEx(m_hProcess, m_pAddress, 0, MEM_RELEASE);
}

bool CRemoteMemory::Write(const void* pData, size_t nSize, size_t nOffset) {
    if (!m_pAddress || nOffset + nSize > m_nSize) return false;
    SIZE_T nMoved = 0;
    return WriteProcessMemory(m_hProcess, Address() + nOffset, pData, nSize, &nMoved) &&
           nMoved == nSize;
}

bool CRemoteMemory::Read(void* pData, size_t nSize, size_t nOffset) const {
    if (!m_pAddress || nOffset + nSize > m_nSize) return false;
    SIZE_T nMoved = 0;
    return ReadProcessMemory(m_hProcess, Address() + nOffset, pData, nSize, &nMoved) &&
           nMoved == nSize;
}
