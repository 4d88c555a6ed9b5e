#pragma once
#include <string>

// A spare drive letter of the Wine prefix mapped to a folder, as a user maps one with winecfg
// (through the mount manager), and unmapped when the object goes.
class CMappedDrive {
public:
    explicit CMappedDrive(const std::string& folder);
    ~CMappedDrive();
    CMappedDrive(const CMappedDrive&) = delete;
    CMappedDrive& operator=(const CMappedDrive&) = delete;

    bool IsMapped() const { return m_letter != 0; }
    std::string Root() const { return std::string(1, m_letter) + ":\\"; }  // "M:\"

private:
    char m_letter = 0;
};
