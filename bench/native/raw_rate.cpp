// Reads every file of a card through the printer port the way the program does (one open
// request, then read requests of one chunk, the last one for the rest), with nothing else in the
// way, and reports the payload rate. The files are named by walking the host folder the
// emulator serves, whose names are already 8.3.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PcPort.h"

namespace fs = std::filesystem;

namespace {

bool FetchFile(CPcPort& port, const std::string& strCardPath, uint32_t nChunk, uint64_t& nBytes) {
    const std::vector<uint8_t> aOpen = port.Exchange(PacketFo(strCardPath), 5);
    if (aOpen.size() != 5 || aOpen[0] != 0) return false;
    const uint32_t nSize =
        uint32_t(aOpen[1]) << 24 | uint32_t(aOpen[2]) << 16 | uint32_t(aOpen[3]) << 8 | aOpen[4];
    uint32_t nPosition = 0;
    do {
        const uint32_t nWanted = std::min(nSize - nPosition, nChunk);
        if (port.Exchange(PacketFr(nWanted), nWanted + 1).size() != nWanted + 1) return false;
        nPosition += nWanted;
    } while (nPosition < nSize);
    nBytes += nSize;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: raw-rate PORT CARD-FOLDER [CHUNK]\n");
        return 2;
    }
    const uint32_t nChunk = argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3])) : 5120;
    CPcPort port;
    if (!port.Open(argv[1])) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<std::string> aFiles;
    for (const auto& entry : fs::recursive_directory_iterator(argv[2])) {
        if (!entry.is_regular_file()) continue;
        std::string strPath = "\\" + fs::relative(entry.path(), argv[2]).string();
        for (char& c : strPath) c = c == '/' ? '\\' : c;
        aFiles.push_back(strPath);
    }
    uint64_t nBytes = 0;
    const auto tStart = std::chrono::steady_clock::now();
    for (const std::string& strFile : aFiles) {
        if (!FetchFile(port, strFile, nChunk, nBytes)) {
            std::fprintf(stderr, "raw-rate: %s failed%s\n", strFile.c_str(),
                         port.HungUp() ? ": the printer closed the port" : "");
            return 1;
        }
    }
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    std::printf("%zu files %llu bytes %.3f s\n", aFiles.size(),
                static_cast<unsigned long long>(nBytes), dSeconds);
    return 0;
}
