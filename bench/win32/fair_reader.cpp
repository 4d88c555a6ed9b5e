// The fair limit of a whole-card copy under Wine: a Win32 program that asks the printer exactly
// what the program asks (each folder listed once to find the tree and once to copy it, two IR
// requests a listing; one FO and read requests of 5120 bytes a file) on the same port settings,
// and writes each file the same safe way (a temporary file, written, flushed, renamed), with
// nothing else in the way.
//   fair_reader DESTINATION     prints "FILES BYTES SECONDS"
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr DWORD CHUNK = 5120;
HANDLE g_port;

bool Exchange(const std::string& packet, uint8_t* answer, DWORD length) {
    DWORD moved = 0;
    if (!WriteFile(g_port, packet.data(), DWORD(packet.size()), &moved, nullptr) || moved != packet.size()) return false;
    return ReadFile(g_port, answer, length, &moved, nullptr) && moved == length;
}

struct Record {
    std::string name;
    bool folder;
    uint32_t size;
};

bool List(const std::string& folder, std::vector<Record>* records) {
    const std::string packet = std::string("\x1bIR", 3) + folder + (folder == "\\" ? "" : "\\") + "*.*" + '\0';
    uint8_t header[3];
    if (!Exchange(packet, header, 3)) return false;
    const DWORD count = header[1] * 256u + header[2];
    std::vector<uint8_t> block(3 + count * 20);
    if (!Exchange(packet, block.data(), DWORD(block.size()))) return false;
    for (DWORD k = 0; k < count; ++k) {
        const uint8_t* r = block.data() + 3 + k * 20;
        if (r[0] == '.') continue;
        std::string name(reinterpret_cast<const char*>(r), 8);
        name.erase(name.find_last_not_of(' ') + 1);
        std::string extension(reinterpret_cast<const char*>(r) + 8, 3);
        extension.erase(extension.find_last_not_of(' ') + 1);
        if (!extension.empty()) name += "." + extension;
        records->push_back({name, (r[11] & 0x10) != 0, uint32_t(r[16] | r[17] << 8 | r[18] << 16 | uint32_t(r[19]) << 24)});
    }
    return true;
}

bool CopyFile(const std::string& card, const std::string& pc, uint32_t size, std::vector<uint8_t>& data) {
    uint8_t opened[5];
    if (!Exchange(std::string("\x1b" "FO", 3) + card + '\0', opened, 5)) return false;
    // Each reply lands where its bytes belong; its status byte falls on the previous chunk's last
    // byte, which is put back.
    data.resize(size + 1);
    uint8_t saved = data[0];
    for (uint32_t position = 0; position < size;) {
        const DWORD wanted = size - position < CHUNK ? size - position : CHUNK;
        const uint8_t n[4] = {uint8_t(wanted >> 24), uint8_t(wanted >> 16), uint8_t(wanted >> 8), uint8_t(wanted)};
        if (!Exchange(std::string("\x1b" "FR", 3) + std::string(reinterpret_cast<const char*>(n), 4), &data[position], wanted + 1))
            return false;
        data[position] = saved;
        position += wanted;
        saved = data[position];
    }
    const std::string temp = pc + ".~tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, data.data() + 1, size, &written, nullptr) &&
                    written == size && FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ok && MoveFileExA(temp.c_str(), pc.c_str(), MOVEFILE_REPLACE_EXISTING);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fair_reader DESTINATION\n");
        return 2;
    }
    g_port = CreateFileA("LPT1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (g_port == INVALID_HANDLE_VALUE) return 1;
    COMMTIMEOUTS timeouts = {MAXDWORD, 0, 5000, 0, 5000};
    SetCommTimeouts(g_port, &timeouts);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);

    std::vector<std::string> folders = {"\\"};
    for (size_t i = 0; i < folders.size(); ++i) {
        std::vector<Record> records;
        if (!List(folders[i], &records)) return 1;
        for (const Record& r : records) {
            if (r.folder) folders.push_back((folders[i] == "\\" ? "" : folders[i]) + "\\" + r.name);
        }
    }
    uint64_t bytes = 0, files = 0;
    std::vector<uint8_t> data;
    for (const std::string& folder : folders) {
        const std::string pc = std::string(argv[1]) + (folder == "\\" ? "" : folder);
        CreateDirectoryA(pc.c_str(), nullptr);
        std::vector<Record> records;
        if (!List(folder, &records)) return 1;
        for (const Record& r : records) {
            if (r.folder) continue;
            const std::string card = (folder == "\\" ? "" : folder) + "\\" + r.name;
            if (!CopyFile(card, pc + "\\" + r.name, r.size, data)) return 1;
            bytes += r.size;
            ++files;
        }
    }
    QueryPerformanceCounter(&end);
    std::printf("%llu %llu %.3f\n", static_cast<unsigned long long>(files), static_cast<unsigned long long>(bytes),
                double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
