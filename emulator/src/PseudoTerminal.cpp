#include "PseudoTerminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool CPseudoTerminal::Open(std::string& strError) {
    Close();
    auto fail = [&](const char* pszStep) {
        strError = std::string("pty: ") + pszStep + ": " + std::strerror(errno);
        Close();
        return false;
    };
    m_hMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_hMaster < 0) return fail("posix_openpt");
    if (grantpt(m_hMaster) != 0) return fail("grantpt");
    if (unlockpt(m_hMaster) != 0) return fail("unlockpt");
    char szName[256];
    if (ptsname_r(m_hMaster, szName, sizeof szName) != 0) return fail("ptsname");
    m_strSlavePath = szName;
    m_hSlave = open(szName, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_hSlave < 0) return fail("open slave");
    struct termios modes {};
    if (tcgetattr(m_hSlave, &modes) != 0) return fail("tcgetattr");
    cfmakeraw(&modes);
    modes.c_cc[VMIN] = 1;
    modes.c_cc[VTIME] = 0;
    if (tcsetattr(m_hSlave, TCSANOW, &modes) != 0) return fail("tcsetattr");
    return true;
}

void CPseudoTerminal::Close() {
    if (m_hSlave >= 0) close(m_hSlave);
    if (m_hMaster >= 0) close(m_hMaster);
    m_hSlave = -1;
    m_hMaster = -1;
}

size_t CPseudoTerminal::UnreadByPc() const {
    int nCount = 0;
    if (m_hSlave < 0 || ioctl(m_hSlave, TIOCINQ, &nCount) != 0 || nCount < 0) return 0;
    return static_cast<size_t>(nCount);
}

size_t CPseudoTerminal::DropUnreadByPc() {
    const size_t nUnread = UnreadByPc();
    if (m_hSlave >= 0) tcflush(m_hSlave, TCIFLUSH);
    return nUnread;
}

size_t CPseudoTerminal::DropUnreadFromPc() {
    if (m_hMaster < 0) return 0;
    size_t nDropped = 0;
    unsigned char buffer[4096];
    for (;;) {
        const ssize_t nRead = read(m_hMaster, buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR) continue;
        if (nRead <= 0) break;
        nDropped += static_cast<size_t>(nRead);
    }
    return nDropped;
}

bool CPseudoTerminal::RestoreRawMode() {
    if (m_hSlave < 0) return false;
    struct termios modes {};
    if (tcgetattr(m_hSlave, &modes) != 0) return false;
    struct termios raw = modes;
    cfmakeraw(&raw);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // Echo, line editing, flow control or output processing would mangle binary replies.
    if (modes.c_iflag == raw.c_iflag && modes.c_oflag == raw.c_oflag &&
        modes.c_lflag == raw.c_lflag &&
        (modes.c_cflag & (CSIZE | PARENB)) == (raw.c_cflag & (CSIZE | PARENB))) {
        return false;
    }
    tcsetattr(m_hSlave, TCSANOW, &raw);
    return true;
}
