// Reads every file of a card through the printer port the way the program does (one open
// request, then read requests of one chunk, the last one for the rest), with nothing else in the
// way, and reports the payload rate. The files are named by walking the host folder the
// emulator serves, whose names are already 8.3.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = read(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool FetchFile(int fd, const std::string& cardPath, uint32_t chunk, std::vector<uint8_t>& buffer,
               uint64_t* bytes) {
    std::vector<uint8_t> open = {0x1b, 'F', 'O'};
    open.insert(open.end(), cardPath.begin(), cardPath.end());
    open.push_back(0);
    uint8_t reply[5];
    if (!WriteAll(fd, open.data(), open.size()) || !ReadAll(fd, reply, 5) || reply[0] != 0) return false;
    const uint32_t size = (uint32_t(reply[1]) << 24) | (uint32_t(reply[2]) << 16) | (uint32_t(reply[3]) << 8) | reply[4];
    buffer.resize(size_t(size) + chunk + 1);
    uint32_t position = 0;
    do {
        const uint32_t wanted = size - position < chunk ? size - position : chunk;
        const uint8_t request[7] = {0x1b, 'F', 'R', uint8_t(wanted >> 24), uint8_t(wanted >> 16),
                                    uint8_t(wanted >> 8), uint8_t(wanted)};
        if (!WriteAll(fd, request, 7) || !ReadAll(fd, buffer.data() + position, wanted + 1)) return false;
        position += wanted;
    } while (position < size);
    *bytes += size;
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: raw-rate PORT CARD-FOLDER [CHUNK]\n");
        return 2;
    }
    const uint32_t chunk = argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3])) : 5120;
    const int fd = open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0) {
        std::perror(argv[1]);
        return 1;
    }
    termios mode;
    tcgetattr(fd, &mode);
    cfmakeraw(&mode);
    tcsetattr(fd, TCSANOW, &mode);

    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(argv[2])) {
        if (!entry.is_regular_file()) continue;
        std::string path = "\\" + fs::relative(entry.path(), argv[2]).string();
        for (char& c : path) c = c == '/' ? '\\' : c;
        files.push_back(path);
    }
    std::vector<uint8_t> buffer;
    uint64_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& file : files) {
        if (!FetchFile(fd, file, chunk, buffer, &bytes)) {
            std::fprintf(stderr, "raw-rate: %s failed\n", file.c_str());
            return 1;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu files %llu bytes %.3f s\n", files.size(), static_cast<unsigned long long>(bytes), seconds);
    return 0;
}
