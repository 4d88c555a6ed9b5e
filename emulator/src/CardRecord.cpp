#include "CardRecord.h"

#include "CardPath.h"

ShortName MakeShortName(const std::string& strBase, const std::string& strExtension) {
    ShortName name;
    name.fill(' ');
    for (size_t i = 0; i < strBase.size() && i < 8; ++i) name[i] = static_cast<uint8_t>(strBase[i]);
    for (size_t i = 0; i < strExtension.size() && i < 3; ++i) {
        name[8 + i] = static_cast<uint8_t>(strExtension[i]);
    }
    return name;
}

std::string ShortNameText(const ShortName& name) {
    size_t nBaseEnd = 8;
    while (nBaseEnd > 0 && name[nBaseEnd - 1] == ' ') --nBaseEnd;
    size_t nExtensionEnd = 11;
    while (nExtensionEnd > 8 && name[nExtensionEnd - 1] == ' ') --nExtensionEnd;
    std::string strText(name.begin(), name.begin() + nBaseEnd);
    if (nExtensionEnd > 8) {
        strText += '.';
        strText.append(name.begin() + 8, name.begin() + nExtensionEnd);
    }
    return strText;
}

bool ShortNameMatches(const std::string& strComponent, const ShortName& name) {
    return UpperAscii(strComponent) == UpperAscii(ShortNameText(name));
}

void AppendWireRecord(const CardRecord& record, std::vector<uint8_t>& aOut) {
    aOut.insert(aOut.end(), record.m_name.begin(), record.m_name.end());
    aOut.push_back(record.m_nAttributes);
    for (int i = 0; i < 4; ++i) aOut.push_back(static_cast<uint8_t>(record.m_nOpaque >> (8 * i)));
    for (int i = 0; i < 4; ++i) aOut.push_back(static_cast<uint8_t>(record.m_nSize >> (8 * i)));
}
