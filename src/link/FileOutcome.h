#pragma once

// How one card file of a copy ended. Everything but FILE_COPIED leaves the file on the card;
// FILE_DECLINED and FILE_STOPPED are the user's choice, the others the program's.
enum FileOutcome {
    FILE_COPIED,
    FILE_DECLINED,       // an existing PC file the user chose to keep
    FILE_STOPPED,        // STOP came first
    FILE_BAD_NAME,       // a name the PC cannot hold
    FILE_TOO_LARGE,      // more than can be held in memory
    FILE_PATH_TOO_LONG,  // its card or PC path exceeds the buffers
    FILE_READ_FAILED,    // the printer did not deliver it
    FILE_DISK_FULL,
    FILE_WRITE_FAILED,   // the PC file could not be created or written
    FILE_OUTCOME_COUNT
};
