#include "PacketParser.h"

namespace {

struct CommandForm {
    char m_cFirst;
    char m_cSecond;
    PRINTER_COMMAND m_command;
    int m_nArgumentBytes;  // -1: text up to a NUL
};

const CommandForm COMMANDS[] = {
    {'S', 'R', PRINTER_COMMAND::SR, 1},  {'S', 'C', PRINTER_COMMAND::SC, 0},
    {'I', 'R', PRINTER_COMMAND::IR, -1}, {'F', 'O', PRINTER_COMMAND::FO, -1},
    {'F', 'R', PRINTER_COMMAND::FR, 4},
};

const CommandForm* FindForm(const std::vector<uint8_t>& aPending) {
    for (const CommandForm& form : COMMANDS) {
        if (aPending.size() >= 2 && aPending[1] != static_cast<uint8_t>(form.m_cFirst)) continue;
        if (aPending.size() >= 3 && aPending[2] != static_cast<uint8_t>(form.m_cSecond)) continue;
        return &form;
    }
    return nullptr;
}

}  // namespace

void CPacketParser::Reset() {
    m_aPending.clear();
    m_aGarbage.clear();
}

void CPacketParser::Feed(const uint8_t* pBytes, size_t nCount, std::vector<ReceivedItem>& aItems) {
    for (size_t i = 0; i < nCount; ++i) FeedByte(pBytes[i], aItems);
    // Garbage is reported once no packet is half-way; a packet begun may still fail.
    if (m_aPending.empty()) EmitGarbage(aItems);
}

void CPacketParser::EmitGarbage(std::vector<ReceivedItem>& aItems) {
    if (m_aGarbage.empty()) return;
    ReceivedItem item;
    item.m_bGarbage = true;
    item.m_aBytes.swap(m_aGarbage);
    aItems.push_back(std::move(item));
}

void CPacketParser::Reject(std::vector<ReceivedItem>& aItems) {
    std::vector<uint8_t> aAgain(m_aPending.begin() + 1, m_aPending.end());
    m_aGarbage.push_back(m_aPending.front());
    m_aPending.clear();
    for (uint8_t nByte : aAgain) FeedByte(nByte, aItems);
}

void CPacketParser::FeedByte(uint8_t nByte, std::vector<ReceivedItem>& aItems) {
    if (m_aPending.empty()) {
        if (nByte == ESC) {
            m_aPending.push_back(nByte);
        } else {
            m_aGarbage.push_back(nByte);
        }
        return;
    }
    m_aPending.push_back(nByte);
    const CommandForm* pForm = FindForm(m_aPending);
    if (pForm == nullptr) {
        Reject(aItems);
        return;
    }
    if (m_aPending.size() < 3) return;

    bool bComplete = false;
    if (pForm->m_nArgumentBytes >= 0) {
        bComplete = m_aPending.size() == 3 + static_cast<size_t>(pForm->m_nArgumentBytes);
    } else if (m_aPending.size() > 3 && nByte == 0x00) {
        bComplete = true;
    } else if (m_aPending.size() >= MAX_PACKET) {
        Reject(aItems);
        return;
    }
    if (!bComplete) return;

    EmitGarbage(aItems);
    ReceivedItem item;
    item.m_command = pForm->m_command;
    item.m_aBytes.swap(m_aPending);
    item.m_aArgument.assign(item.m_aBytes.begin() + 3,
                            item.m_aBytes.end() - (pForm->m_nArgumentBytes < 0 ? 1 : 0));
    aItems.push_back(std::move(item));
}
