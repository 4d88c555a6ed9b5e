#pragma once
#include <string>
#include <vector>

#include "Outcome.h"

// Talks to the printer emulator over its local control port (EMULATOR_CONTROL=host:port): it
// resets the emulator to a card and a set of faults, and reads back the packet log.
class EmulatorControl {
public:
    EmulatorControl();
    ~EmulatorControl();
    EmulatorControl(const EmulatorControl&) = delete;
    EmulatorControl& operator=(const EmulatorControl&) = delete;

    static bool Available();
    bool Connected() const { return m_socket != ~0ull; }
    Outcome Reset(const std::vector<std::string>& arguments);
    // Serves a card folder, or a card image file, with these faults (emulator options).
    Outcome Serve(const std::string& cardPath, const std::vector<std::string>& faults = {});
    // Log lines since the last reset: "> hex" packets in, "< hex" replies out.
    std::vector<std::string> Log();
    // Packets from the PC, as hex, in order; those that begin with a prefix.
    std::vector<std::string> Packets(const std::string& prefix = "");
    size_t CountPackets(const std::string& packet);  // exactly this packet
    // Bytes of every reply sent, in order (one entry per reply or part).
    std::vector<std::string> Replies();

private:
    bool SendLine(const std::string& line);
    bool ReadLine(std::string* line);
    std::vector<std::string> LoggedAfter(const std::string& marker);

    unsigned long long m_socket;
    std::string m_pending;
};
