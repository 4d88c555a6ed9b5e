#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CardRecord.h"

// The order a host-folder card keeps a folder's entries in. A real card keeps them in the
// order they were written, which a sorted listing would hide from the PC.
enum class RECORD_ORDER { SORTED, REVERSED, SHUFFLED };

struct RecordOrder {
    RECORD_ORDER m_kind = RECORD_ORDER::SORTED;
    uint64_t m_nSeed = 0;  // shuffled: the same seed and folder give the same order in every run
};

// Reorders records that come sorted. A shuffle is a permutation of its own for every folder
// (chosen by seed and folder key), and never the sorted order itself when there are two or more.
void ApplyRecordOrder(const RecordOrder& order, const std::string& strFolderKey,
                      std::vector<CardRecord>& aRecords);
