#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EmulatorControl.h"
#include "ProgramSession.h"
#include "TestSupport.h"
#include "UiDriver.h"

constexpr const char* SR_GREETING = "1b535200";
constexpr const char* SR_FAREWELL = "1b5352ff";
constexpr const char* SC_PACKET = "1b5343";
constexpr const char* IR_PREFIX = "1b4952";

constexpr DWORD MESSAGE_TIMEOUT_MS = 20000;  // covers two greeting tries with their pauses
constexpr DWORD LISTING_TIMEOUT_MS = 20000;
constexpr DWORD EXIT_TIMEOUT_MS = 30000;

// Language-module text ids the window shows.
enum LanguageTextId : UINT {
    TEXT_NO_ANSWER = 3006,
    TEXT_NOT_READY = 3007,
    TEXT_PRINTER_ERROR = 3009,
    TEXT_TITLE = 3010,
    TEXT_CARD_CAPTION = 3011,
    TEXT_PC_CAPTION = 3012,
    TEXT_SELECT_ALL = 3013,
    TEXT_LISTING = 3015,
    TEXT_NO_PORT = 3300,
};

// The program installed for one test, started against the printer emulator, which serves a card
// from a fresh folder with the faults the test chooses.
class CWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Resets the emulator to the card folder with these faults.
    void StartPrinter(const std::vector<std::string>& aFaults = {});
    // Printer, then program, then its window.
    void StartProgram(const std::vector<std::string>& aFaults = {});

    void AddCardFile(const std::string& strRelative, size_t nSize = 64);
    void AddCardFolder(const std::string& strRelative);

    // A text of the installed language module, as the program's message boxes show it; Slot()
    // is the same text as held in a 64-byte window-text slot.
    std::string Text(UINT nId) const;
    std::string Slot(UINT nId) const { return Text(nId).substr(0, 63); }

    std::vector<std::string> Packets() { return m_emulator.Packets(); }
    size_t CountPackets(const std::string& strHex);
    size_t CountPacketsStartingWith(const std::string& strPrefix);
    // The IR packet that lists a card pattern such as "\DCIM\*.*".
    static std::string ListingPacket(const std::string& strPattern);

    // Waits until the card list shows exactly these names and the listing has ended.
    ::testing::AssertionResult WaitForListing(const std::vector<std::string>& aNames,
                                              DWORD dwTimeoutMs = LISTING_TIMEOUT_MS);
    // Waits for a message box, checks its text and caption, presses a button, waits for it to go.
    ::testing::AssertionResult AnswerMessage(const std::string& strText, int nButton,
                                             const std::vector<int>& aButtons = {IDOK});

    CUiDriver& Ui() { return m_session.Ui(); }

    EmulatorControl m_emulator;
    TempFolder m_card;
    CProgramSession m_session;
};
