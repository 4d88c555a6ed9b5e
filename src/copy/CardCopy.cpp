#include "copy/CardCopy.h"

#include <algorithm>

#include "copy/CardPaths.h"
#include "link/PcFileWriter.h"

// The account starts with what is known now: the chosen files; chosen folders, or the whole
// card, add theirs as the walk finds them.
void CCardCopy::Start(const CopyOrder& order) {
    m_order = order;
    if (m_order.wholeCard) m_order.items.clear();
    m_stopped = false;
    m_overwriteAll = ASK_EACH;
    int trees = m_order.wholeCard ? 1 : 0;
    for (const CopyItem& item : m_order.items) trees += item.entry.IsFolder() ? 1 : 0;
    m_tally.Reset(trees);
    for (const CopyItem& item : m_order.items) {
        if (!item.entry.IsFolder()) m_tally.AddFiles(1, item.entry.size);
    }
}

void CCardCopy::Run() {
    if (m_order.wholeCard) {
        CopyFolderTree("\\", m_order.destination);
    } else {
        CopySelection();
    }
    // Whatever the walk did not reach ends as the reason it stopped.
    const uint32_t unaccounted = m_tally.TotalFiles() - std::min(m_tally.DoneFiles(), m_tally.TotalFiles());
    m_tally.FinishUnnamed(m_stopped ? FILE_STOPPED : FILE_READ_FAILED, unaccounted, 0);
    m_buffer.reset();
    m_bufferSize = 0;
    m_user.CopyEnded(m_tally, m_stopped);
}

uint8_t* CCardCopy::FileBuffer(uint64_t size) {
    if (size <= m_bufferSize) return m_buffer.get();
    m_buffer.reset();
    m_bufferSize = 0;
    if (size <= SIZE_MAX) m_buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
    if (m_buffer) m_bufferSize = size;
    return m_buffer.get();
}

void CCardCopy::Stop() {
    m_stopped = true;
    m_owner.m_bBusy = 0;
}

void CCardCopy::OnFileProgress(uint32_t received) {
    m_tally.SetInFlight(received);
    m_user.ShowProgress(m_tally);
}

void CCardCopy::Finish(FileOutcome outcome, uint64_t bytes, const std::string& name) {
    m_tally.Finish(outcome, bytes, name);
    m_user.ShowProgress(m_tally);
}

bool CCardCopy::Overwrite(const std::string& pcPath) {
    if (m_overwriteAll != ASK_EACH) return m_overwriteAll == REPLACE_ALL;
    switch (m_user.AskOverwrite(pcPath)) {
        case OVERWRITE_YES_TO_ALL:
            m_overwriteAll = REPLACE_ALL;
            return true;
        case OVERWRITE_NO_TO_ALL:
            m_overwriteAll = KEEP_ALL;
            return false;
        case OVERWRITE_YES:
            return true;
        default:
            return false;
    }
}

void CCardCopy::CopySelection() {
    for (const CopyItem& item : m_order.items) {
        if (Stopped()) break;
        m_owner.m_bInSelectionWalk = 1;
        const CardEntry& entry = item.entry;
        const std::string source = JoinCardPath(item.cardFolder, entry.name);
        if (entry.IsFolder()) {
            CopyFolderTree(source.c_str(), m_order.destination);
        } else if (!m_link.SetCardPath(source.c_str()) || !m_link.SetPcFileName(entry.name)) {
            Finish(FILE_PATH_TOO_LONG, entry.size, source);
        } else if (PcFileExists(entry.name) && !Overwrite(entry.name)) {
            // A close answers for the user: that is a stop, not a choice to keep the file.
            Finish(Stopped() ? FILE_STOPPED : FILE_DECLINED, entry.size, source);
        } else {
            m_link.FetchFile();
            if (m_link.LastOutcome() == FILE_DISK_FULL) m_user.TellDiskFull();
            Finish(m_link.LastOutcome(), entry.size, source);
        }
    }
    m_owner.m_bInSelectionWalk = 0;
}
