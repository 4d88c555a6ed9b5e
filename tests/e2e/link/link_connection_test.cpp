#include "LinkScenario.h"

namespace {
enum Operation { GREET, POLL, FAREWELL, CONNECT_WORKER };

struct ConnectionRow {
    const char* name = {};
    std::vector<std::string> faults = {};
    Operation operation = GREET;
    std::deque<int> answers = {};  // the user's, to the questions in turn
    bool noPort = false;
    DWORD timeoutMs = PORT_TIMEOUT_MS;

    int result = {};
    std::vector<std::string> packets = {};
    Reports reports = {};
    LONG connected = 0;
};

const ConnectionRow kRows[] = {
    {.name = "GreetingAnsweredAtOnce", .operation = GREET,
     .result = 1, .packets = {SR_GREETING}, .connected = 1},
    {.name = "GreetingRefusedOnce", .faults = {"--sr-status", "01"}, .operation = GREET,
     .result = 1, .packets = {SR_GREETING, SR_GREETING}, .connected = 1},
    {.name = "GreetingRefusedTwice", .faults = {"--sr-status", "01,01"}, .operation = GREET,
     .result = 0, .packets = {SR_GREETING, SR_GREETING}, .reports = {.errorText = 3006, .sent = {3003}}},
    {.name = "GreetingWithoutPort", .operation = GREET, .noPort = true,
     .result = 0, .reports = {.errorText = 3006, .sent = {3003}}},
    {.name = "StatusReady", .operation = POLL,
     .result = 1, .packets = {SC_PACKET}, .reports = {.posted = {3004}}},
    {.name = "StatusNotReadyThenOk", .faults = {"--sc-status", "10"}, .operation = POLL, .answers = {IDOK},
     .result = 1, .packets = {SC_PACKET, SC_PACKET},
     .reports = {.posted = {3004}, .questions = {{"text 3007", MB_OKCANCEL}}}},
    {.name = "StatusNotReadyCancelled", .faults = {"--sc-status", "10"}, .operation = POLL, .answers = {IDCANCEL},
     .result = 0, .packets = {SC_PACKET},
     .reports = {.sent = {3003}, .questions = {{"text 3007", MB_OKCANCEL}}}},
    {.name = "StatusErrorCode", .faults = {"--sc-status", "21"}, .operation = POLL,
     .result = 0, .packets = {SC_PACKET}, .reports = {.errorText = 3009, .errorCode = 0x21, .sent = {3003}}},
    {.name = "StatusNeverAnswered", .faults = {"--silence", "1"}, .operation = POLL, .timeoutMs = 1000,
     .result = 0, .packets = {SC_PACKET}, .reports = {.posted = {3004}}},
    {.name = "Farewell", .operation = FAREWELL, .result = 1, .packets = {SR_FAREWELL}},
    {.name = "WorkerGreetsAndPolls", .operation = CONNECT_WORKER,
     .result = 1, .packets = {SR_GREETING, SC_PACKET}, .reports = {.posted = {3004}}, .connected = 1},
};
}  // namespace

LINK_SCENARIO_TABLE(LinkConnection, ConnectionRow, kRows);

TEST_P(LinkConnection, Scenario) {
    const ConnectionRow& row = GetParam();
    if (row.noPort) {
        const Outcome reset = emulator.Reset({"--no-port"});
        ASSERT_TRUE(reset) << reset.why;
        link = std::make_unique<CPrinterLink>(&owner);
        EXPECT_EQ(link->Open("LPT1"), 0);
    } else {
        ASSERT_NO_FATAL_FAILURE(Start(row.faults, row.timeoutMs));
    }
    owner.answers = row.answers;
    LinkJob job = {link.get(), LINK_JOB_CONNECT};
    switch (row.operation) {
        case GREET: EXPECT_EQ(link->Handshake(), row.result); break;
        case POLL: EXPECT_EQ(link->PollStatus(), row.result); break;
        case FAREWELL: EXPECT_EQ(link->Release(), row.result); break;
        case CONNECT_WORKER: EXPECT_EQ(LinkWorkerProc(&job), static_cast<UINT>(row.result)); break;
    }
    EXPECT_EQ(emulator.Packets(), row.packets);
    EXPECT_EQ(owner.Observed(), row.reports);
    EXPECT_EQ(owner.m_bConnected, row.connected);
}
