#include "Files.h"

#include <algorithm>
#include <cstdio>

TempFolder::TempFolder(const std::string& base) {
    std::string root = base;
    if (root.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        root = temp;
    }
    if (!root.empty() && root.back() == '\\') root.pop_back();
    static LONG counter = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof(name), "\\brt%lu_%ld", GetCurrentProcessId(),
                      InterlockedIncrement(&counter));
        m_path = root + name;
        if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
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
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

bool MakeFolders(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash < 3) return false;
    return MakeFolders(path.substr(0, slash)) && CreateDirectoryA(path.c_str(), nullptr);
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD moved = 0;
    const BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                               &moved, nullptr);
    CloseHandle(file);
    return ok && moved == bytes.size();
}

bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    bytes->assign(size, 0);
    DWORD moved = 0;
    const BOOL ok = size == 0 || ReadFile(file, bytes->data(), size, &moved, nullptr);
    CloseHandle(file);
    return ok && moved == size;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
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
