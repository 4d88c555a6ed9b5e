#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The PC's end of the printer port, for tools that drive the printer as the program does:
// one packet per write, and reads of an exact length that give up at a deadline, like the
// port's time-outs.
class CPcPort {
public:
    static constexpr std::chrono::milliseconds PORT_TIMEOUT{5000};

    CPcPort() = default;
    ~CPcPort() { Close(); }
    CPcPort(const CPcPort&) = delete;
    CPcPort& operator=(const CPcPort&) = delete;

    bool Open(const std::string& strPath);
    void Close();

    bool Send(const std::vector<uint8_t>& aPacket);
    // Up to nCount bytes: fewer when the deadline passes or the printer closes the port.
    std::vector<uint8_t> Receive(size_t nCount, std::chrono::milliseconds deadline = PORT_TIMEOUT);
    std::vector<uint8_t> Exchange(const std::vector<uint8_t>& aPacket, size_t nReplyBytes);

    // Bytes the printer sent that nobody has read.
    size_t Waiting() const;
    // Whether the last receive found the printer's end closed.
    bool HungUp() const { return m_bHungUp; }

private:
    int m_hPort = -1;
    bool m_bHungUp = false;
};

// The PC's packets: ESC, two letters, the argument.
std::vector<uint8_t> PacketSr(uint8_t nArgument);
std::vector<uint8_t> PacketSc();
std::vector<uint8_t> PacketIr(const std::string& strPattern);
std::vector<uint8_t> PacketFo(const std::string& strPath);
std::vector<uint8_t> PacketFr(uint32_t nCount);
