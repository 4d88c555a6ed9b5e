#pragma once
#include <cstddef>
#include <string>

// The printer's end of the port: a pseudo-terminal whose slave the PC opens as "LPT1".
// The emulator keeps a slave descriptor of its own open, so the master never sees EIO or
// a hang-up when the PC closes its side.
class CPseudoTerminal {
public:
    CPseudoTerminal() = default;
    ~CPseudoTerminal() { Close(); }
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    bool Open(std::string& strError);
    void Close();
    bool IsOpen() const { return m_hMaster >= 0; }

    int Master() const { return m_hMaster; }
    const std::string& SlavePath() const { return m_strSlavePath; }

    // Bytes written to the PC that it has not read yet.
    size_t UnreadByPc() const;
    // Drops what the PC has not read; returns how many bytes that was.
    size_t DropUnreadByPc();
    // Reads and drops what the PC wrote and the emulator has not taken.
    size_t DropUnreadFromPc();
    // Puts the slave back into raw mode if someone changed it; true when it had to.
    bool RestoreRawMode();

private:
    int m_hMaster = -1;
    int m_hSlave = -1;
    std::string m_strSlavePath;
};
