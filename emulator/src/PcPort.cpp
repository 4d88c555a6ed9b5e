#include "PcPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

using namespace std::chrono;

namespace {

std::vector<uint8_t> TextPacket(char c1, char c2, const std::string& strText) {
    std::vector<uint8_t> aPacket(strText.size() + 4, 0);  // ESC, letters, text, NUL
    aPacket[0] = 0x1B;
    aPacket[1] = static_cast<uint8_t>(c1);
    aPacket[2] = static_cast<uint8_t>(c2);
    std::copy(strText.begin(), strText.end(), aPacket.begin() + 3);
    return aPacket;
}

}  // namespace

bool CPcPort::Open(const std::string& strPath) {
    Close();
    m_hPort = open(strPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_hPort < 0) return false;
    // The port is a byte pipe: no echo, no line editing, no translation.
    termios mode{};
    if (tcgetattr(m_hPort, &mode) == 0) {
        cfmakeraw(&mode);
        tcsetattr(m_hPort, TCSANOW, &mode);
    }
    return true;
}

void CPcPort::Close() {
    if (m_hPort >= 0) close(m_hPort);
    m_hPort = -1;
    m_bHungUp = false;
}

bool CPcPort::Send(const std::vector<uint8_t>& aPacket) {
    size_t nDone = 0;
    while (nDone < aPacket.size()) {
        const ssize_t nWritten = write(m_hPort, aPacket.data() + nDone, aPacket.size() - nDone);
        if (nWritten < 0 && errno == EINTR) continue;
        if (nWritten < 0 && errno == EAGAIN) {
            pollfd entry{m_hPort, POLLOUT, 0};
            poll(&entry, 1, static_cast<int>(PORT_TIMEOUT.count()));
            continue;
        }
        if (nWritten <= 0) return false;
        nDone += static_cast<size_t>(nWritten);
    }
    return true;
}

std::vector<uint8_t> CPcPort::Receive(size_t nCount, milliseconds deadline) {
    std::vector<uint8_t> aBytes;
    aBytes.reserve(nCount);
    const auto tEnd = steady_clock::now() + deadline;
    m_bHungUp = false;
    while (aBytes.size() < nCount) {
        const auto nLeft = duration_cast<milliseconds>(tEnd - steady_clock::now()).count();
        if (nLeft <= 0) break;
        pollfd entry{m_hPort, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(nLeft)) <= 0) continue;
        uint8_t buffer[65536];
        const ssize_t nRead =
            read(m_hPort, buffer, std::min(sizeof buffer, nCount - aBytes.size()));
        if (nRead < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (nRead <= 0) {  // end of file, or EIO once the master is closed
            m_bHungUp = true;
            break;
        }
        aBytes.insert(aBytes.end(), buffer, buffer + nRead);
    }
    return aBytes;
}

std::vector<uint8_t> CPcPort::Exchange(const std::vector<uint8_t>& aPacket, size_t nReplyBytes) {
    if (!Send(aPacket)) return {};
    return Receive(nReplyBytes);
}

size_t CPcPort::Waiting() const {
    int nCount = 0;
    ioctl(m_hPort, FIONREAD, &nCount);
    return static_cast<size_t>(nCount);
}

std::vector<uint8_t> PacketSr(uint8_t nArgument) { return {0x1B, 'S', 'R', nArgument}; }
std::vector<uint8_t> PacketSc() { return {0x1B, 'S', 'C'}; }
std::vector<uint8_t> PacketIr(const std::string& strPattern) {
    return TextPacket('I', 'R', strPattern);
}
std::vector<uint8_t> PacketFo(const std::string& strPath) { return TextPacket('F', 'O', strPath); }
std::vector<uint8_t> PacketFr(uint32_t nCount) {
    return {0x1B,
            'F',
            'R',
            static_cast<uint8_t>(nCount >> 24),
            static_cast<uint8_t>(nCount >> 16),
            static_cast<uint8_t>(nCount >> 8),
            static_cast<uint8_t>(nCount)};
}
