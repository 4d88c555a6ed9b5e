#include "ReplyFaults.h"

#include <algorithm>

#include "ByteHex.h"

namespace {

std::vector<uint8_t> Head(const std::vector<uint8_t>& aBytes, size_t nCount) {
    return std::vector<uint8_t>(aBytes.begin(), aBytes.begin() + std::min(nCount, aBytes.size()));
}

uint32_t DataBytesIn(const PrinterReply& reply, size_t nReplyBytes) {
    if (!reply.m_bFileRead || nReplyBytes <= 1) return 0;
    return static_cast<uint32_t>(std::min<size_t>(nReplyBytes - 1, reply.m_nDataBytes));
}

}  // namespace

std::string ReplaceStatus(PrinterReply& reply, uint8_t nStatus, uint64_t nExchange) {
    // Every reply starts with its status byte: SR, SC, an IR header, FO and FR alike.
    const std::string strOld = ToHex(reply.m_aBytes.data(), 1);
    reply.m_aBytes[0] = nStatus;
    return "exchange " + std::to_string(nExchange) + ": status " + ToHex(&nStatus, 1) +
           " instead of " + strOld;
}

ReplyPlan PlanReply(const PrinterReply& reply, const ExchangeFault* pFault, uint64_t nExchange) {
    ReplyPlan plan;
    const std::string strAt = "exchange " + std::to_string(nExchange) + ": ";
    const size_t nSize = reply.m_aBytes.size();
    if (pFault == nullptr) {
        plan.m_aSegments.push_back(OutputSegment{reply.m_aBytes, 0, false});
        plan.m_nDataBytesSent = DataBytesIn(reply, nSize);
        return plan;
    }
    switch (pFault->m_kind) {
        case EXCHANGE_FAULT::CUT: {
            const size_t nSent = std::min<size_t>(pFault->m_nBytes, nSize);
            if (nSent > 0)
                plan.m_aSegments.push_back(OutputSegment{Head(reply.m_aBytes, nSent), 0, false});
            plan.m_nDataBytesSent = DataBytesIn(reply, nSent);
            plan.m_strNote = strAt + "cut to " + std::to_string(nSent) + " of " +
                             std::to_string(nSize) + " bytes";
            break;
        }
        case EXCHANGE_FAULT::SPLIT: {
            const size_t nFirst = std::min<size_t>(pFault->m_nBytes, nSize);
            plan.m_aSegments.push_back(OutputSegment{Head(reply.m_aBytes, nFirst), 0, false});
            if (nFirst < nSize) {
                plan.m_aSegments.push_back(OutputSegment{
                    std::vector<uint8_t>(reply.m_aBytes.begin() + nFirst, reply.m_aBytes.end()),
                    pFault->m_nPauseMs, false});
            }
            plan.m_nDataBytesSent = DataBytesIn(reply, nSize);
            plan.m_strNote = strAt + "split after " + std::to_string(nFirst) + " of " +
                             std::to_string(nSize) + " bytes, pause " +
                             std::to_string(pFault->m_nPauseMs) + " ms";
            break;
        }
        case EXCHANGE_FAULT::SILENCE:
            plan.m_strNote = strAt + "silence instead of " + std::to_string(nSize) + " bytes";
            break;
        case EXCHANGE_FAULT::GARBAGE:
            plan.m_aSegments.push_back(OutputSegment{pFault->m_aGarbage, 0, false});
            plan.m_strNote = strAt + "garbage " + ToHex(pFault->m_aGarbage) + " instead of " +
                             std::to_string(nSize) + " bytes";
            break;
        case EXCHANGE_FAULT::EXTRA: {
            std::vector<uint8_t> aBytes = reply.m_aBytes;
            aBytes.insert(aBytes.end(), pFault->m_aGarbage.begin(), pFault->m_aGarbage.end());
            plan.m_aSegments.push_back(OutputSegment{aBytes, 0, false});
            plan.m_nDataBytesSent = DataBytesIn(reply, nSize);
            plan.m_strNote = strAt + "extra " + ToHex(pFault->m_aGarbage) + " after " + std::to_string(nSize) + " bytes";
            break;
        }
        case EXCHANGE_FAULT::DISCONNECT: {
            const size_t nSent = std::min<size_t>(pFault->m_nBytes, nSize);
            plan.m_aSegments.push_back(OutputSegment{Head(reply.m_aBytes, nSent), 0, true});
            plan.m_nDataBytesSent = DataBytesIn(reply, nSent);
            plan.m_strNote = strAt + "disconnect after " + std::to_string(nSent) + " of " +
                             std::to_string(nSize) + " bytes";
            break;
        }
    }
    return plan;
}
