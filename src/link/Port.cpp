#include "link/Port.h"

HANDLE PortOpen(const char* deviceName) {
    return CreateFileA(deviceName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

void PortSetTimeouts(HANDLE port, DWORD milliseconds) {
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = milliseconds;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = milliseconds;
    SetCommTimeouts(port, &timeouts);
}

BOOL PortWrite(HANDLE port, const void* data, DWORD length, DWORD* moved) {
    *moved = 0;
    // Every write is a request: whatever is still in the input (the late rest of an earlier reply
    // that timed out) belongs to no request of ours and must not be read as this one's answer.
    PurgeComm(port, PURGE_RXCLEAR);
    return WriteFile(port, data, length, moved, nullptr);
}

BOOL PortRead(HANDLE port, void* data, DWORD length, DWORD* moved) {
    *moved = 0;
    return ReadFile(port, data, length, moved, nullptr);
}

void PortClose(HANDLE port) {
    if (PortIsOpen(port)) CloseHandle(port);
}
