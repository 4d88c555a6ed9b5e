#pragma once
#include <windows.h>

#include <string>
#include <vector>

bool MakeFolders(const std::string& path);

// A fresh folder, removed with everything in it when the object goes.
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

// A card for the printer emulator to serve: a scratch folder whose files' bytes differ from file
// to file, so a file read in the wrong place cannot pass.
class CCardFolder : public TempFolder {
public:
    bool AddFile(const std::string& relative, size_t size = 64);
    bool AddFolder(const std::string& relative) { return MakeFolders(*this / relative); }
    std::vector<unsigned char> Bytes(const std::string& relative) const;
};

void RemoveTree(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
bool ReadBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool FileExists(const std::string& path);
bool IsFolder(const std::string& path);
std::vector<std::string> ListFolder(const std::string& folder);  // names, sorted, without . and ..
// Bytes that differ from file to file, so a shifted or repeated chunk cannot pass.
std::vector<unsigned char> PatternBytes(size_t size, unsigned seed);

std::string ParentFolder(const std::string& path);
std::string FileName(const std::string& path);
// The folder of the running executable.
std::string ThisProgramFolder();

// Wine maps drive paths to Unix paths and back; the emulator lives on the Unix side.
std::string ToUnixPath(const std::string& windowsPath);
std::string FromUnixPath(const std::string& unixPath);
std::string EnvironmentValue(const char* name);
