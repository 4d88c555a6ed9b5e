#include "FatVolume.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr size_t DIR_ENTRY_SIZE = 32;
constexpr uint8_t ENTRY_END = 0x00;
constexpr uint8_t ENTRY_DELETED = 0xE5;
constexpr uint8_t ENTRY_KANJI_E5 = 0x05;
// A FAT folder holds at most 65536 entries.
constexpr uint64_t MAX_FOLDER_ENTRIES = 65536;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

}  // namespace

CFatVolume::~CFatVolume() {
    if (m_hImage >= 0) close(m_hImage);
}

bool CFatVolume::ReadImage(uint64_t nOffset, uint8_t* pBuffer, size_t nCount) const {
    if (nOffset > m_nImageSize || nCount > m_nImageSize - nOffset) return false;
    size_t nDone = 0;
    while (nDone < nCount) {
        ssize_t nRead =
            pread(m_hImage, pBuffer + nDone, nCount - nDone, static_cast<off_t>(nOffset + nDone));
        if (nRead < 0 && errno == EINTR) continue;
        if (nRead <= 0) return false;
        nDone += static_cast<size_t>(nRead);
    }
    return true;
}

bool CFatVolume::Open(const std::string& strPath, std::string& strError) {
    m_hImage = open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_hImage < 0) {
        strError = "card image " + strPath + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (fstat(m_hImage, &info) != 0 || !S_ISREG(info.st_mode)) {
        strError = "card image " + strPath + " is not a file";
        return false;
    }
    m_nImageSize = static_cast<uint64_t>(info.st_size);
    const std::string strWhat = "card image " + strPath + ": ";

    uint8_t boot[512];
    if (!ReadImage(0, boot, sizeof boot)) {
        strError = strWhat + "shorter than a boot sector";
        return false;
    }
    const uint32_t nBytesPerSector = Le16(boot + 11);
    const uint32_t nSectorsPerCluster = boot[13];
    const uint32_t nReservedSectors = Le16(boot + 14);
    const uint32_t nFatCount = boot[16];
    const uint32_t nRootEntries = Le16(boot + 17);
    const uint32_t nTotalSectors = Le16(boot + 19) != 0 ? Le16(boot + 19) : Le32(boot + 32);
    const uint32_t nFatSectors = Le16(boot + 22) != 0 ? Le16(boot + 22) : Le32(boot + 36);

    if (nBytesPerSector < 512 || nBytesPerSector > 4096 || !IsPowerOfTwo(nBytesPerSector)) {
        strError = strWhat + "bad sector size " + std::to_string(nBytesPerSector);
        return false;
    }
    if (!IsPowerOfTwo(nSectorsPerCluster) || nSectorsPerCluster * nBytesPerSector > 65536) {
        strError = strWhat + "bad cluster size";
        return false;
    }
    if (nReservedSectors == 0 || nFatCount == 0 || nTotalSectors == 0 || nFatSectors == 0) {
        strError = strWhat + "not a FAT boot sector";
        return false;
    }
    const uint64_t nRootSectors =
        (static_cast<uint64_t>(nRootEntries) * DIR_ENTRY_SIZE + nBytesPerSector - 1) /
        nBytesPerSector;
    const uint64_t nFirstDataSector =
        nReservedSectors + static_cast<uint64_t>(nFatCount) * nFatSectors + nRootSectors;
    if (nFirstDataSector >= nTotalSectors) {
        strError = strWhat + "no room for data in the volume";
        return false;
    }
    const uint64_t nClusters = (nTotalSectors - nFirstDataSector) / nSectorsPerCluster;
    m_type = nClusters < 4085    ? FAT_TYPE::FAT12
             : nClusters < 65525 ? FAT_TYPE::FAT16
                                 : FAT_TYPE::FAT32;
    if (m_type == FAT_TYPE::FAT32 && (Le16(boot + 22) != 0 || nRootEntries != 0)) {
        strError = strWhat + "FAT32 cluster count with a FAT12/16 layout";
        return false;
    }
    if (m_type != FAT_TYPE::FAT32 && nRootEntries == 0) {
        strError = strWhat + "no root folder";
        return false;
    }

    m_nClusterBytes = nBytesPerSector * nSectorsPerCluster;
    m_nRootOffset =
        (nReservedSectors + static_cast<uint64_t>(nFatCount) * nFatSectors) * nBytesPerSector;
    m_nRootEntries = m_type == FAT_TYPE::FAT32 ? 0 : nRootEntries;
    m_nDataOffset = nFirstDataSector * nBytesPerSector;

    // Only as much of the first FAT as the clusters need; a FAT too small for the cluster
    // count limits the clusters that can be reached.
    const uint64_t nFatBytes = static_cast<uint64_t>(nFatSectors) * nBytesPerSector;
    uint64_t nEntriesInFat = m_type == FAT_TYPE::FAT12   ? nFatBytes * 2 / 3
                             : m_type == FAT_TYPE::FAT16 ? nFatBytes / 2
                                                         : nFatBytes / 4;
    if (nEntriesInFat < 3) {
        strError = strWhat + "FAT too small";
        return false;
    }
    const uint64_t nUsable = std::min<uint64_t>(nClusters, nEntriesInFat - 2);
    m_nClusterCount = static_cast<uint32_t>(std::min<uint64_t>(nUsable, 0x0FFFFFF5));
    const uint64_t nNeededFatBytes = m_type == FAT_TYPE::FAT12   ? (m_nClusterCount + 2) * 3 / 2 + 2
                                     : m_type == FAT_TYPE::FAT16 ? (m_nClusterCount + 2) * 2
                                                                 : (m_nClusterCount + 2) * 4;
    const uint64_t nFatStart = static_cast<uint64_t>(nReservedSectors) * nBytesPerSector;
    const uint64_t nFatReadBytes = std::min(nNeededFatBytes, nFatBytes);
    // Checked before allocating, so a lying boot sector cannot ask for gigabytes.
    if (nFatStart + nFatReadBytes > m_nImageSize) {
        strError = strWhat + "image ends inside the FAT";
        return false;
    }
    m_aFat.resize(static_cast<size_t>(nFatReadBytes));
    if (!ReadImage(nFatStart, m_aFat.data(), m_aFat.size())) {
        strError = strWhat + "FAT cannot be read";
        return false;
    }
    if (m_type == FAT_TYPE::FAT32) {
        m_nRootCluster = Le32(boot + 44) & 0x0FFFFFFF;
        if (m_nRootCluster < 2 || m_nRootCluster > m_nClusterCount + 1) {
            strError = strWhat + "root folder cluster out of range";
            return false;
        }
    } else if (m_nRootOffset + static_cast<uint64_t>(m_nRootEntries) * DIR_ENTRY_SIZE >
               m_nImageSize) {
        strError = strWhat + "image ends inside the root folder";
        return false;
    }
    return true;
}

uint32_t CFatVolume::FatEntry(uint32_t nCluster) const {
    uint64_t nOffset = 0;
    switch (m_type) {
        case FAT_TYPE::FAT12:
            nOffset = static_cast<uint64_t>(nCluster) + nCluster / 2;
            if (nOffset + 2 > m_aFat.size()) return 0xFF7;
            return nCluster & 1 ? Le16(&m_aFat[nOffset]) >> 4 : Le16(&m_aFat[nOffset]) & 0x0FFF;
        case FAT_TYPE::FAT16:
            nOffset = static_cast<uint64_t>(nCluster) * 2;
            if (nOffset + 2 > m_aFat.size()) return 0xFFF7;
            return Le16(&m_aFat[nOffset]);
        case FAT_TYPE::FAT32:
            nOffset = static_cast<uint64_t>(nCluster) * 4;
            if (nOffset + 4 > m_aFat.size()) return 0x0FFFFFF7;
            return Le32(&m_aFat[nOffset]) & 0x0FFFFFFF;
    }
    return 0;
}

bool CFatVolume::IsEndOfChain(uint32_t nValue) const {
    switch (m_type) {
        case FAT_TYPE::FAT12:
            return nValue >= 0xFF8;
        case FAT_TYPE::FAT16:
            return nValue >= 0xFFF8;
        case FAT_TYPE::FAT32:
            return nValue >= 0x0FFFFFF8;
    }
    return true;
}

bool CFatVolume::FollowChain(uint32_t nFirst, uint64_t nWanted, std::vector<uint32_t>& aChain,
                             std::string& strError) const {
    aChain.clear();
    std::vector<bool> aVisited(static_cast<size_t>(m_nClusterCount) + 2, false);
    uint32_t nCluster = nFirst;
    while (nWanted == 0 || aChain.size() < nWanted) {
        if (nCluster < 2 || nCluster > m_nClusterCount + 1) {
            strError = "cluster " + std::to_string(nCluster) + " out of range";
            return false;
        }
        if (aVisited[nCluster]) {
            strError = "cluster chain loops at cluster " + std::to_string(nCluster);
            return false;
        }
        aVisited[nCluster] = true;
        aChain.push_back(nCluster);
        if (nWanted != 0 && aChain.size() == nWanted) break;
        const uint32_t nNext = FatEntry(nCluster);
        if (IsEndOfChain(nNext)) {
            if (nWanted == 0) break;
            strError = "cluster chain ends early";
            return false;
        }
        nCluster = nNext;
    }
    return true;
}

bool CFatVolume::ClusterInImage(uint32_t nCluster) const {
    if (nCluster < 2 || nCluster > m_nClusterCount + 1) return false;
    const uint64_t nEnd = m_nDataOffset + static_cast<uint64_t>(nCluster - 1) * m_nClusterBytes;
    return nEnd <= m_nImageSize;
}

bool CFatVolume::ReadCluster(uint32_t nCluster, uint32_t nOffset, uint8_t* pBuffer,
                             size_t nCount) const {
    if (nCluster < 2 || nCluster > m_nClusterCount + 1) return false;
    if (nOffset > m_nClusterBytes || nCount > m_nClusterBytes - nOffset) return false;
    const uint64_t nPosition =
        m_nDataOffset + static_cast<uint64_t>(nCluster - 2) * m_nClusterBytes + nOffset;
    return ReadImage(nPosition, pBuffer, nCount);
}

bool CFatVolume::ReadFolder(uint32_t nFirstCluster, std::vector<FatDirEntry>& aEntries,
                            std::string& strError) const {
    aEntries.clear();
    std::vector<uint8_t> aRaw;
    const bool bFixedRoot = nFirstCluster == 0 && m_type != FAT_TYPE::FAT32;
    if (bFixedRoot) {
        aRaw.resize(static_cast<size_t>(m_nRootEntries) * DIR_ENTRY_SIZE);
        if (!ReadImage(m_nRootOffset, aRaw.data(), aRaw.size())) {
            strError = "root folder cannot be read";
            return false;
        }
    } else {
        const uint32_t nStart = nFirstCluster == 0 ? m_nRootCluster : nFirstCluster;
        std::vector<uint32_t> aChain;
        if (!FollowChain(nStart, 0, aChain, strError)) return false;
        const uint64_t nMaxClusters = MAX_FOLDER_ENTRIES * DIR_ENTRY_SIZE / m_nClusterBytes + 1;
        if (aChain.size() > nMaxClusters) aChain.resize(static_cast<size_t>(nMaxClusters));
        aRaw.resize(aChain.size() * static_cast<size_t>(m_nClusterBytes));
        for (size_t i = 0; i < aChain.size(); ++i) {
            if (!ReadCluster(aChain[i], 0, &aRaw[i * m_nClusterBytes], m_nClusterBytes)) {
                strError =
                    "folder cluster " + std::to_string(aChain[i]) + " lies outside the image";
                return false;
            }
        }
    }

    const size_t nSlots = std::min<size_t>(aRaw.size() / DIR_ENTRY_SIZE, MAX_FOLDER_ENTRIES);
    for (size_t i = 0; i < nSlots; ++i) {
        const uint8_t* pEntry = &aRaw[i * DIR_ENTRY_SIZE];
        if (pEntry[0] == ENTRY_END) break;
        if (pEntry[0] == ENTRY_DELETED) continue;
        const uint8_t nAttributes = pEntry[11];
        // Long-name parts (0x0F) carry the volume-label bit too.
        if (nAttributes & ATTR_VOLUME_LABEL) continue;
        FatDirEntry entry;
        std::memcpy(entry.m_name.data(), pEntry, SHORT_NAME_LENGTH);
        if (entry.m_name[0] == ENTRY_KANJI_E5) entry.m_name[0] = ENTRY_DELETED;
        entry.m_nAttributes = nAttributes;
        entry.m_nWriteTimeDate = Le32(pEntry + 22);
        entry.m_nSize = Le32(pEntry + 28);
        entry.m_nFirstCluster = Le16(pEntry + 26);
        if (m_type == FAT_TYPE::FAT32)
            entry.m_nFirstCluster |= static_cast<uint32_t>(Le16(pEntry + 20)) << 16;
        aEntries.push_back(entry);
    }
    return true;
}
