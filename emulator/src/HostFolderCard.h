#pragma once
#include <string>
#include <vector>

#include "CardSource.h"
#include "RecordOrder.h"

// A card served from a folder of the host. Names are shown in 8.3 form (ShortNameMapper),
// folders with attribute 0x10, files with 0x20, each with the DOS date/time of its mtime.
// Sub-folders list "." and ".." first, as FAT does; the rest follow the chosen order of
// their 8.3 names (sorted, reversed or shuffled).
// Paths are resolved through those names only, so no path from the PC leaves the folder.
class CHostFolderCard : public CCardSource {
public:
    CHostFolderCard(std::string strRoot, RecordOrder order);

    bool Check(std::string& strError) const;

    bool ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) override;
    std::unique_ptr<CCardFile> OpenFile(const CardFolder& path) override;

private:
    struct HostEntry {
        std::string m_strHostName;
        CardRecord m_record;
    };

    // The host paths from the root down to the folder; false when it does not exist.
    bool ResolveFolder(const CardFolder& folder, std::vector<std::string>& aLevels) const;
    bool ReadHostFolder(const std::string& strHostPath, std::vector<HostEntry>& aEntries) const;

    std::string m_strRoot;
    RecordOrder m_order;
};
