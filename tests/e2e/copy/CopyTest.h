#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonFace.h"
#include "CloseItemProbeCodes.h"
#include "FolderTree.h"
#include "InjectedLibrary.h"
#include "LampRow.h"
#include "WindowTest.h"

constexpr DWORD COPY_TIMEOUT_MS = 60000;

// The panel's controls as far as a copy is concerned, read at one moment.
struct CopyPanelView {
    std::string strStatus;
    bool bCardList = false, bSelectAll = false, bParent = false, bCopy = false, bExitStop = false;
    bool bFilesView = false, bFolderBox = false;
    ButtonFace face = ButtonFace::UNKNOWN;
};
std::ostream& operator<<(std::ostream& stream, const CopyPanelView& view);

// A window test that copies: it selects, ticks, presses COPY and STOP, waits for the copy to
// end, and reads what the copy did to the panel, to the PC's files and on the printer's port.
// The destination is the folder the program was started in, which its standard part shows.
class CCopyTest : public CWindowTest {
protected:
    void SetUp() override;

    std::vector<unsigned char> CardBytes(const std::string& strRelative) const {
        return m_card.Bytes(strRelative);
    }
    const std::string& Destination() const { return m_session.StartFolder(); }

    ::testing::AssertionResult Select(const std::vector<std::string>& aNames) {
        return Succeeded(Ui().SelectItems(aNames));
    }
    ::testing::AssertionResult TickSelectAll() { return Succeeded(Ui().TickSelectAll()); }
    ::testing::AssertionResult OpenCardFolder(const std::string& strName,
                                              const std::vector<std::string>& aNames);
    // Click COPY (or STOP) and wait until the window thread has handled the click.
    ::testing::AssertionResult PressCopy() { return Press(PANEL_COPY_BUTTON); }
    ::testing::AssertionResult PressStop() { return Press(PANEL_EXIT_STOP_BUTTON); }
    // Waits until the panel shows a copy at work: status text, STOP face, card list disabled.
    ::testing::AssertionResult WaitForCopying(DWORD dwTimeoutMs = COPY_TIMEOUT_MS);
    // Waits until the panel is idle again after a copy: status line empty, EXIT face, 1008, the
    // card list and the standard part enabled. Fails at once when a message box is open.
    ::testing::AssertionResult WaitForCopyEnd(DWORD dwTimeoutMs = COPY_TIMEOUT_MS);
    // COPY, then its end.
    ::testing::AssertionResult Copy();

    CopyPanelView ReadPanel();
    ButtonFace ExitStopFace() { return m_pFaces->Read(Ui().Control(PANEL_EXIT_STOP_BUTTON)); }
    // CLOSE_ITEM_* of the standard dialog's system menu.
    DWORD CloseItemState();

    size_t CountOpens(const std::string& strCardPath) {
        return CountPackets(OpenPacket(strCardPath));
    }
    std::vector<std::string> OpenedCardFiles();

    // The PC file holds exactly the card file's bytes.
    ::testing::AssertionResult HoldsCardFile(const std::string& strPcPath,
                                             const std::string& strCardRelative) const;

private:
    ::testing::AssertionResult Press(int nButton);

    std::unique_ptr<CButtonFaceReader> m_pFaces;
    CInjectedLibrary m_closeItemProbe;
};
