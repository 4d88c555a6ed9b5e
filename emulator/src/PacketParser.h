#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The five commands the printer knows: ESC and two letters, then the argument.
enum class PRINTER_COMMAND { SR, SC, IR, FO, FR };

// One item of the PC's byte stream: a whole packet, or a run of bytes that is none.
struct ReceivedItem {
    bool m_bGarbage = false;
    PRINTER_COMMAND m_command = PRINTER_COMMAND::SR;
    std::vector<uint8_t> m_aBytes;     // everything received, ESC included
    std::vector<uint8_t> m_aArgument;  // after the letters; a text argument without its NUL
};

// Splits the PC's byte stream into packets, whatever pieces it arrives in. Bytes that do not
// start a known packet are skipped up to the next ESC and reported as garbage.
class CPacketParser {
public:
    static constexpr uint8_t ESC = 0x1B;
    // The PC builds packets in a 1024-byte buffer; a text that runs longer is not a packet.
    static constexpr size_t MAX_PACKET = 1024;

    void Feed(const uint8_t* pBytes, size_t nCount, std::vector<ReceivedItem>& aItems);
    void Reset();

private:
    void FeedByte(uint8_t nByte, std::vector<ReceivedItem>& aItems);
    void EmitGarbage(std::vector<ReceivedItem>& aItems);
    // The pending bytes cannot become a packet: the ESC is garbage, the rest is looked at again.
    void Reject(std::vector<ReceivedItem>& aItems);

    std::vector<uint8_t> m_aPending;  // a packet begun, starting with ESC
    std::vector<uint8_t> m_aGarbage;
};
