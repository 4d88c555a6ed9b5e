#include "copy/CopyTally.h"

void CCopyTally::Reset(int pendingTrees) {
    m_totalFiles = 0;
    m_totalBytes = 0;
    m_doneFiles = 0;
    m_doneBytes = 0;
    m_inFlightBytes = 0;
    m_pendingTrees = pendingTrees;
    m_incomplete = false;
    for (auto& count : m_count) count = 0;
    m_copiedBytes = 0;
    m_leftNames.clear();
    m_moreLeft = 0;
}

void CCopyTally::AddFiles(uint32_t files, uint64_t bytes) {
    m_totalFiles += files;
    m_totalBytes += bytes;
}

void CCopyTally::Finish(FileOutcome outcome, uint64_t bytes, const std::string& name) {
    // A card whose second listing shows more than its first still never counts past its total.
    if (m_doneFiles + 1 > m_totalFiles) AddFiles(1, bytes);
    ++m_count[outcome];
    if (outcome == FILE_COPIED) m_copiedBytes += bytes;
    if (outcome != FILE_COPIED && !LeftByUser(outcome)) {
        if (m_leftNames.size() < NAMES_KEPT) {
            m_leftNames.push_back(name);
        } else {
            ++m_moreLeft;
        }
    }
    // The part in flight goes first: for a moment the sum is short, never ahead (the display
    // keeps what it showed).
    m_inFlightBytes = 0;
    m_doneBytes += bytes;
    ++m_doneFiles;
}

void CCopyTally::FinishUnnamed(FileOutcome outcome, uint32_t files, uint64_t bytes) {
    if (files == 0) return;
    m_count[outcome] += files;
    if (!LeftByUser(outcome)) m_moreLeft += files;
    m_inFlightBytes = 0;
    m_doneBytes += bytes;
    m_doneFiles += files;
}

uint32_t CCopyTally::LeftByProgram() const {
    uint32_t left = 0;
    for (int outcome = FILE_BAD_NAME; outcome < FILE_OUTCOME_COUNT; ++outcome) left += m_count[outcome];
    return left;
}
