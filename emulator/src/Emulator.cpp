#include "Emulator.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "OpenCard.h"
#include "ReplyFaults.h"

namespace {

constexpr auto DISCONNECT_DRAIN_LIMIT = std::chrono::seconds(2);
constexpr auto DISCONNECT_QUIET_TIME = std::chrono::milliseconds(30);
constexpr auto DISCONNECT_CHECK_INTERVAL = std::chrono::milliseconds(5);

std::vector<std::string> SplitOnTabs(const std::string& strLine) {
    std::vector<std::string> aParts;
    size_t nStart = 0;
    for (;;) {
        const size_t nTab = strLine.find('\t', nStart);
        const std::string strPart = strLine.substr(nStart, nTab - nStart);
        if (!strPart.empty()) aParts.push_back(strPart);
        if (nTab == std::string::npos) break;
        nStart = nTab + 1;
    }
    return aParts;
}

int MillisecondsUntil(SteadyClock::time_point tWhen, SteadyClock::time_point now) {
    if (tWhen <= now) return 0;
    const auto nMs = std::chrono::duration_cast<std::chrono::milliseconds>(tWhen - now).count() + 1;
    return nMs > 60000 ? 60000 : static_cast<int>(nMs);
}

}  // namespace

CEmulator::CEmulator(EmulatorOptions options)
    : m_options(std::move(options)), m_link(m_options.m_strLink) {}

CEmulator::~CEmulator() {
    // Only a link that still leads to our pty is ours to take away.
    if (m_pty.IsOpen() && m_link.PointsTo(m_pty.SlavePath())) m_link.Remove();
}

bool CEmulator::Start(std::string& strError) {
    if (!m_options.m_strLogFile.empty() && !m_log.OpenFile(m_options.m_strLogFile, strError))
        return false;
    m_log.KeepInMemory(m_options.m_nControlPort >= 0);
    if (!ApplyScenario(m_options.m_scenario, strError)) return false;
    if (!BringUpPort(strError)) return false;
    if (m_options.m_nControlPort >= 0) {
        if (!m_control.Listen(m_options.m_nControlPort, strError)) return false;
        if (!m_options.m_strPortFile.empty()) {
            WritePortFile(strError);
            if (!strError.empty()) return false;
        }
    }
    return true;
}

void CEmulator::WritePortFile(std::string& strError) {
    // Written whole under a temporary name, so a reader never sees half a number.
    const std::string strTemporary = m_options.m_strPortFile + ".tmp";
    FILE* pFile = fopen(strTemporary.c_str(), "we");
    if (pFile == nullptr) {
        strError = "port file " + strTemporary + ": " + std::strerror(errno);
        return;
    }
    fprintf(pFile, "%d\n", m_control.Port());
    fclose(pFile);
    if (rename(strTemporary.c_str(), m_options.m_strPortFile.c_str()) != 0) {
        strError = "port file " + m_options.m_strPortFile + ": " + std::strerror(errno);
    }
}

bool CEmulator::ApplyScenario(const ScenarioOptions& scenario, std::string& strError) {
    std::unique_ptr<CCardSource> pCard =
        OpenCard(scenario.m_strCardDir, scenario.m_strCardImage, scenario.m_order, strError);
    if (!pCard) return false;
    m_engine.Reset(std::move(pCard), scenario);
    m_mapFaults = scenario.m_mapExchangeFaults;
    m_mapStatusFaults = scenario.m_mapStatusFaults;
    m_output.Clear();
    m_output.SetRate(scenario.m_nRate);
    m_parser.Reset();
    m_nExchange = 0;
    m_nQueuedFileData = 0;
    m_bLastReplyWhole = true;
    m_bDisconnectPending = false;
    m_tDrainedSince.reset();
    m_options.m_scenario = scenario;
    return true;
}

bool CEmulator::BringUpPort(std::string& strError) {
    if (m_options.m_scenario.m_bNoPort) {
        m_link.Remove();
        m_pty.Close();
        return true;
    }
    if (!m_pty.IsOpen()) {
        if (!m_pty.Open(strError)) return false;
    } else {
        m_pty.DropUnreadFromPc();
        m_pty.DropUnreadByPc();
    }
    if (!m_link.PointsTo(m_pty.SlavePath()) && !m_link.PointTo(m_pty.SlavePath(), strError))
        return false;
    return true;
}

int CEmulator::Run(int hStop) {
    while (!m_bQuit || (m_control.HasClient() && m_control.HasPendingResponse())) {
        const SteadyClock::time_point now = SteadyClock::now();
        PumpOutput(now);
        CheckDisconnect(now);

        std::vector<pollfd> aPoll;
        auto add = [&](int hFd, short nEvents) {
            aPoll.push_back(pollfd{hFd, nEvents, 0});
            return aPoll.size() - 1;
        };
        const size_t nStop = hStop >= 0 ? add(hStop, POLLIN) : SIZE_MAX;
        size_t nMaster = SIZE_MAX;
        if (m_pty.IsOpen()) {
            short nEvents = m_bQuit ? 0 : POLLIN;
            if (m_output.WantsWritable(now)) nEvents |= POLLOUT;
            nMaster = add(m_pty.Master(), nEvents);
        }
        size_t nListen = SIZE_MAX;
        size_t nClient = SIZE_MAX;
        if (m_control.IsListening()) {
            if (m_control.HasClient()) {
                short nEvents = m_bQuit ? 0 : POLLIN;
                if (m_control.HasPendingResponse()) nEvents |= POLLOUT;
                nClient = add(m_control.ClientSocket(), nEvents);
            }
            if (!m_bQuit) nListen = add(m_control.ListenSocket(), POLLIN);
        }

        int nTimeout = -1;
        if (const auto tWake = m_output.NextWake(now)) nTimeout = MillisecondsUntil(*tWake, now);
        if (m_bDisconnectPending) {
            const int nCheck = static_cast<int>(DISCONNECT_CHECK_INTERVAL.count());
            nTimeout = nTimeout < 0 ? nCheck : std::min(nTimeout, nCheck);
        }

        if (poll(aPoll.data(), aPoll.size(), nTimeout) < 0) {
            if (errno == EINTR) continue;
            std::perror("brisling-emulator: poll");
            return 1;
        }
        if (nStop != SIZE_MAX && (aPoll[nStop].revents & POLLIN)) break;
        if (nMaster != SIZE_MAX && (aPoll[nMaster].revents & (POLLIN | POLLHUP | POLLERR)))
            OnPtyReadable();
        if (nListen != SIZE_MAX && (aPoll[nListen].revents & POLLIN)) m_control.AcceptClient();
        if (nClient != SIZE_MAX && aPoll[nClient].revents != 0) {
            if (aPoll[nClient].revents & POLLOUT) m_control.WriteResponses();
            if (aPoll[nClient].revents & (POLLIN | POLLHUP | POLLERR)) {
                std::vector<std::string> aLines;
                m_control.ReadRequests(aLines);
                for (const std::string& strLine : aLines) {
                    if (!m_bQuit) OnControlLine(strLine);
                }
            }
        }
    }
    return 0;
}

void CEmulator::OnPtyReadable() {
    uint8_t buffer[65536];
    for (;;) {
        if (!m_pty.IsOpen()) return;
        const ssize_t nRead = read(m_pty.Master(), buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR) continue;
        if (nRead <= 0) return;
        std::vector<ReceivedItem> aItems;
        m_parser.Feed(buffer, static_cast<size_t>(nRead), aItems);
        for (const ReceivedItem& item : aItems) {
            if (item.m_bGarbage) {
                m_log.Garbage(item.m_aBytes);
            } else if (m_pty.IsOpen()) {
                OnPacket(item);
            }
        }
    }
}

void CEmulator::OnPacket(const ReceivedItem& packet) {
    ++m_nExchange;
    m_log.Packet(packet.m_aBytes);

    // A new command ends the reply before it, as on the real printer: what is still queued
    // (paced or paused) is dropped. Bytes already in the pty stay; the PC may be reading them
    // already, and only sending no more than it reads keeps the exchanges apart.
    const size_t nUnsent = m_output.Clear();
    if (nUnsent > 0) {
        m_log.Note("dropped " + std::to_string(nUnsent) + " reply bytes not yet sent");
        // File data are the tail of a read reply; the position gives back what never went.
        m_engine.ReturnUnsentFileData(
            static_cast<uint32_t>(std::min<size_t>(nUnsent, m_nQueuedFileData)));
    }
    m_nQueuedFileData = 0;
    if (m_pty.RestoreRawMode()) m_log.Note("the port had left raw mode; raw mode restored");
    if (!m_bLastReplyWhole || nUnsent > 0) m_engine.ReplyNotDelivered();

    PrinterReply reply = m_engine.Answer(packet);
    const auto itStatus = m_mapStatusFaults.find(m_nExchange);
    if (itStatus != m_mapStatusFaults.end()) {
        m_log.Note(ReplaceStatus(reply, itStatus->second, m_nExchange));
    }
    const auto itFault = m_mapFaults.find(m_nExchange);
    const ReplyPlan plan =
        PlanReply(reply, itFault == m_mapFaults.end() ? nullptr : &itFault->second, m_nExchange);
    if (reply.m_bFileRead) {
        m_engine.CommitFileRead(plan.m_nDataBytesSent);
        m_nQueuedFileData = plan.m_nDataBytesSent;
    }
    if (!plan.m_strNote.empty()) m_log.Note(plan.m_strNote);
    size_t nPlanned = 0;
    for (const OutputSegment& segment : plan.m_aSegments) nPlanned += segment.m_aBytes.size();
    m_bLastReplyWhole = nPlanned >= reply.m_aBytes.size();

    const SteadyClock::time_point now = SteadyClock::now();
    for (const OutputSegment& segment : plan.m_aSegments) m_output.Push(segment, now);
    PumpOutput(now);
}

void CEmulator::PumpOutput(SteadyClock::time_point now) {
    if (!m_pty.IsOpen() || m_output.IsEmpty()) return;
    if (m_output.Pump(m_pty.Master(), now, m_log)) {
        m_bDisconnectPending = true;
        m_tDisconnectDeadline = now + DISCONNECT_DRAIN_LIMIT;
        m_tDrainedSince.reset();
        CheckDisconnect(now);
    }
}

void CEmulator::CheckDisconnect(SteadyClock::time_point now) {
    if (!m_bDisconnectPending) return;
    if (m_pty.UnreadByPc() > 0) {
        m_tDrainedSince.reset();
    } else if (!m_tDrainedSince) {
        m_tDrainedSince = now;
    }
    // Bytes just written may not be counted as unread yet, hence a short quiet time.
    const bool bDrained = m_tDrainedSince && now - *m_tDrainedSince >= DISCONNECT_QUIET_TIME;
    if (bDrained || now >= m_tDisconnectDeadline) {
        m_bDisconnectPending = false;
        ClosePort(bDrained ? "disconnect: port closed"
                           : "disconnect: port closed with bytes unread");
    }
}

void CEmulator::ClosePort(const std::string& strWhy) {
    m_output.Clear();
    m_parser.Reset();
    m_link.Remove();
    m_pty.Close();
    m_log.Note(strWhy + ", link removed");
}

void CEmulator::OnControlLine(const std::string& strLine) {
    const std::vector<std::string> aParts = SplitOnTabs(strLine);
    if (aParts.empty()) {
        m_control.QueueResponse("error empty request\n");
    } else if (aParts[0] == "reset") {
        m_control.QueueResponse(Reset(std::vector<std::string>(aParts.begin() + 1, aParts.end())) +
                                "\n");
    } else if (aParts[0] == "log" && aParts.size() == 1) {
        std::string strResponse;
        for (const std::string& strLogLine : m_log.Lines()) strResponse += strLogLine + "\n";
        m_control.QueueResponse(strResponse + ".\n");
    } else if (aParts[0] == "quit" && aParts.size() == 1) {
        m_control.QueueResponse("ok\n");
        m_bQuit = true;
    } else {
        m_control.QueueResponse("error unknown request \"" + aParts[0] + "\"\n");
    }
}

std::string CEmulator::Reset(const std::vector<std::string>& aArgs) {
    EmulatorOptions parsed = m_options;
    std::string strError;
    if (!ParseEmulatorOptions(aArgs, true, parsed, strError)) return "error " + strError;
    if (!ApplyScenario(parsed.m_scenario, strError)) return "error " + strError;

    std::string strArgs;
    for (const std::string& strArg : aArgs) strArgs += " " + strArg;
    m_log.FileNote("reset" + strArgs);
    m_log.ClearMemory();
    if (!BringUpPort(strError)) return "error " + strError;
    return "ok";
}
