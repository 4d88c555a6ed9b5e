#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Lower-case hex without separators, as the packet log writes it.
std::string ToHex(const uint8_t* pBytes, size_t nCount);
std::string ToHex(const std::vector<uint8_t>& aBytes);

// An even number of hex digits, no separators. False on anything else.
bool ParseHexBytes(const std::string& strText, std::vector<uint8_t>& aBytes);

// One byte written as one or two hex digits, with an optional "0x".
bool ParseHexByte(const std::string& strText, uint8_t& nByte);
