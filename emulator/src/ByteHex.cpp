#include "ByteHex.h"

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string ToHex(const uint8_t* pBytes, size_t nCount) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string strText;
    strText.resize(nCount * 2);
    for (size_t i = 0; i < nCount; ++i) {
        strText[2 * i] = DIGITS[pBytes[i] >> 4];
        strText[2 * i + 1] = DIGITS[pBytes[i] & 0x0F];
    }
    return strText;
}

std::string ToHex(const std::vector<uint8_t>& aBytes) {
    return ToHex(aBytes.data(), aBytes.size());
}

bool ParseHexBytes(const std::string& strText, std::vector<uint8_t>& aBytes) {
    if (strText.size() % 2 != 0) return false;
    std::vector<uint8_t> aResult;
    aResult.reserve(strText.size() / 2);
    for (size_t i = 0; i < strText.size(); i += 2) {
        int nHigh = HexDigitValue(strText[i]);
        int nLow = HexDigitValue(strText[i + 1]);
        if (nHigh < 0 || nLow < 0) return false;
        aResult.push_back(static_cast<uint8_t>(nHigh * 16 + nLow));
    }
    aBytes.swap(aResult);
    return true;
}

bool ParseHexByte(const std::string& strText, uint8_t& nByte) {
    std::string strDigits = strText;
    if (strDigits.size() > 2 && strDigits[0] == '0' &&
        (strDigits[1] == 'x' || strDigits[1] == 'X')) {
        strDigits = strDigits.substr(2);
    }
    if (strDigits.empty() || strDigits.size() > 2) return false;
    int nValue = 0;
    for (char c : strDigits) {
        int nDigit = HexDigitValue(c);
        if (nDigit < 0) return false;
        nValue = nValue * 16 + nDigit;
    }
    nByte = static_cast<uint8_t>(nValue);
    return true;
}
