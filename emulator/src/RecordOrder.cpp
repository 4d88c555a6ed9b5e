#include "RecordOrder.h"

#include <algorithm>
#include <numeric>

namespace {

// splitmix64: a small, well-mixed generator whose sequence depends only on its start.
uint64_t NextRandom(uint64_t& nState) {
    uint64_t z = (nState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

uint64_t Fnv1a(const std::string& strText) {
    uint64_t nHash = 0xCBF29CE484222325ULL;
    for (unsigned char c : strText) nHash = (nHash ^ c) * 0x100000001B3ULL;
    return nHash;
}

}  // namespace

void ApplyRecordOrder(const RecordOrder& order, const std::string& strFolderKey,
                      std::vector<CardRecord>& aRecords) {
    switch (order.m_kind) {
        case RECORD_ORDER::SORTED:
            return;
        case RECORD_ORDER::REVERSED:
            std::reverse(aRecords.begin(), aRecords.end());
            return;
        case RECORD_ORDER::SHUFFLED:
            break;
    }
    const size_t nCount = aRecords.size();
    std::vector<size_t> aIndex(nCount);
    std::iota(aIndex.begin(), aIndex.end(), 0);
    uint64_t nState = order.m_nSeed ^ Fnv1a(strFolderKey);
    for (size_t i = nCount; i > 1; --i) {
        std::swap(aIndex[i - 1], aIndex[NextRandom(nState) % i]);
    }
    // The sorted order is the one a shuffle must not come out as.
    if (nCount > 1 && std::is_sorted(aIndex.begin(), aIndex.end())) {
        std::rotate(aIndex.begin(), aIndex.begin() + 1, aIndex.end());
    }
    std::vector<CardRecord> aShuffled;
    aShuffled.reserve(nCount);
    for (size_t nIndex : aIndex) aShuffled.push_back(aRecords[nIndex]);
    aRecords = std::move(aShuffled);
}
