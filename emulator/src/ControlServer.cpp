#include "ControlServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
// A request is one short line; a "client" sending megabytes without a newline is not ours.
constexpr size_t MAX_REQUEST = 1 << 20;
}  // namespace

CControlServer::~CControlServer() {
    DropClient();
    if (m_hListen >= 0) close(m_hListen);
}

bool CControlServer::Listen(int nPort, std::string& strError) {
    m_hListen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_hListen < 0) {
        strError = std::string("control socket: ") + std::strerror(errno);
        return false;
    }
    const int nYes = 1;
    setsockopt(m_hListen, SOL_SOCKET, SO_REUSEADDR, &nYes, sizeof nYes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    if (bind(m_hListen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_hListen, 4) != 0) {
        strError = "control port " + std::to_string(nPort) + ": " + std::strerror(errno);
        close(m_hListen);
        m_hListen = -1;
        return false;
    }
    socklen_t nLength = sizeof address;
    getsockname(m_hListen, reinterpret_cast<sockaddr*>(&address), &nLength);
    m_nPort = ntohs(address.sin_port);
    return true;
}

// The newest connection takes over: a test that hung or crashed with its connection open must
// not lock every later test out.
void CControlServer::AcceptClient() {
    const int hClient = accept4(m_hListen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (hClient < 0) return;
    DropClient();
    m_hClient = hClient;
    m_strInput.clear();
    m_strOutput.clear();
}

void CControlServer::DropClient() {
    if (m_hClient >= 0) close(m_hClient);
    m_hClient = -1;
    m_strInput.clear();
    m_strOutput.clear();
}

void CControlServer::ReadRequests(std::vector<std::string>& aLines) {
    if (m_hClient < 0) return;
    char buffer[4096];
    for (;;) {
        const ssize_t nRead = read(m_hClient, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR) continue;
        if (nRead < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (nRead <= 0) {
            // Lines that arrived whole are still served; the client just cannot hear the answers.
            TakeCompleteLines(aLines);
            DropClient();
            return;
        }
        m_strInput.append(buffer, static_cast<size_t>(nRead));
    }
    TakeCompleteLines(aLines);
    if (m_strInput.size() > MAX_REQUEST) DropClient();
}

void CControlServer::TakeCompleteLines(std::vector<std::string>& aLines) {
    size_t nEnd;
    while ((nEnd = m_strInput.find('\n')) != std::string::npos) {
        std::string strLine = m_strInput.substr(0, nEnd);
        if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
        aLines.push_back(strLine);
        m_strInput.erase(0, nEnd + 1);
    }
}

void CControlServer::QueueResponse(const std::string& strText) {
    if (m_hClient < 0) return;
    m_strOutput += strText;
    WriteResponses();
}

void CControlServer::WriteResponses() {
    while (m_hClient >= 0 && !m_strOutput.empty()) {
        const ssize_t nWritten =
            send(m_hClient, m_strOutput.data(), m_strOutput.size(), MSG_NOSIGNAL);
        if (nWritten < 0 && errno == EINTR) continue;
        if (nWritten < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (nWritten <= 0) {
            DropClient();
            return;
        }
        m_strOutput.erase(0, static_cast<size_t>(nWritten));
    }
}
