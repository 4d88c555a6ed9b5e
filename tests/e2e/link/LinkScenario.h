// The real link on the prefix's LPT1 against the printer emulator, owned by a stand-in for the
// main window. Each scenario serves a fresh card with its faults, runs one operation and compares
// what the owner was told and asked, and what went over the port, with the row's expectations.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "EmulatorControl.h"
#include "Files.h"
#include "PacketLog.h"
#include "link/InstanceFlags.h"
#include "link/Port.h"
#include "link/PrinterLink.h"

using Question = std::pair<std::string, UINT>;  // text and buttons

// Everything the link tells its owner.
struct Reports {
    int errorText = 0;
    int errorCode = 0;
    std::vector<UINT> sent = {};    // SendMessage: the link waits for the window
    std::vector<UINT> posted = {};  // PostMessage
    std::vector<Question> questions = {};
    bool operator==(const Reports&) const = default;
};

inline void PrintTo(const Reports& r, std::ostream* os) {
    *os << "error " << r.errorText << " code " << r.errorCode << ", sent";
    for (UINT id : r.sent) *os << " " << id;
    *os << ", posted";
    for (UINT id : r.posted) *os << " " << id;
    for (const Question& q : r.questions) *os << ", asked \"" << q.first << "\" " << q.second;
}

// Stands in for the main window: records the reports and answers the questions from a script.
class RecordingOwner : public CLinkOwner {
public:
    void SetLinkError(int nTextId, BYTE nCode) override {
        std::lock_guard<std::mutex> lock(mutex);
        reports.errorText = nTextId;
        reports.errorCode = nCode;
    }
    void SendLinkCommand(UINT id) override {
        std::lock_guard<std::mutex> lock(mutex);
        reports.sent.push_back(id);
    }
    void PostLinkCommand(UINT id) override {
        std::lock_guard<std::mutex> lock(mutex);
        reports.posted.push_back(id);
    }
    int AskUser(const char* text, UINT type) override {
        std::lock_guard<std::mutex> lock(mutex);
        reports.questions.emplace_back(text, type);
        if (answers.empty()) return IDOK;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void LoadModuleText(UINT id, char* buffer, int size) override { snprintf(buffer, size, "text %u", id); }
    std::string GetPathName() override { return "C:\\*.*"; }

    Reports Observed() {
        std::lock_guard<std::mutex> lock(mutex);
        return reports;
    }
    std::deque<int> answers;

private:
    std::mutex mutex;
    Reports reports;
};

// The fixture of a table of scenarios (TEST_P over the row type).
template <typename Row>
class LinkScenario : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override {
        ASSERT_TRUE(EmulatorControl::Available()) << "run under scripts/test-env.sh";
        ASSERT_TRUE(emulator.Connected());
        TransferChunkSize = CHUNK_SMALL;
    }
    void TearDown() override {
        link.reset();
        EXPECT_FALSE(IsLinkBusy()) << "every link operation clears the link-busy word";
    }

    // Serves the card with these faults and opens the port; time-outs other than the port's own
    // shorten the scenarios that wait for a reply that never comes.
    void Start(const std::vector<std::string>& faults, DWORD timeoutMs = PORT_TIMEOUT_MS) {
        const Outcome served = emulator.Serve(card.Path(), faults);
        ASSERT_TRUE(served) << served.why;
        link = std::make_unique<CPrinterLink>(&owner);
        ASSERT_EQ(link->Open("LPT1"), 1);
        link->SetTimeouts(timeoutMs);
    }

    EmulatorControl emulator;
    RecordingOwner owner;
    CCardFolder card;
    std::unique_ptr<CPrinterLink> link;
};

// A table's suite: each row is a test of its own, named after the row.
#define LINK_SCENARIO_TABLE(Suite, Row, rows)                        \
    class Suite : public LinkScenario<Row> {};                       \
    INSTANTIATE_TEST_SUITE_P(Rows, Suite, ::testing::ValuesIn(rows), \
                             [](const auto& info) { return std::string(info.param.name); })
