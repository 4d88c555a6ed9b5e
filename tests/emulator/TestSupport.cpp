#include "TestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#ifndef EMULATOR_PROGRAM
#error "EMULATOR_PROGRAM must name the emulator binary"
#endif

using namespace std::chrono;

CTempDir::CTempDir() {
    char szTemplate[] = "/tmp/brisling-emulator-test-XXXXXX";
    if (mkdtemp(szTemplate) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strPath = szTemplate;
}

CTempDir::~CTempDir() { RunCommand("rm -rf '" + m_strPath + "'"); }

std::string RunCommand(const std::string& strCommand, int* pnExit) {
    std::string strOutput;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (pPipe == nullptr) {
        if (pnExit) *pnExit = -1;
        return strOutput;
    }
    char buffer[65536];
    size_t nRead;
    while ((nRead = fread(buffer, 1, sizeof buffer, pPipe)) > 0) strOutput.append(buffer, nRead);
    const int nStatus = pclose(pPipe);
    if (pnExit) *pnExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    return strOutput;
}

bool HaveTool(const std::string& strTool) {
    int nExit = 0;
    RunCommand("command -v " + strTool + " >/dev/null 2>&1", &nExit);
    return nExit == 0;
}

Bytes ReadFileBytes(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& strPath, const Bytes& aBytes) {
    std::ofstream file(strPath, std::ios::binary);
    file.write(reinterpret_cast<const char*>(aBytes.data()),
               static_cast<std::streamsize>(aBytes.size()));
}

Bytes PatternBytes(size_t nCount, uint32_t nSeed) {
    Bytes aBytes(nCount);
    uint32_t nState = nSeed * 2654435761u + 12345u;
    for (size_t i = 0; i < nCount; ++i) {
        nState = nState * 1103515245u + 12345u;
        aBytes[i] = static_cast<uint8_t>(nState >> 16);
    }
    return aBytes;
}

bool WaitFor(const std::function<bool()>& condition, milliseconds deadline) {
    const auto tEnd = steady_clock::now() + deadline;
    for (;;) {
        if (condition()) return true;
        if (steady_clock::now() >= tEnd) return false;
        std::this_thread::sleep_for(milliseconds(5));
    }
}

Bytes PacketSr(uint8_t nArgument) { return {0x1B, 'S', 'R', nArgument}; }
Bytes PacketSc() { return {0x1B, 'S', 'C'}; }

Bytes PacketIr(const std::string& strPattern) {
    Bytes aPacket{0x1B, 'I', 'R'};
    aPacket.insert(aPacket.end(), strPattern.begin(), strPattern.end());
    aPacket.push_back(0);
    return aPacket;
}

Bytes PacketFo(const std::string& strPath) {
    Bytes aPacket{0x1B, 'F', 'O'};
    aPacket.insert(aPacket.end(), strPath.begin(), strPath.end());
    aPacket.push_back(0);
    return aPacket;
}

Bytes PacketFr(uint32_t nCount) {
    return {0x1B,
            'F',
            'R',
            static_cast<uint8_t>(nCount >> 24),
            static_cast<uint8_t>(nCount >> 16),
            static_cast<uint8_t>(nCount >> 8),
            static_cast<uint8_t>(nCount)};
}

Bytes Concat(const Bytes& a, const Bytes& b) {
    Bytes aResult = a;
    aResult.insert(aResult.end(), b.begin(), b.end());
    return aResult;
}

uint32_t BigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

std::vector<WireRecord> ParseRecords(const Bytes& aReply, size_t nOffset, size_t nCount) {
    std::vector<WireRecord> aRecords;
    for (size_t i = 0; i < nCount && nOffset + (i + 1) * 20 <= aReply.size(); ++i) {
        const uint8_t* p = &aReply[nOffset + i * 20];
        WireRecord record;
        std::copy(p, p + 11, record.m_name.begin());
        record.m_nAttributes = p[11];
        record.m_nOpaque = p[12] | p[13] << 8 | p[14] << 16 | static_cast<uint32_t>(p[15]) << 24;
        record.m_nSize = p[16] | p[17] << 8 | p[18] << 16 | static_cast<uint32_t>(p[19]) << 24;
        aRecords.push_back(record);
    }
    return aRecords;
}

CPcPort::~CPcPort() { Close(); }

bool CPcPort::Open(const std::string& strLink) {
    Close();
    m_hPort = open(strLink.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    return m_hPort >= 0;
}

void CPcPort::Close() {
    if (m_hPort >= 0) close(m_hPort);
    m_hPort = -1;
}

void CPcPort::Send(const Bytes& aPacket) {
    size_t nDone = 0;
    while (nDone < aPacket.size()) {
        const ssize_t nWritten = write(m_hPort, aPacket.data() + nDone, aPacket.size() - nDone);
        if (nWritten < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (nWritten <= 0) throw std::runtime_error("write to the port failed");
        nDone += static_cast<size_t>(nWritten);
    }
}

Bytes CPcPort::Receive(size_t nCount, milliseconds deadline) {
    Bytes aBytes;
    const auto tEnd = steady_clock::now() + deadline;
    while (aBytes.size() < nCount) {
        const auto nLeft = duration_cast<milliseconds>(tEnd - steady_clock::now()).count();
        if (nLeft <= 0) break;
        pollfd entry{m_hPort, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(nLeft)) <= 0) continue;
        uint8_t buffer[65536];
        const ssize_t nRead =
            read(m_hPort, buffer, std::min(sizeof buffer, nCount - aBytes.size()));
        if (nRead < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (nRead <= 0) break;  // the printer is gone
        aBytes.insert(aBytes.end(), buffer, buffer + nRead);
    }
    return aBytes;
}

size_t CPcPort::Waiting() const {
    int nCount = 0;
    ioctl(m_hPort, FIONREAD, &nCount);
    return static_cast<size_t>(nCount);
}

bool CPcPort::SeesHangup() {
    uint8_t nByte;
    const ssize_t nRead = read(m_hPort, &nByte, 1);
    return nRead == 0 || (nRead < 0 && errno == EIO);
}

Bytes CPcPort::Exchange(const Bytes& aPacket, size_t nReply) {
    Send(aPacket);
    return Receive(nReply);
}

std::vector<WireRecord> CPcPort::List(const std::string& strPattern, uint8_t* pnStatus) {
    const Bytes aHeader = Exchange(PacketIr(strPattern), 3);
    if (aHeader.size() != 3) return {};
    const size_t nCount = static_cast<size_t>(aHeader[1]) << 8 | aHeader[2];
    const Bytes aFull = Exchange(PacketIr(strPattern), 3 + 20 * nCount);
    if (pnStatus) *pnStatus = aHeader[0];
    return ParseRecords(aFull, 3, nCount);
}

CEmulatorProcess::~CEmulatorProcess() {
    DisconnectControl();
    if (m_nPid > 0) {
        kill(m_nPid, SIGTERM);
        if (WaitForExit(milliseconds(5000)) == -1) {
            kill(m_nPid, SIGKILL);
            waitpid(m_nPid, nullptr, 0);
        }
    }
}

bool CEmulatorProcess::Start(const std::vector<std::string>& aOptions, bool bControl) {
    std::vector<std::string> aArgs{EMULATOR_PROGRAM, "--link", LinkPath(), "--log", LogPath()};
    if (bControl) {
        aArgs.insert(aArgs.end(), {"--control-port", "0", "--port-file", m_dir / "port"});
    }
    aArgs.insert(aArgs.end(), aOptions.begin(), aOptions.end());
    m_nPid = fork();
    if (m_nPid < 0) return false;
    if (m_nPid == 0) {
        const int hNull = open("/dev/null", O_RDWR);
        dup2(hNull, 0);
        dup2(hNull, 1);
        std::vector<char*> aArgv;
        for (std::string& strArg : aArgs) aArgv.push_back(strArg.data());
        aArgv.push_back(nullptr);
        execv(aArgv[0], aArgv.data());
        _exit(127);
    }
    if (!bControl) {
        return WaitFor([&] { return access(LinkPath().c_str(), F_OK) == 0; }, milliseconds(10000));
    }
    if (!WaitFor([&] { return access((m_dir / "port").c_str(), F_OK) == 0; },
                 milliseconds(10000))) {
        return false;
    }
    std::ifstream portFile(m_dir / "port");
    portFile >> m_nPort;
    return ConnectControl();
}

bool CEmulatorProcess::ConnectControl() {
    DisconnectControl();
    m_hControl = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(m_nPort));
    return connect(m_hControl, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

void CEmulatorProcess::DisconnectControl() {
    if (m_hControl >= 0) close(m_hControl);
    m_hControl = -1;
    m_strBuffered.clear();
}

std::string CEmulatorProcess::ReadLine() {
    const auto tEnd = steady_clock::now() + seconds(10);
    for (;;) {
        const size_t nEnd = m_strBuffered.find('\n');
        if (nEnd != std::string::npos) {
            std::string strLine = m_strBuffered.substr(0, nEnd);
            m_strBuffered.erase(0, nEnd + 1);
            return strLine;
        }
        const auto nLeft = duration_cast<milliseconds>(tEnd - steady_clock::now()).count();
        if (nLeft <= 0) return "!no answer";
        pollfd entry{m_hControl, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(nLeft)) <= 0) continue;
        char buffer[65536];
        const ssize_t nRead = read(m_hControl, buffer, sizeof buffer);
        if (nRead <= 0) return "!closed";
        m_strBuffered.append(buffer, static_cast<size_t>(nRead));
    }
}

std::string CEmulatorProcess::Request(const std::string& strLine) {
    const std::string strSend = strLine + "\n";
    if (send(m_hControl, strSend.data(), strSend.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(strSend.size())) {
        return "!send failed";
    }
    return ReadLine();
}

std::string CEmulatorProcess::Reset(const std::vector<std::string>& aOptions) {
    std::string strLine = "reset";
    for (const std::string& strOption : aOptions) strLine += "\t" + strOption;
    return Request(strLine);
}

std::vector<std::string> CEmulatorProcess::Log() {
    std::vector<std::string> aLines;
    std::string strLine = Request("log");
    while (strLine != "." && strLine[0] != '!') {
        aLines.push_back(strLine);
        strLine = ReadLine();
    }
    return aLines;
}

bool CEmulatorProcess::WaitForLogLine(const std::string& strLine) {
    return WaitFor(
        [&] {
            for (const std::string& strLogged : Log()) {
                if (strLogged == strLine) return true;
            }
            return false;
        },
        milliseconds(10000));
}

int CEmulatorProcess::WaitForExit(milliseconds deadline) {
    int nStatus = 0;
    pid_t nDone = 0;
    WaitFor(
        [&] {
            nDone = waitpid(m_nPid, &nStatus, WNOHANG);
            return nDone != 0;
        },
        deadline);
    if (nDone != m_nPid) return -1;
    m_nPid = -1;
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
}
