#include "console/ConsoleArguments.h"

#include <algorithm>
#include <cctype>

#include "app/LanguageModule.h"

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
        if (name == "?" || name == "HELP") {
            parsed.action = ACTION_HELP;
            return parsed;
        }
        if (name == "LIST") {
            list = true;
        } else if (name == "ALL") {
            parsed.wholeCard = true;
        } else if (existing != EXISTING_DEFAULT && parsed.existing == EXISTING_DEFAULT) {
            parsed.existing = existing;
        } else {
            parsed.errorText = existing != EXISTING_DEFAULT ? TEXT_ONE_EXISTING_SWITCH : TEXT_UNKNOWN_SWITCH;
            parsed.errorSubject = argument;
            return parsed;
        }
    }
    if (list) {
        if (parsed.wholeCard || parsed.existing != EXISTING_DEFAULT || plain.size() > 1) {
            parsed.errorText = TEXT_LIST_ALONE;
            return parsed;
        }
        parsed.action = ACTION_LIST;
        parsed.cardPaths.push_back(NormalCardPath(plain.empty() ? "" : plain[0]));
        return parsed;
    }
    if (plain.empty()) {
        parsed.errorText = arguments.empty() ? 0 : TEXT_NO_DESTINATION;
        return parsed;
    }
    parsed.destination = plain.back();
    plain.pop_back();
    if (parsed.wholeCard == !plain.empty()) {
        parsed.errorText = parsed.wholeCard ? TEXT_ALL_WITH_CARD_PATH : TEXT_NO_CARD_PATH;
        return parsed;
    }
    // An empty argument is most likely a batch file's unset variable, not a wish for the whole card.
    if (std::find(plain.begin(), plain.end(), "") != plain.end()) {
        parsed.errorText = TEXT_EMPTY_CARD_PATH;
        return parsed;
    }
    for (const std::string& path : plain) parsed.cardPaths.push_back(NormalCardPath(path));
    parsed.action = ACTION_COPY;
    return parsed;
}
