#include "OutputQueue.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

void COutputQueue::Push(OutputSegment segment, SteadyClock::time_point now) {
    Pending pending;
    pending.m_segment = std::move(segment);
    m_aSegments.push_back(std::move(pending));
    if (m_aSegments.size() == 1) StartHead(now);
}

void COutputQueue::StartHead(SteadyClock::time_point now) {
    if (m_aSegments.empty()) return;
    Pending& head = m_aSegments.front();
    if (!head.m_tDue) head.m_tDue = now + std::chrono::milliseconds(head.m_segment.m_nPauseMs);
}

size_t COutputQueue::Clear() {
    size_t nDropped = 0;
    for (const Pending& pending : m_aSegments)
        nDropped += pending.m_segment.m_aBytes.size() - pending.m_nWritten;
    m_aSegments.clear();
    return nDropped;
}

bool COutputQueue::Pump(int hMaster, SteadyClock::time_point now, CPacketLog& log) {
    while (!m_aSegments.empty()) {
        Pending& head = m_aSegments.front();
        if (head.m_tDue && now < *head.m_tDue) return false;
        if (!head.m_bLogged) {
            // Logged before the bytes go, so the log never lags behind what the PC has read.
            if (!head.m_segment.m_aBytes.empty()) {
                log.Sent(head.m_segment.m_aBytes.data(), head.m_segment.m_aBytes.size());
            }
            head.m_bLogged = true;
        }
        while (head.m_nWritten < head.m_segment.m_aBytes.size()) {
            size_t nChunk = head.m_segment.m_aBytes.size() - head.m_nWritten;
            if (m_nRate > 0) {
                if (now < m_tNextWrite) return false;
                // About 10 ms worth of bytes at a time keeps the pace smooth.
                nChunk = std::min<size_t>(nChunk, std::max<uint64_t>(1, m_nRate / 100));
            }
            const ssize_t nWritten =
                write(hMaster, head.m_segment.m_aBytes.data() + head.m_nWritten, nChunk);
            if (nWritten < 0) {
                if (errno == EINTR) continue;
                return false;  // EAGAIN: the PC has not read enough yet; other errors: retried
            }
            head.m_nWritten += static_cast<size_t>(nWritten);
            if (m_nRate > 0) {
                m_tNextWrite =
                    now + std::chrono::nanoseconds(static_cast<int64_t>(
                              static_cast<uint64_t>(nWritten) * 1000000000ULL / m_nRate));
                if (head.m_nWritten < head.m_segment.m_aBytes.size()) return false;
            }
        }
        const bool bDisconnect = head.m_segment.m_bDisconnectAfter;
        m_aSegments.pop_front();
        if (bDisconnect) {
            m_aSegments.clear();
            return true;
        }
        StartHead(now);
    }
    return false;
}

bool COutputQueue::WantsWritable(SteadyClock::time_point now) const {
    if (m_aSegments.empty()) return false;
    const Pending& head = m_aSegments.front();
    if (head.m_tDue && now < *head.m_tDue) return false;
    if (head.m_nWritten >= head.m_segment.m_aBytes.size()) return false;
    return m_nRate == 0 || now >= m_tNextWrite;
}

std::optional<SteadyClock::time_point> COutputQueue::NextWake(SteadyClock::time_point now) const {
    if (m_aSegments.empty()) return std::nullopt;
    const Pending& head = m_aSegments.front();
    if (head.m_tDue && now < *head.m_tDue) return *head.m_tDue;
    if (m_nRate > 0 && now < m_tNextWrite) return m_tNextWrite;
    return std::nullopt;
}
