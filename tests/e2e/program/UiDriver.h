#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Controls of the program's panel (template 502) that the tests read and press.
enum ProgramControlId : int {
    CARD_LIST = 1000,
    SELECT_ALL = 1001,
    COPY_BUTTON = 1002,
    COPY_FROM_CAPTION = 1006,
    COPY_TO_CAPTION = 1007,
    EXIT_STOP_BUTTON = 1008,
    STATUS_LINE = 1009,
    PARENT_BUTTON = 1010,
    MODEL_LABEL = 1011,
    CARD_FOLDER_LABEL = 1017,
};

// The static that holds a message box's text.
constexpr int MESSAGE_BOX_TEXT = 0xFFFF;

struct CardListItem {
    std::string strText;
    int nImage;
    bool operator==(const CardListItem& other) const {
        return strText == other.strText && nImage == other.nImage;
    }
};
void PrintTo(const CardListItem& item, std::ostream* pStream);

struct MessageBoxView {
    HWND hWnd = nullptr;
    std::string strCaption;
    std::string strText;
    std::vector<int> aButtons;  // ids of the visible buttons, ascending
};

// Drives the program's window from outside, as a user would: it finds the windows of the
// program's process, reads their texts and states, and acts only through what a user can do
// (pressing enabled buttons, clicking list items, keys). Every action on a control that a user
// could not reach (hidden, disabled, or under a modal message) is refused with the reason.
class CUiDriver {
public:
    explicit CUiDriver(DWORD dwProcessId);
    ~CUiDriver();
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;

    // The process's windows.
    std::vector<HWND> TopLevelWindows() const;
    HWND FindMainDialog() const;  // the standard dialog that holds the panel
    bool Attach();                // finds and keeps the main dialog and its panel
    HWND MainDialog() const { return m_hMainDialog; }
    HWND Panel() const { return m_hPanel; }
    HWND Control(int nId) const;
    std::string DescribeWindows() const;  // for failure messages

    // Reading.
    std::string Text(HWND hWnd) const;
    std::string ControlText(int nId) const { return Text(Control(nId)); }
    std::string Title() const { return Text(m_hMainDialog); }
    bool IsEnabled(int nId) const;
    bool IsVisible(int nId) const;
    int CheckState(int nId) const;  // BST_UNCHECKED, BST_CHECKED, or -1 when unreadable
    bool IsResponding(DWORD dwTimeoutMs = 2000) const;

    // Acting on the panel and the standard dialog.
    ::testing::AssertionResult Click(int nId);
    ::testing::AssertionResult RequestClose();  // the system menu's Close
    // Waits until the window thread has handled every message posted to it before this call.
    bool WaitForWindowThread(DWORD dwTimeoutMs = 5000);

    // The card list.
    int ItemCount() const;
    std::string ItemText(int nIndex) const;
    int ItemImage(int nIndex) const;
    std::vector<std::string> ItemTexts() const;
    std::vector<CardListItem> Items() const;
    int FindItem(const std::string& strText) const;  // -1 when absent
    UINT ItemState(int nIndex, UINT nMask) const;
    int SelectedCount() const;
    bool ItemIconRect(int nIndex, RECT* pRect) const;  // in the list's client coordinates
    ::testing::AssertionResult ClickItem(int nIndex);
    ::testing::AssertionResult DoubleClickItem(int nIndex);
    ::testing::AssertionResult DoubleClickItem(const std::string& strText);
    ::testing::AssertionResult RightClickItem(int nIndex);

    // Message boxes: dialogs of the process other than the main dialog.
    std::vector<HWND> MessageBoxes() const;
    HWND WaitForMessageBox(DWORD dwTimeoutMs) const;
    MessageBoxView ReadMessageBox(HWND hBox) const;
    ::testing::AssertionResult PressMessageBoxButton(HWND hBox, int nButtonId);

    // The keyboard: real input, which goes to the focus of the foreground window.
    ::testing::AssertionResult BringToFront();
    ::testing::AssertionResult FocusCardList();
    ::testing::AssertionResult PressKey(WORD nVirtualKey);
    HWND FocusWindow() const;

private:
    bool Send(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const;
    LRESULT SendOrZero(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) const;
    ::testing::AssertionResult Reachable(HWND hWnd, const std::string& strWhat) const;
    ::testing::AssertionResult PostClicks(HWND hWnd, POINT point, bool bDouble);
    ::testing::AssertionResult ItemPoint(int nIndex, POINT* pPoint);
    ::testing::AssertionResult ItemCentre(int nIndex, POINT* pPoint);

    DWORD m_dwProcessId;
    HANDLE m_hProcess;
    HWND m_hMainDialog;
    HWND m_hPanel;
    DWORD m_nMarker;
};
