// Help requests from the card list: F1 and the context menu ask for the list's help context in
// the help file of the install folder.
#include <algorithm>

#include "HelpObserver.h"
#include "WindowTest.h"

namespace {

constexpr DWORD CARD_LIST_CONTEXT = 2002;

bool HasPair(const HelpCall& call, DWORD nControl, DWORD nContext) {
    return std::find(call.aIdMap.begin(), call.aIdMap.end(), std::make_pair(nControl, nContext)) !=
           call.aIdMap.end();
}

}  // namespace

class CHelpTest : public CWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CWindowTest::SetUp());
        // Stands in for the help viewer before the program can ask for one.
        ASSERT_TRUE(m_observer.IsReady());
        ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
        ASSERT_TRUE(Succeeded(
            m_observer.WatchProgram(m_session.Process().Handle(), m_session.Process().Id())));
    }

    // The one help call the program made, once the system has answered it.
    ::testing::AssertionResult WaitForHelpCall(HelpCall* pCall) {
        if (!WaitUntil(
                [&] {
                    const std::vector<HelpCall> aCalls = m_observer.Calls();
                    return !aCalls.empty() && aCalls.back().bReturned;
                },
                MESSAGE_TIMEOUT_MS)) {
            return ::testing::AssertionFailure() << "the program asked for no help";
        }
        const std::vector<HelpCall> aCalls = m_observer.Calls();
        if (aCalls.size() != 1)
            return ::testing::AssertionFailure() << aCalls.size() << " help calls";
        *pCall = aCalls.front();
        return ::testing::AssertionSuccess();
    }

    std::string HelpFilePath() const { return m_session.InstallFolder() + "\\Brisling.hlp"; }

    // Wine 8's WinHelp passes neither HELP_WM_HELP nor HELP_CONTEXTMENU on to the viewer (it
    // knows no such commands and returns FALSE); a WinHelp that turns them into a pop-up must
    // ask for the list's context in the same file.
    void ExpectViewerRequestsForTheCardList() {
        const std::vector<HelpViewerRequest> aRequests = m_observer.ViewerRequests();
        RecordProperty("help_viewer_requests", static_cast<int>(aRequests.size()));
        for (const HelpViewerRequest& request : aRequests) {
            EXPECT_EQ(request.nCommand, static_cast<UINT>(HELP_CONTEXTPOPUP));
            EXPECT_EQ(request.nData, static_cast<LONG>(CARD_LIST_CONTEXT));
            EXPECT_STRCASEEQ(request.strFile.c_str(), HelpFilePath().c_str());
        }
    }

    CHelpObserver m_observer;
};

TEST_F(CHelpTest, F1OnTheCardListAsksForTheListsContext) {
    ASSERT_TRUE(Succeeded(Ui().BringToFront()));
    ASSERT_TRUE(Succeeded(Ui().FocusCardList()));
    ASSERT_TRUE(Succeeded(Ui().PressKey(VK_F1)));

    HelpCall call;
    ASSERT_TRUE(WaitForHelpCall(&call));
    EXPECT_EQ(call.nCommand, static_cast<UINT>(HELP_WM_HELP));
    EXPECT_EQ(call.nControlId, PANEL_CARD_LIST);
    EXPECT_STRCASEEQ(call.strFile.c_str(), HelpFilePath().c_str());
    EXPECT_TRUE(HasPair(call, PANEL_CARD_LIST, CARD_LIST_CONTEXT));
    ExpectViewerRequestsForTheCardList();
}

TEST_F(CHelpTest, RightClickOnTheCardListOffersTheListsContextHelp) {
    ASSERT_TRUE(Succeeded(Ui().RightClickItem(0)));

    HelpCall call;
    ASSERT_TRUE(WaitForHelpCall(&call));
    EXPECT_EQ(call.nCommand, static_cast<UINT>(HELP_CONTEXTMENU));
    EXPECT_EQ(call.nControlId, PANEL_CARD_LIST);
    EXPECT_STRCASEEQ(call.strFile.c_str(), HelpFilePath().c_str());
    EXPECT_TRUE(HasPair(call, PANEL_CARD_LIST, CARD_LIST_CONTEXT));
    ExpectViewerRequestsForTheCardList();
}
