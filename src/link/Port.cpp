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

BOOL PortWrite(HANDLE port, const void* data, DWORD length, DWORD* moved, bool clearInput) {
    *moved = 0;
    if (clearInput) PurgeComm(port, PURGE_RXCLEAR);
    return WriteFile(port, data, length, moved, nullptr);
}

BOOL PortRead(HANDLE port, void* data, DWORD length, DWORD* moved) {
    *moved = 0;
    return ReadFile(port, data, length, moved, nullptr);
}

void PortClose(HANDLE port) {
    if (PortIsOpen(port)) CloseHandle(port);
}
