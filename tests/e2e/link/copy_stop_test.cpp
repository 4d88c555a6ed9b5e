#include <functional>

#include "LinkScenario.h"
#include "copy/CardCopy.h"

namespace {
// Answers every question with Yes and calls back after each progress step.
class ScriptedUser : public CCopyUser {
public:
    OverwriteAnswer AskOverwrite(const std::string& pcPath) override {
        asked.push_back(pcPath);
        return OVERWRITE_YES;
    }
    void TellDiskFull() override {}
    void ShowProgress(const CCopyTally& tally) override { onProgress(tally); }
    void CopyEnded(const CCopyTally&, bool wasStopped) override { stopped = wasStopped; }

    std::function<void(const CCopyTally&)> onProgress;
    std::vector<std::string> asked;
    bool stopped = false;
};
}  // namespace

// STOP that falls between two files of a tree: the next file is neither asked about nor opened,
// and its older copy on the PC stays as it was.
class TreeStop : public LinkScenario<int> {};

TEST_F(TreeStop, BetweenTwoFilesNothingMoreIsAskedOrOpened) {
    ASSERT_TRUE(card.AddFile("A.JPG", 3000));
    ASSERT_TRUE(card.AddFile("B.JPG", 3000));
    TempFolder destination;
    const std::vector<unsigned char> older = PatternBytes(100, 7);
    // Both are on the PC already, so whichever the card lists first is asked about.
    ASSERT_TRUE(WriteBytes(destination / "A.JPG", older));
    ASSERT_TRUE(WriteBytes(destination / "B.JPG", older));
    ASSERT_NO_FATAL_FAILURE(Start({}));
    owner.m_bBusy = 1;

    ScriptedUser user;
    CCardCopy copy(*link, owner, user);
    user.onProgress = [&](const CCopyTally& tally) {
        if (tally.DoneFiles() == 1) copy.Stop();
    };
    CopyOrder order;
    order.wholeCard = true;
    order.destination = destination.Path();
    copy.Start(order);
    copy.Run();

    EXPECT_EQ(user.asked.size(), 1u);
    EXPECT_TRUE(user.stopped);
    EXPECT_EQ(emulator.Packets(FO_PREFIX).size(), 1u);
    EXPECT_EQ(copy.Tally().Count(FILE_COPIED), 1u);
    EXPECT_EQ(copy.Tally().Count(FILE_STOPPED), 1u);
    std::vector<unsigned char> a, b;
    ASSERT_TRUE(ReadBytes(destination / "A.JPG", &a));
    ASSERT_TRUE(ReadBytes(destination / "B.JPG", &b));
    EXPECT_TRUE((a == card.Bytes("A.JPG")) != (b == card.Bytes("B.JPG"))) << "one file copied";
    EXPECT_TRUE((a == older) != (b == older)) << "the other kept";
    owner.m_bBusy = 0;
}
