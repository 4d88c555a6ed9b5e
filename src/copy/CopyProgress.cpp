#include <windows.h>

#include <shlwapi.h>

#include <algorithm>

#include "app/TransferDlg.h"
#include "copy/CardPaths.h"
#include "copy/ProgressText.h"

namespace {
constexpr UINT PROGRESS_STEP_MS = 250;

std::string Number(uint64_t value) { return std::to_string(value); }

std::string Bytes(uint64_t value) {
    char text[64] = {};
    ::StrFormatByteSize64A(static_cast<LONGLONG>(value), text, sizeof(text));
    return text;
}
}  // namespace

std::string CTransferDlg::ModuleText(UINT id) {
    char text[1024];
    LoadModuleText(id, text, sizeof(text));
    return text;
}

void CTransferDlg::OnFileProgress(uint32_t received) { m_tally.SetInFlight(received); }

// The account starts with what is known at COPY: the chosen files; chosen folders, or the whole
// card, add theirs as the walk finds them.
void CTransferDlg::StartProgress(const std::vector<CardEntry>& selection, bool wholeCard) {
    int trees = wholeCard ? 1 : 0;
    for (const CardEntry& entry : selection) trees += entry.IsFolder() ? 1 : 0;
    m_tally.Reset(trees);
    for (const CardEntry& entry : selection) {
        if (!entry.IsFolder()) m_tally.AddFiles(1, entry.size);
    }
    m_progressShown = {};
    m_nCopyStartTick = ::GetTickCount64();
    ::SetWindowTextA(StandardDialog(), m_uiText[0]);
    ::SetTimer(m_hWnd, PROGRESS_TIMER, PROGRESS_STEP_MS, nullptr);
}

// Runs on the window thread a few times a second; what it shows never goes backwards, even
// when it reads the counts in the middle of the worker's update of them.
void CTransferDlg::ShowProgress() {
    ProgressShown& shown = m_progressShown;
    shown.totalFiles = std::max(shown.totalFiles, m_tally.TotalFiles());
    shown.totalBytes = std::max(shown.totalBytes, m_tally.TotalBytes());
    shown.doneFiles = std::min(std::max(shown.doneFiles, m_tally.DoneFiles()), shown.totalFiles);
    shown.doneBytes = std::min(std::max(shown.doneBytes, m_tally.DoneBytes()), shown.totalBytes);

    std::string status;
    std::string title = m_uiText[0];
    if (!m_tally.TotalsFinal()) {
        status = FormatText(ModuleText(TEXT_PROGRESS_COUNTING), {Number(shown.doneFiles), Number(shown.totalFiles)});
    } else {
        status = FormatText(ModuleText(TEXT_PROGRESS), {Number(shown.doneFiles), Number(shown.totalFiles),
                                                        Bytes(shown.doneBytes), Bytes(shown.totalBytes)});
        if (!FitsStatusLine(status)) {
            status = FormatText(ModuleText(TEXT_PROGRESS_SHORT), {Number(shown.doneFiles), Number(shown.totalFiles)});
        }
        const int percent = std::max(shown.percent, PercentDone(shown.doneBytes, shown.totalBytes, shown.doneFiles,
                                                                shown.totalFiles));
        shown.percent = percent;
        const double elapsed = double(::GetTickCount64() - m_nCopyStartTick) / 1000.0;
        const int64_t left = SecondsLeft(shown.doneBytes, shown.totalBytes, elapsed);
        title = left >= 0 ? FormatText(ModuleText(TEXT_TITLE_TIME_LEFT),
                                       {Number(percent), FormatDuration(uint64_t(left)), m_uiText[0]})
                          : FormatText(ModuleText(TEXT_TITLE_PERCENT), {Number(percent), m_uiText[0]});
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
    const uint32_t unaccounted = m_tally.TotalFiles() - std::min(m_tally.DoneFiles(), m_tally.TotalFiles());
    m_tally.FinishUnnamed(stopped ? FILE_STOPPED : FILE_READ_FAILED, unaccounted, 0);
    ::SetWindowTextA(StandardDialog(), m_uiText[0]);
    const uint32_t copied = m_tally.Count(FILE_COPIED);
    // A stopped copy never reads as if all had arrived; one that could not find every file says
    // its total is a least one.
    const UINT text = !m_tally.Complete()                             ? TEXT_COPIED_OF_AT_LEAST
                      : copied == m_tally.TotalFiles() && !stopped ? TEXT_COPIED_ALL
                                                                      : TEXT_COPIED_SOME;
    const std::string status =
        text == TEXT_COPIED_ALL ? FormatText(ModuleText(text), {Number(copied), Bytes(m_tally.CopiedBytes())})
                                : FormatText(ModuleText(text), {Number(copied), Number(m_tally.TotalFiles())});
    SetItemText(PANEL_STATUS_LINE, status.c_str());
    if (m_tally.LeftByProgram() > 0) ::PostMessageA(m_hWnd, WM_APP_COPY_REPORT, 0, 0);
}

LRESULT CTransferDlg::OnCopyReport(WPARAM, LPARAM) {
    if (m_bClosing) return 0;
    const uint32_t total = m_tally.TotalFiles();
    const std::string left = Number(total - m_tally.Count(FILE_COPIED));
    std::string text = m_tally.Complete() ? FormatText(ModuleText(TEXT_REPORT_HEADER), {left, Number(total)})
                                          : FormatText(ModuleText(TEXT_REPORT_HEADER_AT_LEAST), {left});
    for (int outcome = FILE_DECLINED; outcome < FILE_OUTCOME_COUNT; ++outcome) {
        const uint32_t count = m_tally.Count(static_cast<FileOutcome>(outcome));
        if (count == 0) continue;
        text += "\n" + FormatText(ModuleText(TEXT_LEFT_DECLINED + outcome - FILE_DECLINED), {Number(count)});
    }
    text += "\n\n" + ModuleText(TEXT_REPORT_NAMES);
    for (const std::string& name : m_tally.LeftNames()) text += "\n" + name;
    if (m_tally.MoreLeft() > 0) text += "\n" + FormatText(ModuleText(TEXT_REPORT_MORE), {Number(m_tally.MoreLeft())});
    ::MessageBoxA(m_hWnd, text.c_str(), m_uiText[0], MB_OK | MB_ICONWARNING);
    return 0;
}
