// What every emulator test needs: the real emulator program on a pty linked in a folder of the
// test's own, its control channel, and the PC's end of the port.
#pragma once
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CardRecord.h"
#include "PcPort.h"

using Bytes = std::vector<uint8_t>;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

inline void WriteFileBytes(const std::string& strPath, const Bytes& aBytes) {
    fs::create_directories(fs::path(strPath).parent_path());
    std::ofstream(strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(aBytes.data()),
               static_cast<std::streamsize>(aBytes.size()));
}

// Content that differs at every offset and from seed to seed, so misplaced bytes show.
inline Bytes PatternBytes(size_t nCount, uint32_t nSeed) {
    Bytes aBytes(nCount);
    uint32_t nState = nSeed * 2654435761u + 12345u;
    for (uint8_t& nByte : aBytes)
        nByte = static_cast<uint8_t>((nState = nState * 1103515245u + 12345u) >> 16);
    return aBytes;
}

// The status byte nStatus, then nCount bytes of aBytes from nFrom: an FR reply.
inline Bytes Reply(uint8_t nStatus, const Bytes& aBytes, size_t nFrom, size_t nCount) {
    Bytes aReply(1 + nCount, nStatus);
    std::copy_n(aBytes.begin() + static_cast<std::ptrdiff_t>(nFrom), nCount, aReply.begin() + 1);
    return aReply;
}

inline bool WaitFor(const std::function<bool()>& condition) {
    const auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= tEnd) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The program's two-step listing: header, then header and records.
inline std::vector<CardRecord> List(CPcPort& port, const std::string& strPattern,
                                    uint8_t* pnStatus = nullptr) {
    const Bytes aHeader = port.Exchange(PacketIr(strPattern), 3);
    if (aHeader.size() != 3) return {};
    if (pnStatus) *pnStatus = aHeader[0];
    const Bytes aReply =
        port.Exchange(PacketIr(strPattern), 3 + 20 * (aHeader[1] << 8 | aHeader[2]));
    auto le32 = [&](size_t n) {
        return aReply[n] | aReply[n + 1] << 8 | aReply[n + 2] << 16 | uint32_t(aReply[n + 3]) << 24;
    };
    std::vector<CardRecord> aRecords;
    for (size_t n = 3; n + 20 <= aReply.size(); n += 20) {
        CardRecord record{{}, aReply[n + 11], le32(n + 12), le32(n + 16)};
        std::copy(&aReply[n], &aReply[n + 11], record.m_name.begin());
        aRecords.push_back(record);
    }
    return aRecords;
}

// FO, then FR requests of 5120 bytes as the program makes them: the content, or the FO reply.
inline Bytes Fetch(CPcPort& port, const std::string& strCardPath) {
    const Bytes aOpen = port.Exchange(PacketFo(strCardPath), 5);
    if (aOpen.size() != 5 || aOpen[0] != 0x00) return aOpen;
    const size_t nSize = aOpen[1] << 24 | aOpen[2] << 16 | aOpen[3] << 8 | aOpen[4];
    Bytes aContent;
    while (aContent.size() < nSize) {
        const uint32_t nWanted =
            static_cast<uint32_t>(std::min<size_t>(5120, nSize - aContent.size()));
        const Bytes aReply = port.Exchange(PacketFr(nWanted), nWanted + 1);
        if (aReply.size() != nWanted + 1) break;
        aContent.insert(aContent.end(), aReply.begin() + 1, aReply.end());
    }
    return aContent;
}

inline Names NamesOf(const std::vector<CardRecord>& aRecords) {
    Names aNames;
    for (const CardRecord& record : aRecords) aNames.push_back(ShortNameText(record.m_name));
    return aNames;
}

class EmulatorTest : public ::testing::Test {
protected:
    EmulatorTest() {
        char szTemplate[] = "/tmp/brisling-emulator-test-XXXXXX";
        m_strDir = mkdtemp(szTemplate);
    }

    ~EmulatorTest() override {
        if (m_pControl) {
            // Every run ends with "quit": the program answers, ends cleanly, takes its link away.
            EXPECT_EQ(Request("quit"), "ok");
            fclose(m_pControl);
            EXPECT_EQ(pclose(m_pProcess), 0);
            EXPECT_FALSE(fs::is_symlink(Link()));
        }
        fs::remove_all(m_strDir);
    }

    std::string Dir(const std::string& strName) const { return m_strDir + "/" + strName; }
    std::string Link() const { return Dir("lpt1"); }
    std::string Card() const { return Dir("card"); }

    // Starts the emulator with these options and opens the port when there is one.
    void Start(const std::vector<std::string>& aOptions) {
        // Ended by timeout if it ever hangs and held to 512 MB, so a broken emulator can hold
        // neither the run nor the machine.
        std::string strCommand = "ulimit -v 524288; exec timeout 60 " EMULATOR_PROGRAM " --link " +
                                 Link() + " --log " + Dir("packets.log") +
                                 " --control-port 0 --port-file " + Dir("port") + " >/dev/null";
        for (const std::string& strOption : aOptions) strCommand += " '" + strOption + "'";
        m_pProcess = popen(strCommand.c_str(), "r");
        ASSERT_TRUE(WaitFor([&] { return fs::exists(Dir("port")); }));
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        int nPort = 0;
        std::ifstream(Dir("port")) >> nPort;
        address.sin_port = htons(static_cast<uint16_t>(nPort));
        const int hSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval limit{10, 0};  // a response that never comes fails the test, not the run
        setsockopt(hSocket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ASSERT_EQ(connect(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        m_pControl = fdopen(hSocket, "r");
        if (fs::exists(Link())) {
            ASSERT_TRUE(m_port.Open(Link()));
        }
    }

    std::string Request(const std::string& strLine) {
        send(fileno(m_pControl), (strLine + "\n").data(), strLine.size() + 1, MSG_NOSIGNAL);
        return ReadLine();
    }

    std::string Reset(const std::vector<std::string>& aOptions) {
        std::string strLine = "reset";
        for (const std::string& strOption : aOptions) strLine += "\t" + strOption;
        return Request(strLine);
    }

    std::vector<std::string> Log() {
        std::vector<std::string> aLines;
        for (std::string strLine = Request("log"); strLine != "." && strLine[0] != '!';
             strLine = ReadLine()) {
            aLines.push_back(strLine);
        }
        return aLines;
    }

    bool WaitForLog(const std::string& strLine) {
        return WaitFor([&] {
            const std::vector<std::string> aLog = Log();
            return std::find(aLog.begin(), aLog.end(), strLine) != aLog.end();
        });
    }

    CPcPort m_port;

private:
    std::string ReadLine() {
        char szLine[65536];
        if (!fgets(szLine, sizeof szLine, m_pControl)) return "!no answer";
        return std::string(szLine, strcspn(szLine, "\n"));
    }

    std::string m_strDir;
    FILE* m_pProcess = nullptr;
    FILE* m_pControl = nullptr;
};
