#include "LinkFixture.h"
#include "link/InstanceFlags.h"

TEST_F(LinkTest, GreetingAnsweredAtOnceConnectsWithOnePacket) {
    ASSERT_NO_FATAL_FAILURE(Start());
    owner.m_bConnected = 0;
    const DWORD start = GetTickCount();
    EXPECT_EQ(link->Handshake(), 1);
    EXPECT_GE(GetTickCount() - start, 950u) << "the printer is given its pause before the answer";
    EXPECT_EQ(owner.m_bConnected, 1);
    EXPECT_EQ(emulator.Packets(), std::vector<std::string>{SR_GREETING});
    EXPECT_TRUE(owner.Reports().empty());
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, GreetingRefusedTwiceReportsNoGreeting) {
    ASSERT_NO_FATAL_FAILURE(Start({"--sr-status", "01,01"}));
    EXPECT_EQ(link->Handshake(), 0);
    EXPECT_EQ(owner.m_bConnected, 0);
    EXPECT_EQ(owner.errorTextId, 3006);
    EXPECT_EQ(owner.errorCode, 0);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
    EXPECT_EQ(emulator.Packets(), (std::vector<std::string>{SR_GREETING, SR_GREETING}));
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, GreetingRefusedOnceThenAnsweredConnects) {
    ASSERT_NO_FATAL_FAILURE(Start({"--sr-status", "01"}));
    EXPECT_EQ(link->Handshake(), 1);
    EXPECT_EQ(owner.m_bConnected, 1);
    EXPECT_EQ(emulator.Packets().size(), 2u);
}

TEST_F(LinkTest, StatusNotReadyAskedUntilReadyThenListingRequested) {
    ASSERT_NO_FATAL_FAILURE(Start({"--sc-status", "10,10,10"}));
    owner.answers = {IDOK, IDOK, IDOK};
    EXPECT_EQ(link->PollStatus(), 1);
    EXPECT_EQ(emulator.Packets(SC_PACKET).size(), 4u);
    EXPECT_EQ(owner.questions, std::vector<std::string>(3, "text 3007"));
    EXPECT_EQ(owner.questionTypes, std::vector<UINT>(3, MB_OKCANCEL));
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3004});
    EXPECT_TRUE(owner.Sent().empty());
}

TEST_F(LinkTest, StatusNotReadyCancelledEndsWithoutAnError) {
    ASSERT_NO_FATAL_FAILURE(Start({"--sc-status", "10"}));
    owner.answers = {IDCANCEL};
    EXPECT_EQ(link->PollStatus(), 0);
    EXPECT_EQ(owner.errorTextId, 0);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
    EXPECT_TRUE(owner.Posted().empty());
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, StatusErrorCodeIsReported) {
    ASSERT_NO_FATAL_FAILURE(Start({"--sc-status", "21"}));
    EXPECT_EQ(link->PollStatus(), 0);
    EXPECT_EQ(owner.errorTextId, 3009);
    EXPECT_EQ(owner.errorCode, 0x21);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
}

TEST_F(LinkTest, StatusThatNeverArrivesCountsAsReady) {
    ASSERT_NO_FATAL_FAILURE(Start({"--silence", "1"}));
    EXPECT_EQ(link->PollStatus(), 0);
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3004});
    EXPECT_EQ(owner.errorTextId, 0);
}

TEST_F(LinkTest, WorkerConnectsPollsAndClearsTheBusyWord) {
    ASSERT_NO_FATAL_FAILURE(Start());
    LinkJob job = {link.get(), LINK_JOB_CONNECT};
    EXPECT_EQ(LinkWorkerProc(&job), 1u);
    EXPECT_FALSE(IsLinkBusy());
    EXPECT_EQ(emulator.Packets(), (std::vector<std::string>{SR_GREETING, SC_PACKET}));
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3004});
}

TEST_F(LinkTest, FarewellSendsOneReleasePacket) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(link->Release(), 1);
    EXPECT_EQ(emulator.Packets(), std::vector<std::string>{SR_FAREWELL});
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, MissingPortFailsToOpen) {
    const Outcome reset = emulator.Reset({"--no-port"});
    ASSERT_TRUE(reset) << reset.why;
    CPrinterLink closed(&owner);
    EXPECT_EQ(closed.Open("LPT1"), 0);
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_EQ(closed.Release(), 0);
    EXPECT_EQ(closed.ListFolder(), 0);
    EXPECT_EQ(closed.FetchFile(), 0);
    EXPECT_FALSE(IsLinkBusy());
}
