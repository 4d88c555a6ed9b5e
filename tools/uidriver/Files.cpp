#include "Files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& base) {
    static LONG counter = 0;
    const fs::path root = base.empty() ? fs::temp_directory_path() : fs::path(base);
    std::error_code error;
    do {
        const std::string name = "brt" + std::to_string(GetCurrentProcessId()) + "_" +
                                 std::to_string(InterlockedIncrement(&counter));
        m_path = (root / name).string();
    } while (!fs::create_directory(m_path, error) && !error);
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

bool CCardFolder::AddFile(const std::string& relative, size_t size) {
    // A seed from the whole path, so that no two card files share their bytes.
    unsigned seed = 2166136261u;
    for (unsigned char c : relative) seed = (seed ^ c) * 16777619u;
    const std::string path = *this / relative;
    return MakeFolders(ParentFolder(path)) && WriteBytes(path, PatternBytes(size, seed));
}

std::vector<unsigned char> CCardFolder::Bytes(const std::string& relative) const {
    std::vector<unsigned char> bytes;
    ReadBytes(*this / relative, &bytes);
    return bytes;
}

void RemoveTree(const std::string& path) {
    // The long-path form also reaches card folders deeper than a plain path can name.
    const fs::path tree = L"\\\\?\\" + fs::absolute(path).wstring();
    std::error_code error, ignored;
    // A read-only file the program wrote would otherwise stay.
    for (fs::recursive_directory_iterator it(tree, error), end; !error && it != end; it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(tree, ignored);
}

bool MakeFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return !error;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bool(file.flush());
}

bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes) {
    std::ifstream file(path, std::ios::binary);
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return bool(file);
}

bool FileExists(const std::string& path) { return fs::exists(path); }

bool IsFolder(const std::string& path) { return fs::is_directory(path); }

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    // A file the program removes meanwhile ends the listing, never the test.
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<unsigned char> PatternBytes(size_t size, unsigned seed) {
    std::vector<unsigned char> bytes(size);
    unsigned state = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes[i] = static_cast<unsigned char>(state >> 16);
    }
    return bytes;
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string FileName(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ThisProgramFolder() {
    char path[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return ParentFolder(path);
}

std::string ToUnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    static const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return "";
    WCHAR wide[MAX_PATH * 4];
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 4);
    char* unixName = toUnix(wide);
    if (!unixName) return "";
    std::string result = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    return result;
}

std::string FromUnixPath(const std::string& unixPath) {
    std::string result = "Z:" + unixPath;
    std::replace(result.begin(), result.end(), '/', '\\');
    return result;
}

std::string EnvironmentValue(const char* name) {
    char value[4096];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof(value));
    return n > 0 && n < sizeof(value) ? std::string(value, n) : std::string();
}
