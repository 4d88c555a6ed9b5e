#include "link/InstanceFlags.h"

// A shared section: the loader maps one copy for all processes started from this executable.
volatile LONG InstanceFlags[2] __attribute__((section(".shared"), shared)) = {0, 0};
