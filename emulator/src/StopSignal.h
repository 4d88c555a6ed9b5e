#pragma once

// SIGINT and SIGTERM become a readable byte on the returned descriptor, so the event loop
// ends cleanly and removes its link. SIGPIPE is ignored. Returns -1 on failure.
int InstallStopSignalPipe();
