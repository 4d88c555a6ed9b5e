#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "link/FileOutcome.h"

// The account of one copy: what it is to move (growing while selected folder trees are found),
// what it has finished, and how each file ended. The copy worker writes it; the window reads the
// counts while the copy runs and the rest once the worker has reported the end.
class CCopyTally {
public:
    static constexpr size_t NAMES_KEPT = 5;

    // A new copy, with this many selected folder trees still to be found.
    void Reset(int pendingTrees);
    // Files found that the copy is to move.
    void AddFiles(uint32_t files, uint64_t bytes);
    // One selected tree has been found whole (or given up).
    void TreeFound() { --m_pendingTrees; }
    // One file has ended, however; name is its card path, kept for the report when the program
    // left the file behind.
    void Finish(FileOutcome outcome, uint64_t bytes, const std::string& name);
    // Files of a tree that ended early, known only by number.
    void FinishUnnamed(FileOutcome outcome, uint32_t files, uint64_t bytes);
    void SetInFlight(uint32_t bytes) { m_inFlightBytes = bytes; }
    // Files of a chosen folder stay unknown: one was not read, or the walk stopped before it.
    void MarkIncomplete() { m_incomplete = true; }
    bool Complete() const { return !m_incomplete && TotalsFinal(); }

    uint32_t TotalFiles() const { return m_totalFiles; }
    uint64_t TotalBytes() const { return m_totalBytes; }
    uint32_t DoneFiles() const { return m_doneFiles; }
    // Finished files and the part of the current one that has arrived. The finished bytes are read
    // first: Finish clears the part in flight before it adds the file, so the sum is never ahead.
    uint64_t DoneBytes() const {
        const uint64_t finished = m_doneBytes;
        return finished + m_inFlightBytes;
    }
    bool TotalsFinal() const { return m_pendingTrees <= 0; }

    uint32_t Count(FileOutcome outcome) const { return m_count[outcome]; }
    uint64_t CopiedBytes() const { return m_copiedBytes; }
    uint32_t LeftByProgram() const;
    // The first files the program left behind, and how many more there were.
    const std::vector<std::string>& LeftNames() const { return m_leftNames; }
    uint32_t MoreLeft() const { return m_moreLeft; }

private:
    std::atomic<uint32_t> m_totalFiles{0};
    std::atomic<uint64_t> m_totalBytes{0};
    std::atomic<uint32_t> m_doneFiles{0};
    std::atomic<uint64_t> m_doneBytes{0};
    std::atomic<uint32_t> m_inFlightBytes{0};
    std::atomic<int> m_pendingTrees{0};
    std::atomic<bool> m_incomplete{false};
    std::atomic<uint32_t> m_count[FILE_OUTCOME_COUNT] = {};
    uint64_t m_copiedBytes = 0;
    std::vector<std::string> m_leftNames;
    uint32_t m_moreLeft = 0;
};

// Whether the user chose to leave the file (declined or stopped) rather than the program.
inline bool LeftByUser(FileOutcome outcome) { return outcome == FILE_DECLINED || outcome == FILE_STOPPED; }
