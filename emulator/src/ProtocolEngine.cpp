#include "ProtocolEngine.h"

#include <algorithm>
#include <string>

#include "EmptyCard.h"

CProtocolEngine::CProtocolEngine() : m_pCard(std::make_unique<CEmptyCard>()) {}

void CProtocolEngine::Reset(std::unique_ptr<CCardSource> pCard, const ScenarioOptions& scenario) {
    m_pOpenFile.reset();  // before the card it may read from
    m_nReadPosition = 0;
    m_pCard = std::move(pCard);
    m_srStatus = CStatusSequence(scenario.m_aSrStatus);
    m_scStatus = CStatusSequence(scenario.m_aScStatus);
    m_foStatus = CStatusSequence(scenario.m_aFoStatus);
    m_nIrStatus = scenario.m_nIrStatus;
    m_nFrStatus = scenario.m_nFrStatus;
    m_nCountExtra = scenario.m_nCountExtra;
    m_aInjected = scenario.m_aInjected;
    m_bListingHeaderSent = false;
    m_aListingPattern.clear();
}

PrinterReply CProtocolEngine::Answer(const ReceivedItem& packet) {
    if (packet.m_command != PRINTER_COMMAND::IR) m_bListingHeaderSent = false;
    PrinterReply reply;
    switch (packet.m_command) {
        case PRINTER_COMMAND::SR:
            // Only the greeting (SR 00) takes the scenario's status; the farewell is always fine.
            reply.m_aBytes.push_back(packet.m_aArgument.at(0) == 0x00 ? m_srStatus.Next()
                                                                      : STATUS_OK);
            break;
        case PRINTER_COMMAND::SC:
            reply.m_aBytes = {m_scStatus.Next(), 0x00};
            break;
        case PRINTER_COMMAND::IR:
            reply = AnswerListing(packet.m_aArgument);
            break;
        case PRINTER_COMMAND::FO:
            reply = AnswerOpen(packet.m_aArgument);
            break;
        case PRINTER_COMMAND::FR:
            reply = AnswerRead(packet.m_aArgument);
            break;
    }
    return reply;
}

PrinterReply CProtocolEngine::AnswerListing(const std::vector<uint8_t>& aArgument) {
    // The second of an identical pair gets header and records, the first the header alone.
    const bool bFullReply = m_bListingHeaderSent && aArgument == m_aListingPattern;
    m_bListingHeaderSent = !bFullReply;
    m_aListingPattern = aArgument;

    CardFolder folder;
    std::string strMask;
    SplitListingPattern(std::string(aArgument.begin(), aArgument.end()), folder, strMask);
    std::vector<CardRecord> aAll;
    std::vector<CardRecord> aRecords;
    // An unknown folder lists as empty, with status 00.
    if (m_pCard->ListFolder(folder, aAll)) {
        for (const CardRecord& record : aAll) {
            if (MaskMatches(strMask, record.m_name)) aRecords.push_back(record);
        }
    }
    for (const InjectedRecord& injected : m_aInjected) {
        if (SameCardFolder(injected.m_folder, folder)) aRecords.push_back(injected.m_record);
    }
    if (aRecords.size() > 0xFFFF) aRecords.resize(0xFFFF);
    const uint32_t nCount =
        std::min<uint32_t>(0xFFFF, static_cast<uint32_t>(aRecords.size()) + m_nCountExtra);

    PrinterReply reply;
    reply.m_aBytes = {m_nIrStatus, static_cast<uint8_t>(nCount >> 8), static_cast<uint8_t>(nCount)};
    if (bFullReply) {
        reply.m_aBytes.reserve(3 + aRecords.size() * WIRE_RECORD_SIZE);
        for (const CardRecord& record : aRecords) AppendWireRecord(record, reply.m_aBytes);
    }
    return reply;
}

PrinterReply CProtocolEngine::AnswerOpen(const std::vector<uint8_t>& aArgument) {
    m_pOpenFile.reset();
    m_nReadPosition = 0;
    const uint8_t nScenarioStatus = m_foStatus.Next();
    std::unique_ptr<CCardFile> pFile =
        m_pCard->OpenFile(SplitCardPath(std::string(aArgument.begin(), aArgument.end())));
    uint8_t nStatus = nScenarioStatus;
    if (nStatus == STATUS_OK && !pFile) nStatus = STATUS_REFUSED;
    // Any other error code still opens the file: the PC may go on reading after one.
    if (nStatus != STATUS_REFUSED) m_pOpenFile = std::move(pFile);

    const uint32_t nSize = m_pOpenFile ? m_pOpenFile->Size() : 0;
    PrinterReply reply;
    reply.m_aBytes = {nStatus, static_cast<uint8_t>(nSize >> 24), static_cast<uint8_t>(nSize >> 16),
                      static_cast<uint8_t>(nSize >> 8), static_cast<uint8_t>(nSize)};
    return reply;
}

PrinterReply CProtocolEngine::AnswerRead(const std::vector<uint8_t>& aArgument) {
    PrinterReply reply;
    if (!m_pOpenFile) {
        reply.m_aBytes = {STATUS_NO_OPEN_FILE};
        return reply;
    }
    const uint32_t nWanted = static_cast<uint32_t>(aArgument.at(0)) << 24 |
                             static_cast<uint32_t>(aArgument.at(1)) << 16 |
                             static_cast<uint32_t>(aArgument.at(2)) << 8 | aArgument.at(3);
    const uint32_t nSize = m_pOpenFile->Size();
    const uint32_t nLeft = nSize > m_nReadPosition ? nSize - m_nReadPosition : 0;
    const uint32_t nCount = std::min({nWanted, nLeft, MAX_READ_BYTES});
    reply.m_aBytes.resize(1 + static_cast<size_t>(nCount));
    reply.m_aBytes[0] = m_nFrStatus;
    const size_t nRead = m_pOpenFile->Read(m_nReadPosition, reply.m_aBytes.data() + 1, nCount);
    reply.m_aBytes.resize(1 + nRead);
    reply.m_bFileRead = true;
    reply.m_nDataBytes = static_cast<uint32_t>(nRead);
    return reply;
}

void CProtocolEngine::CommitFileRead(uint32_t nDataBytes) {
    if (m_pOpenFile) m_nReadPosition += nDataBytes;
}

void CProtocolEngine::ReturnUnsentFileData(uint32_t nDataBytes) {
    if (m_pOpenFile) m_nReadPosition -= std::min(nDataBytes, m_nReadPosition);
}
