#pragma once
#include <windows.h>

// The printer port: opened by device name, every read and write bounded by a total time-out,
// synchronous, reporting the bytes moved. Under Wine a read returns when the whole count has
// arrived or the time-out has run out, so callers always ask for the exact length they expect.
constexpr DWORD PORT_TIMEOUT_MS = 5000;

// The port serves one program at a time. Windows refuses a second open of a port, but Wine opens
// the device again, and two programs' exchanges would mix on the wire unnoticed (a copy taking
// bytes of the other's replies for its file). So the open also claims the port by a named object
// that lives until PortClose; while another holds it, the open fails as on Windows. *claim is
// nullptr when the port is not open.
HANDLE PortOpen(const char* deviceName, HANDLE* claim);
void PortSetTimeouts(HANDLE port, DWORD milliseconds);
// A request: whatever is still in the input (the late rest of an earlier reply that timed out)
// belongs to no request of ours and is cleared first, unless the caller knows nothing can be left
// (the last reply came whole), which spares a round trip on each read of a file; a reply that
// brought more than was asked shows once the file's last reply is in (PortInputWaiting).
BOOL PortWrite(HANDLE port, const void* data, DWORD length, DWORD* moved, bool clearInput = true);
BOOL PortRead(HANDLE port, void* data, DWORD length, DWORD* moved);
// Bytes that arrived and are not read yet.
DWORD PortInputWaiting(HANDLE port);
void PortClose(HANDLE port, HANDLE claim);

inline bool PortIsOpen(HANDLE port) { return port != nullptr && port != INVALID_HANDLE_VALUE; }
