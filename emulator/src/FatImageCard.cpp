#include "FatImageCard.h"

#include <algorithm>

namespace {

class CFatImageFile : public CCardFile {
public:
    CFatImageFile(std::shared_ptr<CFatVolume> pVolume, std::vector<uint32_t> aChain, uint32_t nSize)
        : m_pVolume(std::move(pVolume)), m_aChain(std::move(aChain)), m_nSize(nSize) {}

    uint32_t Size() const override { return m_nSize; }

    size_t Read(uint32_t nOffset, uint8_t* pBuffer, size_t nCount) override {
        if (nOffset >= m_nSize) return 0;
        nCount = std::min<size_t>(nCount, m_nSize - nOffset);
        const uint32_t nClusterBytes = m_pVolume->ClusterBytes();
        size_t nDone = 0;
        while (nDone < nCount) {
            const uint64_t nPosition = static_cast<uint64_t>(nOffset) + nDone;
            const size_t nIndex = static_cast<size_t>(nPosition / nClusterBytes);
            const uint32_t nInCluster = static_cast<uint32_t>(nPosition % nClusterBytes);
            if (nIndex >= m_aChain.size()) break;
            const size_t nPiece = std::min<size_t>(nCount - nDone, nClusterBytes - nInCluster);
            if (!m_pVolume->ReadCluster(m_aChain[nIndex], nInCluster, pBuffer + nDone, nPiece))
                break;
            nDone += nPiece;
        }
        return nDone;
    }

private:
    std::shared_ptr<CFatVolume> m_pVolume;
    std::vector<uint32_t> m_aChain;
    uint32_t m_nSize;
};

const FatDirEntry* FindEntry(const std::vector<FatDirEntry>& aEntries, const std::string& strName,
                             bool bFolder) {
    for (const FatDirEntry& entry : aEntries) {
        const bool bIsFolder = (entry.m_nAttributes & ATTR_DIRECTORY) != 0;
        if (bIsFolder == bFolder && ShortNameMatches(strName, entry.m_name)) return &entry;
    }
    return nullptr;
}

}  // namespace

bool CFatImageCard::Open(const std::string& strPath, std::string& strError) {
    auto pVolume = std::make_shared<CFatVolume>();
    if (!pVolume->Open(strPath, strError)) return false;
    m_pVolume = std::move(pVolume);
    return true;
}

bool CFatImageCard::ResolveFolder(const CardFolder& folder, uint32_t& nCluster) const {
    nCluster = 0;
    std::vector<FatDirEntry> aEntries;
    std::string strError;
    for (const std::string& strComponent : folder) {
        if (!m_pVolume->ReadFolder(nCluster, aEntries, strError)) return false;
        const FatDirEntry* pEntry = FindEntry(aEntries, strComponent, true);
        if (pEntry == nullptr) return false;
        // ".." of a first-level folder holds cluster 0, which means the root.
        nCluster = pEntry->m_nFirstCluster;
    }
    return true;
}

bool CFatImageCard::ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) {
    aRecords.clear();
    if (!m_pVolume) return false;
    uint32_t nCluster = 0;
    if (!ResolveFolder(folder, nCluster)) return false;
    std::vector<FatDirEntry> aEntries;
    std::string strError;
    if (!m_pVolume->ReadFolder(nCluster, aEntries, strError)) return false;
    for (const FatDirEntry& entry : aEntries) {
        CardRecord record;
        record.m_name = entry.m_name;
        record.m_nAttributes = entry.m_nAttributes;
        record.m_nOpaque = entry.m_nWriteTimeDate;
        record.m_nSize = entry.m_nSize;
        aRecords.push_back(record);
    }
    return true;
}

std::unique_ptr<CCardFile> CFatImageCard::OpenFile(const CardFolder& path) {
    if (!m_pVolume || path.empty()) return nullptr;
    uint32_t nCluster = 0;
    if (!ResolveFolder(CardFolder(path.begin(), path.end() - 1), nCluster)) return nullptr;
    std::vector<FatDirEntry> aEntries;
    std::string strError;
    if (!m_pVolume->ReadFolder(nCluster, aEntries, strError)) return nullptr;
    const FatDirEntry* pEntry = FindEntry(aEntries, path.back(), false);
    if (pEntry == nullptr) return nullptr;
    // The whole chain is checked up front: a damaged file is refused rather than served short.
    const uint64_t nClusters =
        (static_cast<uint64_t>(pEntry->m_nSize) + m_pVolume->ClusterBytes() - 1) /
        m_pVolume->ClusterBytes();
    std::vector<uint32_t> aChain;
    if (nClusters > 0 &&
        !m_pVolume->FollowChain(pEntry->m_nFirstCluster, nClusters, aChain, strError)) {
        return nullptr;
    }
    for (uint32_t nCluster : aChain) {
        if (!m_pVolume->ClusterInImage(nCluster)) return nullptr;
    }
    return std::make_unique<CFatImageFile>(m_pVolume, std::move(aChain), pEntry->m_nSize);
}
