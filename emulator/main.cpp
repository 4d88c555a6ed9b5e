// brisling-emulator: the photo printer on a pseudo-terminal, for running and testing the
// program under Wine without the hardware.
#include <cstdio>
#include <string>
#include <vector>

#include "Emulator.h"
#include "EmulatorOptions.h"
#include "StopSignal.h"

int main(int argc, char** argv) {
    std::vector<std::string> aArgs(argv + 1, argv + argc);
    EmulatorOptions options;
    std::string strError;
    if (!ParseEmulatorOptions(aArgs, false, options, strError)) {
        std::fprintf(stderr, "brisling-emulator: %s\nTry --help.\n", strError.c_str());
        return 2;
    }
    if (options.m_bHelp) {
        std::fputs(EmulatorHelpText(), stdout);
        return 0;
    }
    const int hStop = InstallStopSignalPipe();
    CEmulator emulator(options);
    if (!emulator.Start(strError)) {
        std::fprintf(stderr, "brisling-emulator: %s\n", strError.c_str());
        return 1;
    }
    if (!emulator.SlavePath().empty()) std::printf("pty %s\n", emulator.SlavePath().c_str());
    if (options.m_nControlPort >= 0) std::printf("control port %d\n", emulator.ControlPort());
    std::fflush(stdout);
    return emulator.Run(hStop);
}
