#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Waits for a condition, looking every few milliseconds, until the deadline.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A fresh folder removed with everything in it when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& base = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void RemoveTree(const std::string& path);
bool MakeFolders(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool FileExists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& folder);  // names, sorted, without . and ..
// Bytes that differ from file to file, so a shifted or repeated chunk cannot pass.
std::vector<unsigned char> PatternBytes(size_t size, unsigned seed);

// Wine maps drive paths to Unix paths and back; the emulator lives on the Unix side.
std::string ToUnixPath(const std::string& windowsPath);
std::string FromUnixPath(const std::string& unixPath);
std::string EnvironmentValue(const char* name);
