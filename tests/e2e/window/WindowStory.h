#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonFace.h"
#include "EmulatorControl.h"
#include "FolderTree.h"
#include "LampRow.h"
#include "ModuleText.h"
#include "PacketLog.h"
#include "ProbeReport.h"
#include "ProgramProbe.h"
#include "ProgramSession.h"
#include "Waiting.h"
#include "app/LanguageModule.h"
#include "link/FileOutcome.h"
#include "link/LinkOwner.h"
#include "res/ResourceIds.h"

constexpr DWORD WAIT_MS = 30000;  // two greeting tries, or a port time-out with room to spare
constexpr DWORD COPY_MS = 60000;

::testing::AssertionResult Succeeded(const Outcome& outcome);

// Everything the panel and the standard part show about the state of the window.
struct PanelView {
    bool bCardList, bSelectAll, bParent, bCopy, bExitStop, bFilesView, bFolderBox, bToolbar;
    ButtonFace face;
    DWORD dwCloseItem;
    bool bLampsDark;
    std::string strStatus;
    std::string strTitle;
};
std::ostream& operator<<(std::ostream& stream, const PanelView& view);

// One user story: the program installed afresh and started against the printer emulator, which
// serves m_card (or a card image) with the faults the story chooses; then driven as a user
// drives it and checked by what it shows, the files it writes and the packets on the port.
class CWindowStory : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void AddCardFile(const std::string& strPath, size_t nSize = 64) {
        ASSERT_TRUE(m_card.AddFile(strPath, nSize)) << strPath;
    }
    // The printer (with these faults), then the program in a folder (the destination unless
    // named), once its window has finished its initialisation.
    void Start(const std::vector<std::string>& aFaults = {}, const std::string& strFolder = "");
    CUiDriver& Ui() { return m_session.Ui(); }
    const std::string& Destination() const { return m_session.StartFolder(); }
    std::vector<std::string> Packets(const std::string& strPrefix = "") {
        return m_emulator.Packets(strPrefix);
    }

    // A text of the installed language module as a message shows it; Slot() as a window does.
    std::string Text(UINT nId) const;
    std::string Slot(UINT nId) const { return Text(nId).substr(0, UI_TEXT_SIZE - 1); }
    // Waits for a message box, checks its text, caption and buttons, answers it.
    ::testing::AssertionResult Answer(const std::string& strText, int nButton,
                                      const std::vector<int>& aButtons = {IDOK});
    // Answers the question about a file already at this PC path.
    ::testing::AssertionResult AnswerOverwrite(const std::string& strPcPath, int nButton) {
        return Answer(Slot(TEXT_OVERWRITE) + "\n\n" + strPcPath, nButton,
                      {IDYES, IDNO, IDC_YES_TO_ALL, IDC_NO_TO_ALL});
    }
    // Waits until the list shows these names, on the screen too in this order.
    ::testing::AssertionResult WaitForListing(const std::vector<std::string>& aNames);
    // The program ends by itself with exit code 0, showing nothing more.
    ::testing::AssertionResult WaitForOwnEnd();

    PanelView ReadPanel();
    // Waits until a copy has ended and the panel is idle again; fails at once on a message.
    ::testing::AssertionResult WaitForCopyEnd();
    // An idle panel after a copy: everything a user can reach enabled, EXIT, lamps dark.
    ::testing::AssertionResult IsIdle(const PanelView& view) const;

    EmulatorControl m_emulator;
    CCardFolder m_card;
    std::string m_strCardImage;
    CProgramSession m_session;
    CProgramProbe m_probe;
    std::unique_ptr<CButtonFaceReader> m_pFaces;
};
