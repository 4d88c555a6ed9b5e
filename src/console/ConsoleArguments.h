#pragma once
#include <string>
#include <vector>

// What the console program was asked to do, from its command line.
enum ConsoleAction { ACTION_USAGE, ACTION_LIST, ACTION_COPY };
// What to do with a file already in the destination.
enum ExistingFiles { EXISTING_DEFAULT, EXISTING_ASK, EXISTING_SKIP, EXISTING_REPLACE };

struct ConsoleArguments {
    ConsoleAction action = ACTION_USAGE;
    bool wholeCard = false;
    std::vector<std::string> cardPaths;  // "\"-rooted, without a trailing "\"
    std::string destination;
    ExistingFiles existing = EXISTING_DEFAULT;
    std::string error;  // why the command line was refused; empty for /? and a good one
};

ConsoleArguments ParseConsoleArguments(const std::vector<std::string>& arguments);
// "DCIM\\100PHOTO\\" and "\\DCIM\\100PHOTO" -> "\\DCIM\\100PHOTO"; "", "\\" -> "\\".
std::string NormalCardPath(const std::string& path);

extern const char* const CONSOLE_USAGE;
