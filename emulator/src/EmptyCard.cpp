#include "EmptyCard.h"

bool CEmptyCard::ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) {
    aRecords.clear();
    return folder.empty();
}

std::unique_ptr<CCardFile> CEmptyCard::OpenFile(const CardFolder&) { return nullptr; }
