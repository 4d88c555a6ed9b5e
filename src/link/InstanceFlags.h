#pragma once
#include <windows.h>

// Two words shared by every running process of the program (zero when the first one starts):
// word 0 says an instance runs, word 1 says a link worker is exchanging with the printer.
extern volatile LONG InstanceFlags[2];

constexpr int INSTANCE_RUNNING = 0;
constexpr int INSTANCE_LINK_BUSY = 1;

inline void SetLinkBusy(LONG value) { InterlockedExchange(&InstanceFlags[INSTANCE_LINK_BUSY], value); }
inline bool IsLinkBusy() { return InstanceFlags[INSTANCE_LINK_BUSY] != 0; }
