#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ControlServer.h"
#include "EmulatorOptions.h"
#include "OutputQueue.h"
#include "PacketLog.h"
#include "PacketParser.h"
#include "PortLink.h"
#include "ProtocolEngine.h"
#include "PseudoTerminal.h"

// The printer: the pty with its link, the card, the protocol, the faults of the current
// scenario, the packet log and the control channel, driven by one poll() loop.
class CEmulator {
public:
    explicit CEmulator(EmulatorOptions options);
    ~CEmulator();
    CEmulator(const CEmulator&) = delete;
    CEmulator& operator=(const CEmulator&) = delete;

    // Opens the card, the port, the log file and the control channel.
    bool Start(std::string& strError);
    // Serves until a "quit" request or a byte readable on hStop. Returns the exit code.
    int Run(int hStop);

    const std::string& SlavePath() const { return m_pty.SlavePath(); }
    int ControlPort() const { return m_control.Port(); }

private:
    bool ApplyScenario(const ScenarioOptions& scenario, std::string& strError);
    bool BringUpPort(std::string& strError);
    void WritePortFile(std::string& strError);

    void OnPtyReadable();
    void OnPacket(const ReceivedItem& packet);
    void PumpOutput(SteadyClock::time_point now);
    void CheckDisconnect(SteadyClock::time_point now);
    void ClosePort(const std::string& strWhy);

    void OnControlLine(const std::string& strLine);
    std::string Reset(const std::vector<std::string>& aArgs);

    EmulatorOptions m_options;
    CPseudoTerminal m_pty;
    CPortLink m_link;
    CPacketParser m_parser;
    CProtocolEngine m_engine;
    COutputQueue m_output;
    CPacketLog m_log;
    CControlServer m_control;

    std::map<uint64_t, ExchangeFault> m_mapFaults;
    std::map<uint64_t, uint8_t> m_mapStatusFaults;
    uint64_t m_nExchange = 0;
    bool m_bLastReplyWhole = true;  // every byte of the last reply was planned and none dropped
    uint32_t m_nQueuedFileData = 0;  // file bytes of the last reply, counted as read when queued
    bool m_bQuit = false;

    // A disconnect waits for the PC to read the bytes it was given, since closing the pty
    // throws away what is unread.
    bool m_bDisconnectPending = false;
    SteadyClock::time_point m_tDisconnectDeadline{};
    std::optional<SteadyClock::time_point> m_tDrainedSince;
};
