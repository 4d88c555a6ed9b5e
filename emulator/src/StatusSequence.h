#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Status bytes for successive replies of one command; 00 once the list is used up.
class CStatusSequence {
public:
    CStatusSequence() = default;
    explicit CStatusSequence(std::vector<uint8_t> aStatus) : m_aStatus(std::move(aStatus)) {}

    uint8_t Next();

private:
    std::vector<uint8_t> m_aStatus;
    size_t m_nUsed = 0;
};
