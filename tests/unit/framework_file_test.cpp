// CFile on real files: a round trip, open flags and their failures, status, removal, renaming,
// and a disk that fills up during a write.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/File.h"

namespace {

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        m_path = std::string(base) + "fwfile-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(::GetTickCount());
        ::CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(m_path); }

    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    static void RemoveTree(const std::string& path) {
        WIN32_FIND_DATAA found;
        HANDLE hFind = ::FindFirstFileA((path + "\\*").c_str(), &found);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                    RemoveTree(path + "\\" + name);
                else
                    ::DeleteFileA((path + "\\" + name).c_str());
            } while (::FindNextFileA(hFind, &found));
            ::FindClose(hFind);
        }
        ::RemoveDirectoryA(path.c_str());
    }

    std::string m_path;
};

std::vector<BYTE> Pattern(size_t size) {
    std::vector<BYTE> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(i * 7 + i / 251);
    return bytes;
}

std::vector<BYTE> ReadWhole(const std::string& path) {
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyNone);
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    EXPECT_EQ(file.Read(bytes.data(), static_cast<UINT>(bytes.size())), bytes.size());
    return bytes;
}

void WriteWhole(const std::string& path, const std::vector<BYTE>& bytes) {
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Flush();
    file.Close();
}

TEST(FrameworkFile, WritesAndReadsBackEveryByte) {
    ScratchFolder folder;
    const std::string path = folder / "round.bin";
    const std::vector<BYTE> written = Pattern(150000);

    WriteWhole(path, written);

    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(file.GetLength(), written.size());
    std::vector<BYTE> read(written.size() + 10);
    EXPECT_EQ(file.Read(read.data(), static_cast<UINT>(read.size())), written.size());
    read.resize(written.size());
    EXPECT_EQ(read, written);
    EXPECT_EQ(file.Read(read.data(), 10), 0u) << "at the end of the file";
    file.Seek(100, CFile::begin);
    BYTE byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, written[100]);
}

TEST(FrameworkFile, CreateTruncatesUnlessToldNotTo) {
    ScratchFolder folder;
    const std::string path = folder / "keep.bin";
    WriteWhole(path, Pattern(1000));

    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(file.GetLength(), 1000u);
        file.Seek(0, CFile::end);
        const BYTE tail[3] = {1, 2, 3};
        file.Write(tail, 3);
    }
    EXPECT_EQ(ReadWhole(path).size(), 1003u);

    { CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite); }
    EXPECT_TRUE(ReadWhole(path).empty());
}

TEST(FrameworkFile, OpenFailuresCarryTheirCause) {
    ScratchFolder folder;
    CFile file;
    CFileException error;

    EXPECT_FALSE(file.Open((folder / "absent.bin").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(error.m_strFileName, folder / "absent.bin");

    EXPECT_FALSE(file.Open((folder / "no\\such\\dir.bin").c_str(),
                           CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);

    const std::string locked = folder / "locked.bin";
    CFile holder(locked.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    EXPECT_FALSE(file.Open(locked.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);

    try {
        CFile thrown((folder / "absent.bin").c_str(), CFile::modeRead);
        ADD_FAILURE() << "opening a missing file did not throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
}

TEST(FrameworkFile, StatusTellsWhetherAFileExists) {
    ScratchFolder folder;
    const std::string path = folder / "status.bin";
    CFileStatus status;

    EXPECT_FALSE(CFile::GetStatus(path.c_str(), status));
    EXPECT_FALSE(CFile::GetStatus((folder / "*.*").c_str(), status)) << "no pattern matching";

    WriteWhole(path, Pattern(1234));
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 1234u);
    EXPECT_EQ(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY, 0);
    EXPECT_STRCASEEQ(status.m_szFullName, path.c_str());

    ASSERT_TRUE(CFile::GetStatus((folder / "").c_str(), status));
    EXPECT_NE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY, 0);
}

TEST(FrameworkFile, RemoveAndRenameReportFailureWithoutThrowing) {
    ScratchFolder folder;
    const std::string first = folder / "first.bin";
    const std::string second = folder / "second.bin";
    const std::vector<BYTE> content = Pattern(300);
    CFileStatus status;
    WriteWhole(first, content);

    EXPECT_TRUE(CFile::Rename(first.c_str(), second.c_str()));
    EXPECT_FALSE(CFile::GetStatus(first.c_str(), status));
    EXPECT_EQ(ReadWhole(second), content);

    WriteWhole(first, Pattern(10));
    EXPECT_FALSE(CFile::Rename(first.c_str(), second.c_str())) << "the new name is taken";
    EXPECT_EQ(ReadWhole(second), content);

    EXPECT_TRUE(CFile::Remove(second.c_str()));
    EXPECT_FALSE(CFile::GetStatus(second.c_str(), status));
    EXPECT_FALSE(CFile::Remove(second.c_str()));
    EXPECT_FALSE(CFile::Rename(second.c_str(), first.c_str()));
}

// SMALL_DISK names a 64 KiB tmpfs (a Linux path) that the test environment mounts.
std::string SmallDiskFolder() {
    const char* small = std::getenv("SMALL_DISK");
    if (small == nullptr || *small == '\0') return "";
    std::string path = std::string("Z:") + small;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

TEST(FrameworkFile, WriteThatFillsTheDiskThrowsDiskFull) {
    const std::string folder = SmallDiskFolder();
    if (folder.empty()) GTEST_SKIP() << "SMALL_DISK is not set: no small disk to fill";
    const std::string path =
        folder + "\\fwfull-" + std::to_string(::GetCurrentProcessId()) + ".bin";
    const std::vector<BYTE> bytes = Pattern(200 * 1024);

    CFile file;
    CFileException error;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite, &error))
        << "cannot create a file on the small disk, cause " << error.m_cause;
    bool bThrown = false;
    try {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    } catch (const CFileException& e) {
        bThrown = true;
        EXPECT_EQ(e.m_cause, CFileException::diskFull) << "OS error " << e.m_lOsError;
        // What a writer does next: flush and close what it has.
        EXPECT_NO_THROW(file.Flush());
        EXPECT_NO_THROW(file.Close());
    }
    file.Abort();
    EXPECT_TRUE(bThrown) << "200 KiB fitted on a 64 KiB disk";
    EXPECT_TRUE(CFile::Remove(path.c_str()));
}

}  // namespace
