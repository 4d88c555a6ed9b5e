#include "LinkScenario.h"
#include "copy/CardCopy.h"

namespace {
// Moments of a tree copy that only a test inside the process can place STOP at.
enum StopMoment { AFTER_FIRST_FILE, DURING_QUESTION };

struct StopRow {
    const char* name = {};
    StopMoment moment = AFTER_FIRST_FILE;
    uint32_t copied = 0;  // and so opened on the card
};

const StopRow kRows[] = {
    // Between two files: the next is neither asked about nor opened.
    {.name = "BetweenTwoFiles", .moment = AFTER_FIRST_FILE, .copied = 1},
    // A close answers the open question with No for the user: that is a stop, not a file kept.
    {.name = "CloseAnswersTheQuestion", .moment = DURING_QUESTION, .copied = 0},
};

class ScriptedUser : public CCopyUser {
public:
    ScriptedUser(StopMoment moment) : m_moment(moment) {}
    OverwriteAnswer AskOverwrite(const std::string&) override {
        ++questions;
        if (m_moment != DURING_QUESTION) return OVERWRITE_YES;
        copy->Stop();
        return OVERWRITE_NO;
    }
    void TellDiskFull() override {}
    void ShowProgress(const CCopyTally& tally) override {
        if (m_moment == AFTER_FIRST_FILE && tally.DoneFiles() == 1) copy->Stop();
    }
    void CopyEnded(const CCopyTally&, bool wasStopped) override { stopped = wasStopped; }

    CCardCopy* copy = nullptr;
    size_t questions = 0;
    bool stopped = false;

private:
    StopMoment m_moment;
};
}  // namespace

LINK_SCENARIO_TABLE(TreeStop, StopRow, kRows);

// Both files are on the PC already, so whichever the card lists first is asked about, and only
// that one; what was not copied keeps its older bytes and counts as stopped.
TEST_P(TreeStop, Scenario) {
    const StopRow& row = GetParam();
    ASSERT_TRUE(card.AddFile("A.JPG", 3000));
    ASSERT_TRUE(card.AddFile("B.JPG", 3000));
    TempFolder destination;
    const std::vector<unsigned char> older = PatternBytes(100, 7);
    ASSERT_TRUE(WriteBytes(destination / "A.JPG", older));
    ASSERT_TRUE(WriteBytes(destination / "B.JPG", older));
    ASSERT_NO_FATAL_FAILURE(Start({}));
    owner.m_bBusy = 1;

    ScriptedUser user(row.moment);
    CCardCopy copy(*link, owner, user);
    user.copy = &copy;
    CopyOrder order;
    order.wholeCard = true;
    order.destination = destination.Path();
    copy.Start(order);
    copy.Run();
    owner.m_bBusy = 0;

    EXPECT_EQ(user.questions, 1u);
    EXPECT_EQ(emulator.Packets(FO_PREFIX).size(), row.copied);
    EXPECT_TRUE(user.stopped);
    EXPECT_EQ(copy.Tally().Count(FILE_COPIED), row.copied);
    EXPECT_EQ(copy.Tally().Count(FILE_STOPPED), 2 - row.copied);
    size_t fromCard = 0, kept = 0;
    for (const char* name : {"A.JPG", "B.JPG"}) {
        std::vector<unsigned char> bytes;
        ASSERT_TRUE(ReadBytes(destination / name, &bytes));
        fromCard += bytes == card.Bytes(name);
        kept += bytes == older;
    }
    EXPECT_EQ(fromCard, row.copied);
    EXPECT_EQ(kept, 2 - row.copied);
}
