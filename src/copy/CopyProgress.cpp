#include <windows.h>

#include <algorithm>

#include "app/TransferDlg.h"
#include "copy/CardPaths.h"
#include "copy/CopyAccount.h"
#include "copy/ProgressText.h"

namespace {
constexpr UINT PROGRESS_STEP_MS = 250;
}  // namespace

std::string CTransferDlg::ModuleText(UINT id) {
    char text[1024];
    LoadModuleText(id, text, sizeof(text));
    return text;
}

void CTransferDlg::OnFileProgress(uint32_t received) { m_pCopy->OnFileProgress(received); }

void CTransferDlg::StartProgress() {
    m_progressShown = {};
    m_nCopyStartTick = ::GetTickCount64();
    ::SetWindowTextA(StandardDialog(), m_uiText[0]);
    ::SetTimer(m_hWnd, PROGRESS_TIMER, PROGRESS_STEP_MS, nullptr);
}

// Runs on the window thread a few times a second; what it shows never goes backwards, even
// when it reads the counts in the middle of the worker's update of them.
void CTransferDlg::ShowProgress() {
    const CCopyTally& tally = m_pCopy->Tally();
    ProgressShown& shown = m_progressShown;
    shown.totalFiles = std::max(shown.totalFiles, tally.TotalFiles());
    shown.totalBytes = std::max(shown.totalBytes, tally.TotalBytes());
    shown.doneFiles = std::min(std::max(shown.doneFiles, tally.DoneFiles()), shown.totalFiles);
    shown.doneBytes = std::min(std::max(shown.doneBytes, tally.DoneBytes()), shown.totalBytes);

    const auto texts = [this](UINT id) { return ModuleText(id); };
    const auto line = [&](bool shortForm) {
        return CopyProgressLine(shown.doneFiles, shown.totalFiles, shown.doneBytes, shown.totalBytes,
                                tally.TotalsFinal(), shortForm, texts);
    };
    std::string status = line(false);
    std::string title = m_uiText[0];
    if (tally.TotalsFinal()) {
        if (!FitsStatusLine(status)) status = line(true);
        const int percent = std::max(shown.percent, PercentDone(shown.doneBytes, shown.totalBytes, shown.doneFiles,
                                                                shown.totalFiles));
        shown.percent = percent;
        const double elapsed = double(::GetTickCount64() - m_nCopyStartTick) / 1000.0;
        const int64_t left = SecondsLeft(shown.doneBytes, shown.totalBytes, elapsed);
        title = left >= 0 ? FormatText(ModuleText(TEXT_TITLE_TIME_LEFT),
                                       {CountText(percent), FormatDuration(uint64_t(left)), m_uiText[0]})
                          : FormatText(ModuleText(TEXT_TITLE_PERCENT), {CountText(percent), m_uiText[0]});
    }
    SetTextIfChanged(Item(PANEL_STATUS_LINE), status);
    SetTextIfChanged(StandardDialog(), title);
}

bool CTransferDlg::FitsStatusLine(const std::string& text) const {
    HWND line = Item(PANEL_STATUS_LINE);
    RECT client = {};
    ::GetClientRect(line, &client);
    HDC dc = ::GetDC(line);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(line, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(line, dc);
    return extent.cx <= client.right - client.left;
}

void CTransferDlg::SetTextIfChanged(HWND window, const std::string& text) {
    char shown[1024] = {};
    ::GetWindowTextA(window, shown, sizeof(shown));
    if (text != shown) ::SetWindowTextA(window, text.c_str());
}

// The end of a copy says what arrived; what the program left behind is told in a message box,
// after the worker has been let go.
void CTransferDlg::EndProgress(bool stopped) {
    ::KillTimer(m_hWnd, PROGRESS_TIMER);
    ::SetWindowTextA(StandardDialog(), m_uiText[0]);
    SetItemText(PANEL_STATUS_LINE, CopyEndLine(m_pCopy->Tally(), stopped, [this](UINT id) { return ModuleText(id); }).c_str());
    if (m_pCopy->Tally().LeftByProgram() > 0) ::PostMessageA(m_hWnd, WM_APP_COPY_REPORT, 0, 0);
}

LRESULT CTransferDlg::OnCopyReport(WPARAM, LPARAM) {
    if (m_bClosing) return 0;
    const std::string text = CopyReport(m_pCopy->Tally(), [this](UINT id) { return ModuleText(id); });
    ::MessageBoxA(m_hWnd, text.c_str(), m_uiText[0], MB_OK | MB_ICONWARNING);
    return 0;
}
