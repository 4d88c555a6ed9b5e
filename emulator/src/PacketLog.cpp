#include "PacketLog.h"

#include <cerrno>
#include <cstring>

#include "ByteHex.h"

CPacketLog::~CPacketLog() {
    if (m_pFile != nullptr) fclose(m_pFile);
}

bool CPacketLog::OpenFile(const std::string& strPath, std::string& strError) {
    m_pFile = fopen(strPath.c_str(), "ae");
    if (m_pFile == nullptr) {
        strError = "log file " + strPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void CPacketLog::Sent(const uint8_t* pBytes, size_t nCount) {
    AddLine("< " + ToHex(pBytes, nCount), false);
}

void CPacketLog::Add(const char* pszPrefix, const std::vector<uint8_t>& aBytes) {
    AddLine(pszPrefix + ToHex(aBytes), false);
}

namespace {

// A note must stay one line, whatever a path or a message holds.
std::string OneLine(const std::string& strText) {
    std::string strLine = strText;
    for (char& c : strLine) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return strLine;
}

}  // namespace

void CPacketLog::Note(const std::string& strText) { AddLine("# " + OneLine(strText), false); }

void CPacketLog::FileNote(const std::string& strText) { AddLine("# " + OneLine(strText), true); }

void CPacketLog::AddLine(const std::string& strLine, bool bFileOnly) {
    if (m_bKeepInMemory && !bFileOnly) m_aLines.push_back(strLine);
    if (m_pFile != nullptr) {
        fputs(strLine.c_str(), m_pFile);
        fputc('\n', m_pFile);
        fflush(m_pFile);
    }
}
