#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EmulatorControl.h"
#include "Files.h"
#include "PacketLog.h"
#include "ProgramSession.h"
#include "Waiting.h"
#include "app/LanguageModule.h"
#include "link/LinkOwner.h"

constexpr DWORD MESSAGE_TIMEOUT_MS = 20000;  // covers two greeting tries with their pauses
constexpr DWORD LISTING_TIMEOUT_MS = 20000;
constexpr DWORD EXIT_TIMEOUT_MS = 30000;

// A driver's outcome as a test's result, so that a failed step says why.
::testing::AssertionResult Succeeded(const Outcome& outcome);

// The program installed for one test, started against the printer emulator, which serves a card
// from a fresh folder (or an image) with the faults the test chooses.
class CWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Resets the emulator to the card with these faults.
    void StartPrinter(const std::vector<std::string>& aFaults = {});
    // Printer, then program started in a folder (the destination unless named), then its window.
    void StartProgram(const std::vector<std::string>& aFaults = {}) { StartProgramIn("", aFaults); }
    void StartProgramIn(const std::string& strFolder, const std::vector<std::string>& aFaults = {});
    // Serve this FAT image (a Windows path) instead of the card folder from now on.
    void UseCardImage(const std::string& strImage) { m_strCardImage = strImage; }

    void AddCardFile(const std::string& strRelative, size_t nSize = 64) {
        ASSERT_TRUE(m_card.AddFile(strRelative, nSize)) << strRelative;
    }
    void AddCardFolder(const std::string& strRelative) {
        ASSERT_TRUE(m_card.AddFolder(strRelative));
    }

    // A text of the installed language module, as the program's message boxes show it; Slot()
    // is the same text as held in a 64-byte window-text slot.
    std::string Text(UINT nId) const;
    std::string Slot(UINT nId) const { return Text(nId).substr(0, UI_TEXT_SIZE - 1); }

    std::vector<std::string> Packets() { return m_emulator.Packets(); }
    size_t CountPackets(const std::string& strHex) { return m_emulator.CountPackets(strHex); }
    size_t CountPacketsStartingWith(const std::string& strPrefix) {
        return m_emulator.Packets(strPrefix).size();
    }

    ::testing::AssertionResult WaitForListing(const std::vector<std::string>& aNames,
                                              DWORD dwTimeoutMs = LISTING_TIMEOUT_MS) {
        return Succeeded(Ui().WaitForListing(aNames, dwTimeoutMs));
    }
    // Waits for a message box, checks its text and caption, presses a button, waits for it to go.
    ::testing::AssertionResult AnswerMessage(const std::string& strText, int nButton,
                                             const std::vector<int>& aButtons = {IDOK});

    CUiDriver& Ui() { return m_session.Ui(); }

    EmulatorControl m_emulator;
    CCardFolder m_card;
    std::string m_strCardImage;
    CProgramSession m_session;
};
