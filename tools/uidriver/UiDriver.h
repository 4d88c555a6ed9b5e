#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "Outcome.h"
#include "display/PanelIds.h"

// The static that holds a message box's text.
constexpr int MESSAGE_BOX_TEXT = 0xFFFF;

struct CardListItem {
    std::string strText;
    int nImage;
    bool operator==(const CardListItem& other) const {
        return strText == other.strText && nImage == other.nImage;
    }
};
std::ostream& operator<<(std::ostream& stream, const CardListItem& item);

struct MessageBoxView {
    HWND hWnd = nullptr;
    std::string strCaption;
    std::string strText;
    std::vector<int> aButtons;  // ids of the visible buttons, ascending
};

// Drives the program's window from another process, as a user would: it finds the windows of the
// program's process, reads their texts and states, and acts only through what a user can do
// (pressing enabled buttons, clicking list items, keys). Every action on a control that a user
// could not reach (hidden, disabled, or under a modal message) is refused with the reason.
class CUiDriver {
public:
    explicit CUiDriver(DWORD dwProcessId);
    ~CUiDriver();
    CUiDriver(const CUiDriver&) = delete;
    CUiDriver& operator=(const CUiDriver&) = delete;

    // The process of a running program whose window shows the card panel, or 0.
    static DWORD FindRunningProgram();
    // Every window inside one, at any depth.
    static std::vector<HWND> Descendants(HWND hWnd);

    // ---- UiDriver.cpp: the process's windows, reading them, pressing buttons ----
    std::vector<HWND> TopLevelWindows() const;
    HWND FindMainDialog() const;  // the standard dialog that holds the panel
    bool Attach();                // finds and keeps the main dialog and its panel
    HWND MainDialog() const { return m_hMainDialog; }
    HWND Panel() const { return m_hPanel; }
    HWND Control(int nId) const;
    std::string DescribeWindows() const;  // for failure messages

    std::string Text(HWND hWnd) const;
    std::string ControlText(int nId) const { return Text(Control(nId)); }
    std::string Title() const { return Text(m_hMainDialog); }
    bool IsEnabled(int nId) const;
    bool CopyEnded() const;  // Select ALL and EXIT can be used again
    bool IsVisible(int nId) const;
    int CheckState(int nId) const;  // BST_UNCHECKED, BST_CHECKED, or -1 when unreadable
    bool IsResponding(DWORD dwTimeoutMs = 2000) const;

    Outcome Click(int nId);
    // The mouse held down on a button, as a user holds it before letting go, which clicks it.
    Outcome HoldButton(int nId);
    Outcome ReleaseButton(int nId);
    Outcome RightClick(int nId);
    Outcome TickSelectAll();  // done once it shows ticked and the window has taken the click
    Outcome RequestClose();   // the system menu's Close
    // Waits until the window thread has handled every message posted to it before this call.
    bool WaitForWindowThread(DWORD dwTimeoutMs = 5000);

    // ---- UiDriverCardList.cpp: the card list ----
    int ItemCount() const;
    std::string ItemText(int nIndex) const;
    int ItemImage(int nIndex) const;
    std::vector<std::string> ItemTexts() const;
    // The texts in the order a user reads them on the screen: row by row, left to right.
    std::vector<std::string> ItemTextsInReadingOrder() const;
    std::vector<CardListItem> Items() const;
    int FindItem(const std::string& strText) const;  // -1 when absent
    std::vector<std::string> SelectedItems() const;  // in list order
    Outcome ClickItem(int nIndex);
    Outcome DoubleClickItem(int nIndex);
    Outcome DoubleClickItem(const std::string& strText);
    // Selects exactly these items as a user does: a click on the first, then a click with Ctrl
    // held on each further one. Done once the list shows that selection.
    Outcome SelectItems(const std::vector<std::string>& aNames);
    // Waits until the list shows exactly these names and the listing has ended.
    Outcome WaitForListing(const std::vector<std::string>& aNames, DWORD dwTimeoutMs);
    // Waits until the card's root is listed and COPY can be pressed.
    Outcome WaitForRootListed(DWORD dwTimeoutMs);

    // ---- UiDriverMessages.cpp: message boxes and the keyboard ----
    std::vector<HWND> MessageBoxes() const;  // dialogs of the process other than the main one
    HWND WaitForMessageBox(DWORD dwTimeoutMs) const;
    MessageBoxView ReadMessageBox(HWND hBox) const;
    Outcome PressMessageBoxButton(HWND hBox, int nButtonId);
    // Real input, which goes to the focus of the foreground window.
    Outcome BringToFront();
    Outcome FocusCardList();
    Outcome PressKey(WORD nVirtualKey, WORD nHeldKey = 0);  // e.g. VK_F4 with VK_MENU held
    HWND FocusWindow() const;

    // ---- UiDriverStandard.cpp: the standard Open dialog around the panel ----
    HWND StandardControl(int nId) const { return GetDlgItem(m_hMainDialog, nId); }
    std::vector<std::string> FolderViewNames() const;  // in the shell view's order
    Outcome DoubleClickFolderViewItem(const std::string& strName);

private:
    static std::string ClassOf(HWND hWnd);
    static HWND FindPanelIn(HWND hDialog);  // the child dialog that carries the card list
    bool Send(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult) const;
    LRESULT SendOrZero(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) const;
    std::string ListItemText(HWND hList, int nIndex) const;
    Outcome Reachable(HWND hWnd, const std::string& strWhat) const;
    bool ItemRect(HWND hList, int nIndex, RECT* pRect) const;
    Outcome ItemPoint(HWND hList, int nIndex, POINT* pPoint);
    Outcome PostClicks(HWND hList, POINT point, bool bDouble, WPARAM nKeys = 0);

    DWORD m_dwProcessId;
    HANDLE m_hProcess;
    HWND m_hMainDialog;
    HWND m_hPanel;
    DWORD m_nMarker;
};
