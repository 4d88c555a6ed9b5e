#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The record of what crossed the port, one line each:
//   "> 1b535200"  a packet from the PC
//   "< 00"        bytes sent to the PC (one line per reply, or per part)
//   "? 4142"      bytes received that form no packet
//   "# text"      a note: a fault applied, a disconnect, a reset
// Kept in memory for the control channel (when enabled) and appended to a file (when given).
class CPacketLog {
public:
    CPacketLog() = default;
    ~CPacketLog();
    CPacketLog(const CPacketLog&) = delete;
    CPacketLog& operator=(const CPacketLog&) = delete;

    bool OpenFile(const std::string& strPath, std::string& strError);
    void KeepInMemory(bool bKeep) { m_bKeepInMemory = bKeep; }

    void Packet(const std::vector<uint8_t>& aBytes) { Add("> ", aBytes); }
    void Sent(const uint8_t* pBytes, size_t nCount);
    void Garbage(const std::vector<uint8_t>& aBytes) { Add("? ", aBytes); }
    void Note(const std::string& strText);
    // A note for the file alone, such as the reset that starts a new in-memory log.
    void FileNote(const std::string& strText);

    void ClearMemory() { m_aLines.clear(); }
    const std::vector<std::string>& Lines() const { return m_aLines; }

private:
    void Add(const char* pszPrefix, const std::vector<uint8_t>& aBytes);
    void AddLine(const std::string& strLine, bool bFileOnly);

    FILE* m_pFile = nullptr;
    bool m_bKeepInMemory = false;
    std::vector<std::string> m_aLines;
};
