#pragma once
#include "CardSource.h"

// No card in the slot: an empty root and nothing else.
class CEmptyCard : public CCardSource {
public:
    bool ListFolder(const CardFolder& folder, std::vector<CardRecord>& aRecords) override;
    std::unique_ptr<CCardFile> OpenFile(const CardFolder& path) override;
};
