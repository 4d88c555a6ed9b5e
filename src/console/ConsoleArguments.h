#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the console program was asked to do, from its command line; a refused one is answered
// with the reason and the usage.
enum ConsoleAction { ACTION_REFUSED, ACTION_HELP, ACTION_LIST, ACTION_COPY };
// What to do with a file already in the destination.
enum ExistingFiles { EXISTING_DEFAULT, EXISTING_ASK, EXISTING_SKIP, EXISTING_REPLACE };

struct ConsoleArguments {
    ConsoleAction action = ACTION_REFUSED;
    bool wholeCard = false;
    std::vector<std::string> cardPaths;  // "\"-rooted, without a trailing "\"
    std::string destination;
    ExistingFiles existing = EXISTING_DEFAULT;
    UINT errorText = 0;        // why the command line was refused, a text of the language module
    std::string errorSubject;  // the argument that text names
};

// The arguments after the program's name, grouped as the command prompt groups them: a quote only
// groups, so "D:\My Photos\" /SKIP is a folder and a switch. The C runtime would read that \"
// as a quote and join the switch to the path; no path or switch here holds a quote.
std::vector<std::string> SplitCommandLine(const char* line);
ConsoleArguments ParseConsoleArguments(const std::vector<std::string>& arguments);
// "DCIM\\100PHOTO\\" and "\\DCIM\\100PHOTO" -> "\\DCIM\\100PHOTO"; "", "\\" -> "\\".
std::string NormalCardPath(const std::string& path);

