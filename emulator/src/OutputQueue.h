#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "PacketLog.h"

using SteadyClock = std::chrono::steady_clock;

// One piece of a reply as it goes out: after a pause, its bytes, and possibly the end of
// the port.
struct OutputSegment {
    std::vector<uint8_t> m_aBytes;
    uint32_t m_nPauseMs = 0;  // counted from the end of the segment before
    bool m_bDisconnectAfter = false;
};

// Reply bytes waiting for the pty: written without blocking, paced to the byte rate and
// held back over pauses, so the event loop keeps serving the control channel meanwhile.
class COutputQueue {
public:
    void SetRate(uint64_t nBytesPerSecond) { m_nRate = nBytesPerSecond; }
    void Push(OutputSegment segment, SteadyClock::time_point now);
    // Drops everything not yet written; returns the number of bytes dropped.
    size_t Clear();
    bool IsEmpty() const { return m_aSegments.empty(); }

    // Writes what is due to the pty master. Each segment is logged as it starts. Returns true
    // when a segment that ends the port has been written completely.
    bool Pump(int hMaster, SteadyClock::time_point now, CPacketLog& log);

    // Whether the next step waits only for the pty to take bytes.
    bool WantsWritable(SteadyClock::time_point now) const;
    // When a pause or the rate limit next lets bytes go, if that is what holds them.
    std::optional<SteadyClock::time_point> NextWake(SteadyClock::time_point now) const;

private:
    void StartHead(SteadyClock::time_point now);

    struct Pending {
        OutputSegment m_segment;
        size_t m_nWritten = 0;
        bool m_bLogged = false;
        std::optional<SteadyClock::time_point> m_tDue;
    };

    std::deque<Pending> m_aSegments;
    uint64_t m_nRate = 0;
    SteadyClock::time_point m_tNextWrite{};
};
