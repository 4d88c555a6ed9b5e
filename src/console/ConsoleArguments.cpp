#include "console/ConsoleArguments.h"

#include <algorithm>
#include <cctype>

const char* const CONSOLE_USAGE =
    "Copies files from the memory card in the printer on LPT1 to a folder on this PC.\n"
    "\n"
    "BrislingCopy /LIST [card-folder | card-pattern]\n"
    "BrislingCopy /ALL destination [/ASK | /SKIP | /REPLACE]\n"
    "BrislingCopy card-path [card-path ...] destination [/ASK | /SKIP | /REPLACE]\n"
    "\n"
    "  /LIST        lists a folder of the card (its top folder unless named), or what fits a pattern\n"
    "               such as \\DCIM\\100PHOTO\\*.JPG: names, sizes, dates\n"
    "  /ALL         copies the whole card, with its folders\n"
    "  card-path    a file or folder of the card, such as \\DCIM\\100PHOTO (a folder with all it holds);\n"
    "               * and ? in its last name choose all that fit, such as \\DCIM\\100PHOTO\\*.JPG\n"
    "  destination  an existing folder on this PC\n"
    "  /ASK         asks about each file already in the destination (the default at a console,\n"
    "               unless the error stream is redirected)\n"
    "  /SKIP        keeps the files already there (the default when no one can be asked)\n"
    "  /REPLACE     replaces them\n"
    "\n"
    "Exit code: 0 all copied, 1 files were left on the card (they are named), 2 the printer could\n"
    "not be reached or reported an error, 3 the command line was wrong.\n";

namespace {
std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

bool IsSwitch(const std::string& argument) { return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-'); }
}  // namespace

std::string NormalCardPath(const std::string& path) {
    std::string normal = path;
    while (!normal.empty() && normal.back() == '\\') normal.pop_back();
    if (normal.empty() || normal[0] != '\\') normal.insert(normal.begin(), '\\');
    return normal;
}

std::vector<std::string> SplitCommandLine(const char* line) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false, started = false;
    for (const char* c = line; *c; ++c) {
        if (*c == '"') {
            quoted = !quoted;
            started = true;  // "" is an argument, if an empty one
        } else if ((*c == ' ' || *c == '\t') && !quoted) {
            if (started) arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += *c;
            started = true;
        }
    }
    if (started) arguments.push_back(current);
    if (!arguments.empty()) arguments.erase(arguments.begin());  // the program's own name
    return arguments;
}

ConsoleArguments ParseConsoleArguments(const std::vector<std::string>& arguments) {
    ConsoleArguments parsed;
    bool list = false;
    std::vector<std::string> plain;
    for (const std::string& argument : arguments) {
        if (!IsSwitch(argument)) {
            plain.push_back(argument);
            continue;
        }
        const std::string name = Upper(argument.substr(1));
        const ExistingFiles existing = name == "ASK"       ? EXISTING_ASK
                                       : name == "SKIP"    ? EXISTING_SKIP
                                       : name == "REPLACE" ? EXISTING_REPLACE
                                                           : EXISTING_DEFAULT;
        if (name == "?" || name == "HELP") return parsed;
        if (name == "LIST") {
            list = true;
        } else if (name == "ALL") {
            parsed.wholeCard = true;
        } else if (existing != EXISTING_DEFAULT && parsed.existing == EXISTING_DEFAULT) {
            parsed.existing = existing;
        } else {
            parsed.error = existing != EXISTING_DEFAULT ? "only one of /ASK, /SKIP and /REPLACE can be given"
                                                        : "unknown switch " + argument;
            return parsed;
        }
    }
    if (list) {
        if (parsed.wholeCard || parsed.existing != EXISTING_DEFAULT || plain.size() > 1) {
            parsed.error = "/LIST takes one card folder and no other switch";
            return parsed;
        }
        parsed.action = ACTION_LIST;
        parsed.cardPaths.push_back(NormalCardPath(plain.empty() ? "" : plain[0]));
        return parsed;
    }
    if (plain.empty()) {
        parsed.error = arguments.empty() ? "" : "no destination folder";
        return parsed;
    }
    parsed.destination = plain.back();
    plain.pop_back();
    if (parsed.wholeCard == !plain.empty()) {
        parsed.error = parsed.wholeCard ? "/ALL copies the whole card: name no card path with it"
                                        : "name the card paths to copy, or /ALL, before the destination";
        return parsed;
    }
    // An empty argument is most likely a batch file's unset variable, not a wish for the whole card.
    if (std::find(plain.begin(), plain.end(), "") != plain.end()) {
        parsed.error = "an empty card path: name a file or folder of the card, or /ALL";
        return parsed;
    }
    for (const std::string& path : plain) parsed.cardPaths.push_back(NormalCardPath(path));
    parsed.action = ACTION_COPY;
    return parsed;
}
