#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CardSource.h"
#include "FatVolume.h"

// A card served from a FAT12/16/32 image file: real directory entries in directory order,
// with "." and ".." of sub-folders, and file data through the cluster chains.
class CFatImageCard : public CCardSource {
public:
    bool Open(const std::string& strPath, std::string& strError);

    bool ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) override;
    std::unique_ptr<CCardFile> OpenFile(const CardFolder& path) override;

private:
    // The first cluster of the folder, 0 for the root; false when the path leads nowhere.
    bool ResolveFolder(const CardFolder& folder, uint32_t& nCluster) const;

    std::shared_ptr<CFatVolume> m_pVolume;
};
