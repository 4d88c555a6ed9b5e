#include "link/Port.h"

#include <string>

HANDLE PortOpen(const char* deviceName, HANDLE* claim) {
    // In the global namespace, so that a copy in another session (a scheduled one) is kept out too.
    const std::string name = std::string("Global\\Brisling.") + deviceName;
    *claim = CreateMutexA(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    // Another program's claim; a claim that cannot be made at all (a system without the global
    // namespace) leaves the platform's own refusal of a second open, as before.
    if (error == ERROR_ALREADY_EXISTS || (!*claim && error == ERROR_ACCESS_DENIED)) {
        if (*claim) CloseHandle(*claim);
        *claim = nullptr;
        SetLastError(ERROR_ACCESS_DENIED);  // what Windows says of a port another program has open
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE port =
        CreateFileA(deviceName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE && *claim) {
        CloseHandle(*claim);
        *claim = nullptr;
    }
    return port;
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

DWORD PortInputWaiting(HANDLE port) {
    DWORD errors = 0;
    COMSTAT status = {};
    return ClearCommError(port, &errors, &status) ? status.cbInQue : 0;
}

void PortClose(HANDLE port, HANDLE claim) {
    if (PortIsOpen(port)) CloseHandle(port);
    if (claim) CloseHandle(claim);
}
