#include "OpenCard.h"

#include "EmptyCard.h"
#include "FatImageCard.h"
#include "HostFolderCard.h"

std::unique_ptr<CCardSource> OpenCard(const std::string& strCardDir,
                                      const std::string& strCardImage, RecordOrder order,
                                      std::string& strError) {
    if (!strCardDir.empty()) {
        auto pCard = std::make_unique<CHostFolderCard>(strCardDir, order);
        if (!pCard->Check(strError)) return nullptr;
        return pCard;
    }
    if (!strCardImage.empty()) {
        auto pCard = std::make_unique<CFatImageCard>();
        if (!pCard->Open(strCardImage, strError)) return nullptr;
        return pCard;
    }
    return std::make_unique<CEmptyCard>();
}
