#pragma once
#include <string>
#include <vector>

// Talks to the printer emulator over its local control port (EMULATOR_CONTROL=host:port):
// each test resets it to a card and a set of faults, and reads back the packet log.
class EmulatorControl {
public:
    EmulatorControl();
    ~EmulatorControl();
    EmulatorControl(const EmulatorControl&) = delete;
    EmulatorControl& operator=(const EmulatorControl&) = delete;

    static bool Available();
    bool Connected() const { return m_socket != ~0ull; }
    // Empty on success, else the emulator's complaint.
    std::string Reset(const std::vector<std::string>& arguments);
    // Log lines since the last reset: "> hex" packets in, "< hex" replies out.
    std::vector<std::string> Log();
    // Packets from the PC, as hex, in order.
    std::vector<std::string> Packets();
    // Bytes of every reply sent, in order (one entry per reply or part).
    std::vector<std::string> Replies();

private:
    bool SendLine(const std::string& line);
    bool ReadLine(std::string* line);

    unsigned long long m_socket;
    std::string m_pending;
};
