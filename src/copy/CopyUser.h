#pragma once
#include <string>

#include "copy/CopyTally.h"

enum OverwriteAnswer { OVERWRITE_YES, OVERWRITE_NO, OVERWRITE_YES_TO_ALL, OVERWRITE_NO_TO_ALL };

// What a copy needs of whoever runs it: the window or the console program. Everything is called
// on the copying thread. A printer that fails reaches the user through the link's owner, as it
// does while browsing.
class CCopyUser {
public:
    virtual ~CCopyUser() = default;
    // A file of the copy is already at pcPath. Asked once per file until an answer "to all".
    virtual OverwriteAnswer AskOverwrite(const std::string& pcPath) = 0;
    // The disk is full; the file being written has not been kept.
    virtual void TellDiskFull() = 0;
    // The account moved on (a part of a file arrived, a file ended); called often.
    virtual void ShowProgress(const CCopyTally&) {}
    // The copy is over and its account final.
    virtual void CopyEnded(const CCopyTally& tally, bool stopped) = 0;
};
