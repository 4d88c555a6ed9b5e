// Real modal dialogs from templates in memory: their message maps (commands, notifications,
// window messages, chaining to the base class's map), the default processing behind them, and the
// dialog colours.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/WinApp.h"

namespace {

constexpr UINT ID_PLAIN = 2001;        // mapped in both classes; the derived entry wins
constexpr UINT ID_EX_DECLINED = 2002;  // derived ON_COMMAND_EX says FALSE, the base takes it
constexpr UINT ID_EX_TAKEN = 2003;     // derived ON_COMMAND_EX says TRUE, the base never sees it
constexpr UINT ID_BASE_ONLY = 2004;    // only in the base map
constexpr UINT ID_UNMAPPED = 2005;     // in no map: default processing
constexpr UINT ID_BUTTON = 2006;       // a real push button
constexpr UINT ID_LIST = 2007;         // source of the notifications
constexpr UINT WM_APP_MULTIPLY = WM_APP + 1;
constexpr UINT_PTR TIMER_STEP = 1;
constexpr INT_PTR RESULT_DONE = 77;

// A dialog template in memory: the header, then each item on a DWORD boundary.
class CMemoryDialogTemplate {
public:
    CMemoryDialogTemplate(DWORD style, short cx, short cy) {
        AppendDword(style);
        AppendDword(0);
        m_words.insert(m_words.end(), {0, 0, 0, static_cast<WORD>(cx), static_cast<WORD>(cy)});
        m_words.insert(m_words.end(), {0, 0});  // no menu, the dialog class
        AppendText(L"");
    }

    // classAtom: 0x80 button, 0x81 edit, 0x82 static.
    void AddItem(WORD classAtom, const wchar_t* text, DWORD style, short x, short y, short cx,
                 short cy, WORD id) {
        while (m_words.size() % 2 != 0) m_words.push_back(0);
        AppendDword(style | WS_CHILD | WS_VISIBLE);
        AppendDword(0);
        m_words.insert(m_words.end(), {static_cast<WORD>(x), static_cast<WORD>(y),
                                       static_cast<WORD>(cx), static_cast<WORD>(cy), id});
        m_words.insert(m_words.end(), {0xFFFF, classAtom});
        AppendText(text);
        m_words.push_back(0);  // no creation data
        ++m_words[4];          // cdit
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void AppendDword(DWORD value) {
        m_words.push_back(LOWORD(value));
        m_words.push_back(HIWORD(value));
    }
    void AppendText(const wchar_t* text) {
        for (; *text != 0; ++text) m_words.push_back(static_cast<WORD>(*text));
        m_words.push_back(0);
    }

    std::vector<WORD> m_words;
};

class CRecordingDialog : public CDialog {
public:
    std::vector<std::string> m_log;

protected:
    void OnPlainInBase() { m_log.push_back("base:plain"); }
    BOOL OnExInBase(UINT nID) {
        m_log.push_back("base:ex " + std::to_string(nID));
        return TRUE;
    }
    void OnBaseOnly() { m_log.push_back("base:only"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingDialog, CDialog)
    ON_COMMAND(ID_PLAIN, OnPlainInBase)
    ON_COMMAND_EX(ID_EX_DECLINED, OnExInBase)
    ON_COMMAND_EX(ID_EX_TAKEN, OnExInBase)
    ON_COMMAND(ID_BASE_ONLY, OnBaseOnly)
END_MESSAGE_MAP()

class CProbeDialog : public CRecordingDialog {
public:
    int m_nPaints = 0;
    bool m_bPaintValidated = false;
    bool m_bStepsDone = false;
    LRESULT m_lMappedNotify = -1;
    LRESULT m_lUnmappedNotify = -1;
    LRESULT m_lMultiply = 0;
    LRESULT m_lUnmappedCommand = -1;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) m_log.push_back("WindowProc:WM_INITDIALOG");
        return CRecordingDialog::WindowProc(message, wParam, lParam);
    }

    BOOL OnInitDialog() override {
        CRecordingDialog::OnInitDialog();
        m_log.push_back("OnInitDialog");
        for (UINT nID : {ID_PLAIN, ID_EX_DECLINED, ID_EX_TAKEN, ID_BASE_ONLY})
            ::PostMessageA(m_hWnd, WM_COMMAND, nID, 0);
        // Timers fire only when the queue is empty, that is once the dialog is up.
        ::SetTimer(m_hWnd, TIMER_STEP, 20, nullptr);
        return TRUE;
    }

protected:
    void OnPlain() { m_log.push_back("derived:plain"); }
    BOOL OnExDeclined(UINT nID) {
        m_log.push_back("derived:ex-declined " + std::to_string(nID));
        return FALSE;
    }
    BOOL OnExTaken(UINT) {
        m_log.push_back("derived:ex-taken");
        return TRUE;
    }
    void OnButtonClicked() { m_log.push_back("derived:clicked"); }
    void OnListDblClk(NMHDR* pHeader, LRESULT* pResult) {
        m_log.push_back("derived:dblclk from " + std::to_string(pHeader->idFrom));
        if (*pResult == 0) *pResult = 42;
    }
    LRESULT OnMultiply(WPARAM wParam, LPARAM lParam) {
        return static_cast<LRESULT>(wParam) * lParam;
    }
    void OnPaint() {
        ++m_nPaints;
        Default();
        RECT update;
        m_bPaintValidated = !::GetUpdateRect(m_hWnd, &update, FALSE);
    }
    LRESULT OnTimer(WPARAM, LPARAM) {
        if (!m_bStepsDone) {
            m_bStepsDone = true;
            RunSentSteps();
        } else if (m_nPaints > 0) {
            EndDialog(static_cast<int>(RESULT_DONE));
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    void RunSentSteps() {
        NMHDR header = {m_hWnd, ID_LIST, static_cast<UINT>(NM_DBLCLK)};
        m_lMappedNotify =
            ::SendMessageA(m_hWnd, WM_NOTIFY, ID_LIST, reinterpret_cast<LPARAM>(&header));
        header.code = static_cast<UINT>(NM_CLICK);
        m_lUnmappedNotify =
            ::SendMessageA(m_hWnd, WM_NOTIFY, ID_LIST, reinterpret_cast<LPARAM>(&header));
        m_lMultiply = ::SendMessageA(m_hWnd, WM_APP_MULTIPLY, 6, 7);
        m_lUnmappedCommand = ::SendMessageA(m_hWnd, WM_COMMAND, ID_UNMAPPED, 0);
        ::SendMessageA(::GetDlgItem(m_hWnd, ID_BUTTON), BM_CLICK, 0, 0);
    }
};

BEGIN_MESSAGE_MAP(CProbeDialog, CRecordingDialog)
    ON_COMMAND(ID_PLAIN, OnPlain)
    ON_COMMAND_EX(ID_EX_DECLINED, OnExDeclined)
    ON_COMMAND_EX(ID_EX_TAKEN, OnExTaken)
    ON_BN_CLICKED(ID_BUTTON, OnButtonClicked)
    ON_NOTIFY(NM_DBLCLK, ID_LIST, OnListDblClk)
    ON_MESSAGE(WM_APP_MULTIPLY, OnMultiply)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CMemoryDialogTemplate MakeProbeTemplate() {
    CMemoryDialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_VISIBLE, 160, 80);
    dialog.AddItem(0x80, L"Press", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 50, 14, ID_BUTTON);
    return dialog;
}

TEST(FrameworkMessageMap, RoutesCommandsNotificationsAndMessagesOfAModalDialog) {
    const CMemoryDialogTemplate dialogTemplate = MakeProbeTemplate();
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(dialogTemplate.Get()));

    ASSERT_EQ(dialog.DoModal(), RESULT_DONE);

    const std::vector<std::string> expected = {
        "WindowProc:WM_INITDIALOG",
        "OnInitDialog",
        "derived:plain",
        "derived:ex-declined 2002",
        "base:ex 2002",
        "derived:ex-taken",
        "base:only",
        "derived:dblclk from 2007",
        "derived:clicked",
    };
    EXPECT_EQ(dialog.m_log, expected);
    EXPECT_EQ(dialog.m_lMappedNotify, 42);
    EXPECT_EQ(dialog.m_lUnmappedNotify, 0);
    EXPECT_EQ(dialog.m_lMultiply, 42);
    EXPECT_EQ(dialog.m_lUnmappedCommand, 0) << "an unmapped command goes to default processing";
    EXPECT_GE(dialog.m_nPaints, 1);
    // Had Default() not painted, the update region would still be there (and WM_PAINT would
    // come back for ever).
    EXPECT_TRUE(dialog.m_bPaintValidated);
}

TEST(FrameworkMessageMap, DialogIsDetachedOnceItsWindowIsGone) {
    const CMemoryDialogTemplate dialogTemplate = MakeProbeTemplate();
    CProbeDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(dialogTemplate.Get()));
    ASSERT_EQ(dialog.DoModal(), RESULT_DONE);

    EXPECT_EQ(dialog.m_hWnd, nullptr);

    // The same object runs again with a new window.
    dialog.m_log.clear();
    ASSERT_EQ(dialog.DoModal(), RESULT_DONE);
    EXPECT_EQ(dialog.m_log.front(), "WindowProc:WM_INITDIALOG");
}

class CCancelAtOnceDialog : public CDialog {
public:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
};

TEST(FrameworkMessageMap, GeneralDialogMapEndsTheDialogOnCancel) {
    const CMemoryDialogTemplate dialogTemplate = MakeProbeTemplate();
    CCancelAtOnceDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(dialogTemplate.Get()));

    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(FrameworkMessageMap, MissingTemplateResourceFailsDoModal) {
    CDialog dialog(7099);
    EXPECT_EQ(dialog.DoModal(), -1);
}

constexpr COLORREF DIALOG_BACKGROUND = RGB(192, 220, 192);
constexpr COLORREF DIALOG_TEXT = RGB(0, 0, 128);
constexpr COLORREF UNSET_COLOUR = RGB(1, 2, 3);
constexpr WORD ID_STATIC = 2101;
constexpr WORD ID_CHECK = 2102;
constexpr WORD ID_PUSH = 2103;
constexpr WORD ID_EDIT = 2104;

class CTestApp : public CWinApp {};

// What the dialog answered to one WM_CTLCOLOR* message.
struct ColourAnswer {
    LRESULT brush = 0;
    COLORREF background = UNSET_COLOUR;
    COLORREF text = UNSET_COLOUR;
};

class CColourProbeDialog : public CDialog {
public:
    ColourAnswer m_dialog, m_static, m_check, m_push, m_edit;
    COLORREF m_dialogPixel = CLR_INVALID;
    COLORREF m_staticPixel = CLR_INVALID;
    COLORREF m_checkPixel = CLR_INVALID;
    COLORREF m_editPixel = CLR_INVALID;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, TIMER_STEP, 20, nullptr);
        return TRUE;
    }

protected:
    LRESULT OnTimer(WPARAM, LPARAM) {
        Measure();
        EndDialog(static_cast<int>(RESULT_DONE));
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    ColourAnswer Ask(UINT message, HWND hControl) {
        ColourAnswer answer;
        HDC hDC = ::GetDC(m_hWnd);
        ::SetBkColor(hDC, UNSET_COLOUR);
        ::SetTextColor(hDC, UNSET_COLOUR);
        answer.brush = ::SendMessageA(m_hWnd, message, reinterpret_cast<WPARAM>(hDC),
                                      reinterpret_cast<LPARAM>(hControl));
        answer.background = ::GetBkColor(hDC);
        answer.text = ::GetTextColor(hDC);
        ::ReleaseDC(m_hWnd, hDC);
        return answer;
    }

    // A pixel near the right end of the window, where its text does not reach, as the window
    // paints itself (background and client) into a bitmap of ours that no other window can cover.
    static COLORREF PixelNearRightEdge(HWND hWnd) {
        RECT client;
        ::GetClientRect(hWnd, &client);
        HDC hScreenDC = ::GetDC(nullptr);
        HDC hDC = ::CreateCompatibleDC(hScreenDC);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreenDC, client.right, client.bottom);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        ::SendMessageA(hWnd, WM_PRINT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF pixel = ::GetPixel(hDC, client.right - 4, client.bottom / 2);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hDC);
        ::ReleaseDC(nullptr, hScreenDC);
        return pixel;
    }

    void Measure() {
        m_dialog = Ask(WM_CTLCOLORDLG, m_hWnd);
        m_static = Ask(WM_CTLCOLORSTATIC, GetDlgItem(ID_STATIC));
        m_check = Ask(WM_CTLCOLORSTATIC, GetDlgItem(ID_CHECK));
        m_push = Ask(WM_CTLCOLORBTN, GetDlgItem(ID_PUSH));
        m_edit = Ask(WM_CTLCOLOREDIT, GetDlgItem(ID_EDIT));
        m_dialogPixel = PixelNearRightEdge(m_hWnd);
        m_staticPixel = PixelNearRightEdge(GetDlgItem(ID_STATIC));
        m_checkPixel = PixelNearRightEdge(GetDlgItem(ID_CHECK));
        m_editPixel = PixelNearRightEdge(GetDlgItem(ID_EDIT));
    }
};

BEGIN_MESSAGE_MAP(CColourProbeDialog, CDialog)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

CMemoryDialogTemplate MakeColourTemplate() {
    CMemoryDialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 110);
    dialog.AddItem(0x82, L"Ab", SS_LEFT, 10, 10, 100, 12, ID_STATIC);
    dialog.AddItem(0x80, L"Cd", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 30, 100, 12, ID_CHECK);
    dialog.AddItem(0x80, L"Ef", BS_PUSHBUTTON | WS_TABSTOP, 10, 50, 50, 14, ID_PUSH);
    dialog.AddItem(0x81, L"Gh", ES_LEFT | WS_BORDER | WS_TABSTOP, 10, 70, 100, 14, ID_EDIT);
    return dialog;
}

// The colour a screen-compatible bitmap holds for an exact colour (the same on a high-colour
// display).
COLORREF OnScreen(COLORREF colour) {
    HDC hDC = ::GetDC(nullptr);
    const COLORREF nearest = ::GetNearestColor(hDC, colour);
    ::ReleaseDC(nullptr, hDC);
    return nearest;
}

TEST(FrameworkDialogColours, DialogStaticsAndButtonsTakeTheApplicationColoursButEditsDoNot) {
    CTestApp app;
    app.SetDialogBkColor(DIALOG_BACKGROUND, DIALOG_TEXT);
    const auto brush = reinterpret_cast<LRESULT>(app.GetDialogBkBrush());
    const CMemoryDialogTemplate dialogTemplate = MakeColourTemplate();
    CColourProbeDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(dialogTemplate.Get()));

    ASSERT_EQ(dialog.DoModal(), RESULT_DONE);

    for (const ColourAnswer* answer :
         {&dialog.m_dialog, &dialog.m_static, &dialog.m_check, &dialog.m_push}) {
        EXPECT_EQ(answer->brush, brush);
        EXPECT_EQ(answer->background, DIALOG_BACKGROUND);
        EXPECT_EQ(answer->text, DIALOG_TEXT);
    }
    EXPECT_NE(dialog.m_edit.brush, brush);
    EXPECT_NE(dialog.m_edit.background, DIALOG_BACKGROUND);

    EXPECT_EQ(dialog.m_dialogPixel, OnScreen(DIALOG_BACKGROUND));
    EXPECT_EQ(dialog.m_staticPixel, OnScreen(DIALOG_BACKGROUND));
    EXPECT_EQ(dialog.m_checkPixel, OnScreen(DIALOG_BACKGROUND));
    EXPECT_EQ(dialog.m_editPixel, OnScreen(::GetSysColor(COLOR_WINDOW)));
}

TEST(FrameworkDialogColours, WithoutDialogColoursThePlatformPaints) {
    CTestApp app;
    const CMemoryDialogTemplate dialogTemplate = MakeColourTemplate();
    CColourProbeDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(dialogTemplate.Get()));

    ASSERT_EQ(dialog.DoModal(), RESULT_DONE);

    EXPECT_EQ(dialog.m_dialogPixel, OnScreen(::GetSysColor(COLOR_BTNFACE)));
    EXPECT_NE(dialog.m_static.background, DIALOG_BACKGROUND);
}

}  // namespace
