#include "HostFolderCard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "DosDateTime.h"
#include "ShortNameMapper.h"

namespace {

class CHostCardFile : public CCardFile {
public:
    CHostCardFile(int hFile, uint32_t nSize) : m_hFile(hFile), m_nSize(nSize) {}
    ~CHostCardFile() override { close(m_hFile); }
    CHostCardFile(const CHostCardFile&) = delete;
    CHostCardFile& operator=(const CHostCardFile&) = delete;

    uint32_t Size() const override { return m_nSize; }

    size_t Read(uint32_t nOffset, uint8_t* pBuffer, size_t nCount) override {
        if (nOffset >= m_nSize) return 0;
        nCount = std::min<size_t>(nCount, m_nSize - nOffset);
        size_t nDone = 0;
        while (nDone < nCount) {
            ssize_t nRead = pread(m_hFile, pBuffer + nDone, nCount - nDone,
                                  static_cast<off_t>(nOffset) + static_cast<off_t>(nDone));
            if (nRead < 0 && errno == EINTR) continue;
            if (nRead <= 0) break;
            nDone += static_cast<size_t>(nRead);
        }
        return nDone;
    }

private:
    int m_hFile;
    uint32_t m_nSize;
};

uint32_t ClampedSize(off_t nSize) {
    return nSize > static_cast<off_t>(UINT32_MAX) ? UINT32_MAX : static_cast<uint32_t>(nSize);
}

uint32_t ModificationWord(const std::string& strPath) {
    struct stat info {};
    if (stat(strPath.c_str(), &info) != 0) return DosDateTimeFromUnix(0);
    return DosDateTimeFromUnix(info.st_mtime);
}

CardRecord DotRecord(const char* pszName, uint32_t nOpaque) {
    CardRecord record;
    record.m_name = MakeShortName(pszName, "");
    record.m_nAttributes = ATTR_DIRECTORY;
    record.m_nOpaque = nOpaque;
    return record;
}

}  // namespace

CHostFolderCard::CHostFolderCard(std::string strRoot, RecordOrder order)
    : m_strRoot(std::move(strRoot)), m_order(order) {}

bool CHostFolderCard::Check(std::string& strError) const {
    struct stat info {};
    if (stat(m_strRoot.c_str(), &info) != 0) {
        strError = "card folder " + m_strRoot + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        strError = "card folder " + m_strRoot + " is not a folder";
        return false;
    }
    return true;
}

bool CHostFolderCard::ReadHostFolder(const std::string& strHostPath,
                                     std::vector<HostEntry>& aEntries) const {
    aEntries.clear();
    DIR* pDir = opendir(strHostPath.c_str());
    if (pDir == nullptr) return false;
    std::vector<std::string> aNames;
    while (struct dirent* pEntry = readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName == "." || strName == "..") continue;
        aNames.push_back(strName);
    }
    closedir(pDir);
    std::sort(aNames.begin(), aNames.end());

    std::vector<std::string> aKept;
    std::vector<CardRecord> aRecords;
    for (const std::string& strName : aNames) {
        struct stat info {};
        if (stat((strHostPath + "/" + strName).c_str(), &info) != 0) continue;
        CardRecord record;
        if (S_ISDIR(info.st_mode)) {
            record.m_nAttributes = ATTR_DIRECTORY;
        } else if (S_ISREG(info.st_mode)) {
            record.m_nAttributes = ATTR_ARCHIVE;
            record.m_nSize = ClampedSize(info.st_size);
        } else {
            continue;  // devices, sockets and the like have no place on a card
        }
        record.m_nOpaque = DosDateTimeFromUnix(info.st_mtime);
        aKept.push_back(strName);
        aRecords.push_back(record);
    }

    const std::vector<ShortName> aShortNames = MapShortNames(aKept);
    for (size_t i = 0; i < aKept.size(); ++i) {
        aRecords[i].m_name = aShortNames[i];
        aEntries.push_back(HostEntry{aKept[i], aRecords[i]});
    }
    std::sort(aEntries.begin(), aEntries.end(), [](const HostEntry& a, const HostEntry& b) {
        return a.m_record.m_name < b.m_record.m_name;
    });
    return true;
}

bool CHostFolderCard::ResolveFolder(const CardFolder& folder,
                                    std::vector<std::string>& aLevels) const {
    aLevels.assign(1, m_strRoot);
    std::vector<HostEntry> aEntries;
    for (const std::string& strComponent : folder) {
        // The root has no "." or ".." entries on a FAT card, so they do not resolve there.
        if (strComponent == ".") {
            if (aLevels.size() == 1) return false;
            continue;
        }
        if (strComponent == "..") {
            if (aLevels.size() == 1) return false;
            aLevels.pop_back();
            continue;
        }
        if (!ReadHostFolder(aLevels.back(), aEntries)) return false;
        auto it = std::find_if(aEntries.begin(), aEntries.end(), [&](const HostEntry& entry) {
            return (entry.m_record.m_nAttributes & ATTR_DIRECTORY) &&
                   ShortNameMatches(strComponent, entry.m_record.m_name);
        });
        if (it == aEntries.end()) return false;
        aLevels.push_back(aLevels.back() + "/" + it->m_strHostName);
    }
    return true;
}

bool CHostFolderCard::ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) {
    aRecords.clear();
    std::vector<std::string> aLevels;
    if (!ResolveFolder(folder, aLevels)) return false;
    std::vector<HostEntry> aEntries;
    if (!ReadHostFolder(aLevels.back(), aEntries)) return false;
    if (aLevels.size() > 1) {
        aRecords.push_back(DotRecord(".", ModificationWord(aLevels.back())));
        aRecords.push_back(DotRecord("..", ModificationWord(aLevels[aLevels.size() - 2])));
    }
    std::vector<CardRecord> aOrdered;
    for (const HostEntry& entry : aEntries) aOrdered.push_back(entry.m_record);
    // Keyed by the resolved host path, so every spelling of a folder gives it the same order.
    ApplyRecordOrder(m_order, aLevels.back().substr(m_strRoot.size()), aOrdered);
    aRecords.insert(aRecords.end(), aOrdered.begin(), aOrdered.end());
    return true;
}

std::unique_ptr<CCardFile> CHostFolderCard::OpenFile(const CardFolder& path) {
    if (path.empty()) return nullptr;
    const CardFolder parent(path.begin(), path.end() - 1);
    std::vector<std::string> aLevels;
    if (!ResolveFolder(parent, aLevels)) return nullptr;
    std::vector<HostEntry> aEntries;
    if (!ReadHostFolder(aLevels.back(), aEntries)) return nullptr;
    auto it = std::find_if(aEntries.begin(), aEntries.end(), [&](const HostEntry& entry) {
        return !(entry.m_record.m_nAttributes & ATTR_DIRECTORY) &&
               ShortNameMatches(path.back(), entry.m_record.m_name);
    });
    if (it == aEntries.end()) return nullptr;
    const int hFile =
        open((aLevels.back() + "/" + it->m_strHostName).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (hFile < 0) return nullptr;
    struct stat info {};
    if (fstat(hFile, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(hFile);
        return nullptr;
    }
    return std::make_unique<CHostCardFile>(hFile, ClampedSize(info.st_size));
}
