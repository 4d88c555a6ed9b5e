#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonFaceReader.h"
#include "CloseItemReader.h"
#include "StandardPart.h"
#include "WindowTest.h"

constexpr DWORD COPY_TIMEOUT_MS = 60000;
constexpr const char* FO_PREFIX = "1b464f";
constexpr const char* FR_PREFIX = "1b4652";

// Language-module texts of the copy.
enum CopyTextId : UINT {
    TEXT_CANNOT_OPEN_FILE = 3008,
    TEXT_COPYING = 3016,
    TEXT_REPLACE = 3018,
    TEXT_DISK_FULL = 3310,
};

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
//
// The destination is the folder the program starts in, and some copies need a particular one (a
// drive root, a nearly full disk); so these tests start the program themselves, and the names
// below that start it, reach its window and wait on it replace the window test's own.
class CCopyTest : public CWindowTest {
protected:
    void SetUp() override;

    // Printer with these faults, then the program started in the destination folder.
    void StartProgram(const std::vector<std::string>& aFaults = {}) {
        StartProgramIn(Destination(), aFaults);
    }
    void StartProgramIn(const std::string& strFolder, const std::vector<std::string>& aFaults = {});
    // Serve this FAT image (a Windows path) instead of the card folder from now on.
    void UseCardImage(const std::string& strImage) { m_strCardImage = strImage; }

    // A card file of that size whose bytes differ from every other card file's.
    void AddCardData(const std::string& strRelative, size_t nSize);
    std::vector<unsigned char> CardBytes(const std::string& strRelative) const;
    // The folder the program was started in, which its standard part shows: the destination.
    const std::string& Destination() const;

    ::testing::AssertionResult Select(const std::vector<std::string>& aNames);
    ::testing::AssertionResult TickSelectAll();
    ::testing::AssertionResult OpenCardFolder(const std::string& strName,
                                              const std::vector<std::string>& aNames);
    // Click COPY (or STOP) and wait until the window thread has handled the click.
    ::testing::AssertionResult PressCopy();
    ::testing::AssertionResult PressStop();
    // Waits until the panel shows a copy at work: status text, STOP face, card list disabled.
    ::testing::AssertionResult WaitForCopying(DWORD dwTimeoutMs = COPY_TIMEOUT_MS);
    // Waits until the panel is idle again after a copy: status line empty, EXIT face, 1008, the
    // card list and the standard part enabled. Fails at once when a message box is open.
    ::testing::AssertionResult WaitForCopyEnd(DWORD dwTimeoutMs = COPY_TIMEOUT_MS);
    // COPY, then its end.
    ::testing::AssertionResult Copy();

    CopyPanelView ReadPanel();
    ButtonFace ExitStopFace() { return m_pFaces->Read(Ui().Control(EXIT_STOP_BUTTON)); }
    CStandardPart& Standard();
    // CLOSE_ITEM_* of the standard dialog's system menu.
    DWORD CloseItemState();

    // The FO packet that opens this card file.
    static std::string OpenPacket(const std::string& strCardPath);
    size_t CountOpens(const std::string& strCardPath) {
        return CountPackets(OpenPacket(strCardPath));
    }
    std::vector<std::string> OpenedCardFiles();

    // The PC file holds exactly the card file's bytes.
    ::testing::AssertionResult HoldsCardFile(const std::string& strPcPath,
                                             const std::string& strCardRelative) const;

    std::string m_strStartFolder;
    std::string m_strCardImage;
    std::unique_ptr<CButtonFaceReader> m_pFaces;
    std::unique_ptr<CStandardPart> m_pStandard;
    CCloseItemReader m_closeItem;
};
