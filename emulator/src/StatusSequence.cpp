#include "StatusSequence.h"

uint8_t CStatusSequence::Next() {
    if (m_nUsed >= m_aStatus.size()) return 0x00;
    return m_aStatus[m_nUsed++];
}
