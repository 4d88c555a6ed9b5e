#include "OpenCard.h"

#include "EmptyCard.h"
#include "FatImageCard.h"
#include "HostFolderCard.h"

std::unique_ptr<CCardSource> OpenCard(const std::string& strCardDir,
                                      const std::string& strCardImage, std::string& strError) {
    if (!strCardDir.empty() && !strCardImage.empty()) {
        strError = "--card-dir and --card-image exclude each other";
        return nullptr;
    }
    if (!strCardDir.empty()) {
        auto pCard = std::make_unique<CHostFolderCard>(strCardDir);
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
