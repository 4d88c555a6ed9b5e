#pragma once
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CardRecord.h"

using Bytes = std::vector<uint8_t>;

// A fresh folder under /tmp, removed with everything in it when the object goes.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& strName) const { return m_strPath + "/" + strName; }

private:
    std::string m_strPath;
};

// Runs a shell command; its standard output, or the exit code through pnExit.
std::string RunCommand(const std::string& strCommand, int* pnExit = nullptr);
bool HaveTool(const std::string& strTool);

Bytes ReadFileBytes(const std::string& strPath);
void WriteFileBytes(const std::string& strPath, const Bytes& aBytes);
// Content that differs at every offset and from seed to seed, so misplaced bytes show.
Bytes PatternBytes(size_t nCount, uint32_t nSeed);

// Waits for a condition, checking every few milliseconds, up to the deadline.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline);

// The PC's packets.
Bytes PacketSr(uint8_t nArgument);
Bytes PacketSc();
Bytes PacketIr(const std::string& strPattern);
Bytes PacketFo(const std::string& strPath);
Bytes PacketFr(uint32_t nCount);
Bytes Concat(const Bytes& a, const Bytes& b);
uint32_t BigEndian32(const uint8_t* p);

// One 20-byte listing record taken apart.
struct WireRecord {
    ShortName m_name{};
    uint8_t m_nAttributes = 0;
    uint32_t m_nOpaque = 0;
    uint32_t m_nSize = 0;
    std::string Name() const { return ShortNameText(m_name); }
};
std::vector<WireRecord> ParseRecords(const Bytes& aReply, size_t nOffset, size_t nCount);

// The PC's end of the port: opened through the emulator's link, read with deadlines.
class CPcPort {
public:
    CPcPort() = default;
    ~CPcPort();
    CPcPort(const CPcPort&) = delete;
    CPcPort& operator=(const CPcPort&) = delete;

    bool Open(const std::string& strLink);
    void Close();
    void Send(const Bytes& aPacket);
    // Reads until nCount bytes have come, end of file, or the deadline.
    Bytes Receive(size_t nCount,
                  std::chrono::milliseconds deadline = std::chrono::milliseconds(5000));
    // Bytes waiting to be read right now.
    size_t Waiting() const;
    // Whether a read now reports the far end gone (EOF or EIO).
    bool SeesHangup();

    Bytes Exchange(const Bytes& aPacket, size_t nReply);
    // The PC's two-step listing: header, then header and records. Empty on a short reply.
    std::vector<WireRecord> List(const std::string& strPattern, uint8_t* pnStatus = nullptr);

private:
    int m_hPort = -1;
};

// The emulator program, started with a link and a control channel in its own folder.
class CEmulatorProcess {
public:
    CEmulatorProcess() = default;
    ~CEmulatorProcess();
    CEmulatorProcess(const CEmulatorProcess&) = delete;
    CEmulatorProcess& operator=(const CEmulatorProcess&) = delete;

    // Starts it with these scenario options; true once the control channel answers.
    bool Start(const std::vector<std::string>& aOptions, bool bControl = true);
    std::string LinkPath() const { return m_dir / "lpt1"; }
    std::string LogPath() const { return m_dir / "packets.log"; }
    const CTempDir& Dir() const { return m_dir; }

    // One request line, one response line.
    std::string Request(const std::string& strLine);
    std::string Reset(const std::vector<std::string>& aOptions);
    std::vector<std::string> Log();
    bool WaitForLogLine(const std::string& strLine);

    bool ConnectControl();
    void DisconnectControl();
    // Waits for the process to end; its exit code, or -1 if it did not end in time.
    int WaitForExit(std::chrono::milliseconds deadline);
    pid_t Pid() const { return m_nPid; }
    int ControlPort() const { return m_nPort; }

private:
    std::string ReadLine();

    CTempDir m_dir;
    pid_t m_nPid = -1;
    int m_nPort = -1;
    int m_hControl = -1;
    std::string m_strBuffered;
};
