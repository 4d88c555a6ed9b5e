#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "EmulatorOptions.h"
#include "OutputQueue.h"
#include "ProtocolEngine.h"

// What goes out for one exchange once its fault, if any, is applied.
struct ReplyPlan {
    std::vector<OutputSegment> m_aSegments;
    uint32_t m_nDataBytesSent = 0;  // FR: file bytes that reach the PC; the position moves by these
    std::string m_strNote;          // what the fault did, empty without one
};

// Puts a scenario's status byte in place of the reply's first byte; returns the note to log.
std::string ReplaceStatus(PrinterReply& reply, uint8_t nStatus, uint64_t nExchange);

ReplyPlan PlanReply(const PrinterReply& reply, const ExchangeFault* pFault, uint64_t nExchange);
