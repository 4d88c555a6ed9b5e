#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "CardSource.h"
#include "EmulatorOptions.h"
#include "PacketParser.h"
#include "StatusSequence.h"

// The whole reply the printer has for one packet, before any fault cuts it.
struct PrinterReply {
    std::vector<uint8_t> m_aBytes;
    bool m_bFileRead = false;  // an FR reply with an open file: status byte, then data
    uint32_t m_nDataBytes = 0;
};

// The printer's side of the protocol: the card, the open file and its read position, the
// listing pair, the status bytes of the scenario.
class CProtocolEngine {
public:
    static constexpr uint8_t STATUS_OK = 0x00;
    static constexpr uint8_t STATUS_REFUSED = 0xFF;       // FO of a missing file or a folder
    static constexpr uint8_t STATUS_NO_OPEN_FILE = 0xFF;  // FR before any successful FO
    // One FR reply carries at most this much, whatever the PC asks for.
    static constexpr uint32_t MAX_READ_BYTES = 16u << 20;

    CProtocolEngine();

    // Starts afresh with this card and scenario: no file open, no listing pair begun.
    void Reset(std::unique_ptr<CCardSource> pCard, const ScenarioOptions& scenario);

    PrinterReply Answer(const ReceivedItem& packet);

    // The data bytes of the last FR reply that actually went out; the position moves by that.
    void CommitFileRead(uint32_t nDataBytes);
    // Data counted by CommitFileRead that were dropped before they reached the PC.
    void ReturnUnsentFileData(uint32_t nDataBytes);

    // The reply before this packet did not reach the PC whole (silenced, cut, dropped): a
    // listing header among it begins no pair, as the PC gives that listing up.
    void ReplyNotDelivered() { m_bListingHeaderSent = false; }

private:
    PrinterReply AnswerListing(const std::vector<uint8_t>& aArgument);
    PrinterReply AnswerOpen(const std::vector<uint8_t>& aArgument);
    PrinterReply AnswerRead(const std::vector<uint8_t>& aArgument);

    std::unique_ptr<CCardSource> m_pCard;
    CStatusSequence m_srStatus;
    CStatusSequence m_scStatus;
    CStatusSequence m_foStatus;
    uint8_t m_nIrStatus = 0;
    uint8_t m_nFrStatus = 0;
    uint32_t m_nCountExtra = 0;
    std::vector<InjectedRecord> m_aInjected;

    std::unique_ptr<CCardFile> m_pOpenFile;
    uint32_t m_nReadPosition = 0;

    // The PC lists with two identical IR packets and reads only the header after the first.
    bool m_bListingHeaderSent = false;
    std::vector<uint8_t> m_aListingPattern;
};
