#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CardRecord.h"

enum class FAT_TYPE { FAT12, FAT16, FAT32 };

// One directory entry as it stands in the image.
struct FatDirEntry {
    ShortName m_name{};  // a leading 0x05 already turned back into 0xE5
    uint8_t m_nAttributes = 0;
    uint32_t m_nWriteTimeDate = 0;  // entry bytes 22..25
    uint32_t m_nSize = 0;
    uint32_t m_nFirstCluster = 0;
};

// Read-only access to a FAT12/16/32 file system in an image file. Every read is checked
// against the image and the volume's own bounds, so a damaged image gives errors, not crashes.
class CFatVolume {
public:
    CFatVolume() = default;
    ~CFatVolume();
    CFatVolume(const CFatVolume&) = delete;
    CFatVolume& operator=(const CFatVolume&) = delete;

    bool Open(const std::string& strPath, std::string& strError);

    FAT_TYPE Type() const { return m_type; }
    uint32_t ClusterBytes() const { return m_nClusterBytes; }
    uint32_t ClusterCount() const { return m_nClusterCount; }

    // The entries of a folder in directory order; cluster 0 is the root. Deleted entries,
    // long-name parts and volume labels are left out.
    bool ReadFolder(uint32_t nFirstCluster, std::vector<FatDirEntry>& aEntries,
                    std::string& strError) const;

    // The clusters of the chain from nFirst: nWanted of them, or up to the end mark when
    // nWanted is 0. Fails on loops, free or bad clusters, out-of-range numbers and on a chain
    // that ends before nWanted.
    bool FollowChain(uint32_t nFirst, uint64_t nWanted, std::vector<uint32_t>& aChain,
                     std::string& strError) const;

    // Whether the cluster's bytes lie inside the image file (a cut image may lack some).
    bool ClusterInImage(uint32_t nCluster) const;
    bool ReadCluster(uint32_t nCluster, uint32_t nOffset, uint8_t* pBuffer, size_t nCount) const;

private:
    bool ReadImage(uint64_t nOffset, uint8_t* pBuffer, size_t nCount) const;
    uint32_t FatEntry(uint32_t nCluster) const;
    bool IsEndOfChain(uint32_t nValue) const;

    int m_hImage = -1;
    uint64_t m_nImageSize = 0;
    FAT_TYPE m_type = FAT_TYPE::FAT12;
    uint32_t m_nClusterBytes = 0;
    uint32_t m_nClusterCount = 0;
    uint64_t m_nRootOffset = 0;   // FAT12/16: the fixed root area
    uint32_t m_nRootEntries = 0;  // FAT12/16
    uint32_t m_nRootCluster = 0;  // FAT32
    uint64_t m_nDataOffset = 0;
    std::vector<uint8_t> m_aFat;
};
