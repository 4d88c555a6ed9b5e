#include "EmulatorControl.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "Files.h"

EmulatorControl::EmulatorControl() : m_socket(~0ull) {
    const std::string address = EnvironmentValue("EMULATOR_CONTROL");
    const size_t colon = address.find(':');
    if (colon == std::string::npos) return;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return;
    sockaddr_in target = {};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(std::stoi(address.substr(colon + 1))));
    inet_pton(AF_INET, address.substr(0, colon).c_str(), &target.sin_addr);
    if (connect(s, reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0) {
        closesocket(s);
        return;
    }
    m_socket = s;
}

EmulatorControl::~EmulatorControl() {
    if (Connected()) closesocket(static_cast<SOCKET>(m_socket));
}

bool EmulatorControl::Available() { return !EnvironmentValue("EMULATOR_CONTROL").empty(); }

bool EmulatorControl::SendLine(const std::string& line) {
    const std::string data = line + "\n";
    size_t done = 0;
    while (done < data.size()) {
        const int n = send(static_cast<SOCKET>(m_socket), data.data() + done,
                           static_cast<int>(data.size() - done), 0);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool EmulatorControl::ReadLine(std::string* line) {
    for (;;) {
        const size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            *line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return true;
        }
        char buffer[65536];
        const int n = recv(static_cast<SOCKET>(m_socket), buffer, sizeof(buffer), 0);
        if (n <= 0) return false;
        m_pending.append(buffer, n);
    }
}

Outcome EmulatorControl::Reset(const std::vector<std::string>& arguments) {
    if (!Connected()) return Outcome::Failed("no connection to the emulator");
    std::string line = "reset";
    for (const std::string& argument : arguments) line += "\t" + argument;
    std::string answer;
    if (!SendLine(line) || !ReadLine(&answer))
        return Outcome::Failed("the emulator did not answer");
    return answer == "ok" ? Outcome::Done() : Outcome::Failed("the emulator says: " + answer);
}

Outcome EmulatorControl::Serve(const std::string& cardPath,
                               const std::vector<std::string>& faults) {
    std::vector<std::string> arguments = {IsFolder(cardPath) ? "--card-dir" : "--card-image",
                                          ToUnixPath(cardPath)};
    arguments.insert(arguments.end(), faults.begin(), faults.end());
    return Reset(arguments);
}

std::vector<std::string> EmulatorControl::Log() {
    std::vector<std::string> lines;
    std::string line;
    if (!Connected() || !SendLine("log")) return lines;
    while (ReadLine(&line) && line != ".") lines.push_back(line);
    return lines;
}

std::vector<std::string> EmulatorControl::LoggedAfter(const std::string& marker) {
    std::vector<std::string> found;
    for (const std::string& line : Log()) {
        if (line.rfind(marker, 0) == 0) found.push_back(line.substr(marker.size()));
    }
    return found;
}

std::vector<std::string> EmulatorControl::Packets(const std::string& prefix) {
    std::vector<std::string> packets;
    for (const std::string& packet : LoggedAfter("> ")) {
        if (packet.rfind(prefix, 0) == 0) packets.push_back(packet);
    }
    return packets;
}

size_t EmulatorControl::CountPackets(const std::string& packet) {
    const std::vector<std::string> packets = Packets();
    return std::count(packets.begin(), packets.end(), packet);
}

std::vector<std::string> EmulatorControl::Replies() { return LoggedAfter("< "); }
