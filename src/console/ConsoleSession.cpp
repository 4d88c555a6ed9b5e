#include "console/ConsoleSession.h"

#include <algorithm>
#include <cstdio>

#include "app/LanguageModule.h"
#include "console/ConsoleText.h"
#include "copy/CardPaths.h"
#include "copy/CopyAccount.h"
#include "copy/ProgressText.h"

namespace {
constexpr DWORD PROGRESS_STEP_MS = 250;

// A card path whose last name holds * or ?: it stands for every item of its folder that fits.
bool IsPattern(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

bool IsConsole(DWORD handle) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(handle), &mode) != 0;
}
}  // namespace

CConsoleSession::CConsoleSession(const ConsoleArguments& arguments) : m_arguments(arguments) {
    m_progressOnConsole = IsConsole(STD_ERROR_HANDLE);
    // Asked by default only where the question can be seen and answered.
    m_askable = arguments.existing == EXISTING_ASK ||
                (arguments.existing == EXISTING_DEFAULT && IsConsole(STD_INPUT_HANDLE) && m_progressOnConsole);
}

CConsoleSession::~CConsoleSession() {
    delete m_copy;
    delete m_link;
    if (m_module) ::FreeLibrary(m_module);
}

int CConsoleSession::Run() {
    m_module = LoadLanguageModuleFile();
    if (!m_module) {
        Say(stderr, std::string("The program's texts (") + LANGUAGE_MODULE_FILE + ") are missing: install the program again.\n");
        return EXIT_NO_PRINTER;
    }
    if (m_arguments.action == ACTION_HELP || m_arguments.action == ACTION_REFUSED) return Usage();
    if (m_arguments.action == ACTION_COPY) {
        char full[MAX_PATH] = {};
        const DWORD n = ::GetFullPathNameA(m_arguments.destination.c_str(), sizeof(full), full, nullptr);
        const DWORD attributes = n > 0 && n < sizeof(full) ? ::GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !::SetCurrentDirectoryA(full)) {
            Say(stderr, Text(TEXT_NOT_A_PC_FOLDER, m_arguments.destination) + "\n");
            return EXIT_BAD_ARGUMENTS;
        }
        m_destination = full;
        while (m_destination.size() > 3 && m_destination.back() == '\\') m_destination.pop_back();
    }
    if (!Connect()) return PrinterFailure();
    const int result = m_arguments.action == ACTION_LIST ? List(m_arguments.cardPaths[0]) : Copy();
    if (m_bConnected == 1) m_link->Release();
    return result;
}

void CConsoleSession::Stop() {
    m_stopped = true;
    if (m_copy) m_copy->Stop();
    m_bClosing = 1;
}

bool CConsoleSession::Connect() {
    m_link = new CPrinterLink(this);
    m_copy = new CCardCopy(*m_link, *this, *this);
    if (!m_link->Open("LPT1")) {
        SetLinkError(TEXT_CONSOLE_NO_PORT, 0);
        return false;
    }
    if (!m_link->Handshake()) return false;
    m_link->PollStatus();
    return !m_printerFailed;
}

int CConsoleSession::PrinterFailure() {
    if (m_stopped) return EXIT_FILES_LEFT;  // the user's Ctrl+C cut the exchange short, not the printer
    char text[1024] = {};
    if (m_errorTextId) LoadModuleText(m_errorTextId, text, sizeof(text));
    if (m_errorCode) AppendErrorCode(text, sizeof(text), m_errorCode);
    if (text[0]) Say(stderr, std::string(text) + "\n");
    return EXIT_NO_PRINTER;
}

int CConsoleSession::List(const std::string& path) {
    const std::string name = GetFolderLabel(path);
    const bool pattern = IsPattern(name);
    const std::string folder = pattern ? CutToParent(path) : path;
    m_link->SetCardPath(folder == "\\" ? "" : folder.c_str());
    const int listed = m_link->ListFolder();
    if (m_printerFailed) return PrinterFailure();
    if (!m_link->ListingAnswered()) {
        SetLinkError(TEXT_NO_GREETING, 0);
        return PrinterFailure();
    }
    std::vector<CardEntry> entries = m_link->TakeEntries();
    if (pattern) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const CardEntry& entry) { return !CardNameFits(entry.name, name); }),
                      entries.end());
    }
    if (pattern ? entries.empty() : !listed && folder != "\\") {
        Say(stderr, Text(pattern ? TEXT_NOT_ON_CARD : TEXT_NOT_A_CARD_FOLDER, path) + "\n");
        return EXIT_FILES_LEFT;
    }
    for (const CardEntry& entry : entries) Say(stdout, ListingLine(entry) + "\n");
    return EXIT_ALL_COPIED;
}

// A named card path is looked up in its folder's listing, as the window finds what it shows.
bool CConsoleSession::FindItems(const std::string& cardPath, std::vector<CopyItem>* items) {
    CopyItem item;
    item.cardFolder = CutToParent(cardPath);
    const std::string name = GetFolderLabel(cardPath);
    const bool pattern = IsPattern(name);
    m_link->SetCardPath(item.cardFolder == "\\" ? "" : item.cardFolder.c_str());
    m_link->ListFolder();
    if (!m_link->ListingAnswered() && !m_printerFailed) {  // no answer is no word on the path
        SetLinkError(TEXT_NO_GREETING, 0);
        m_printerFailed = true;
    }
    bool found = false;
    for (const CardEntry& entry : m_link->TakeEntries()) {
        if (pattern ? !CardNameFits(entry.name, name) : ::lstrcmpiA(entry.name, name.c_str()) != 0) continue;
        found = true;
        // Named twice, as by two patterns, an item is still copied once.
        const bool known = std::any_of(items->begin(), items->end(), [&](const CopyItem& other) {
            return other.cardFolder == item.cardFolder && ::lstrcmpiA(other.entry.name, entry.name) == 0;
        });
        item.entry = entry;
        if (!known) items->push_back(item);
        if (!pattern) break;
    }
    return found;
}

int CConsoleSession::Copy() {
    CopyOrder order;
    order.destination = m_destination;
    bool missing = false;
    for (const std::string& path : m_arguments.cardPaths) {
        if (path == "\\") {
            order.wholeCard = true;
            continue;
        }
        if (!FindItems(path, &order.items) && !m_printerFailed) {
            Say(stderr, Text(TEXT_NOT_ON_CARD, path) + "\n");
            missing = true;
        }
        if (m_printerFailed) return PrinterFailure();
    }
    order.wholeCard = order.wholeCard || m_arguments.wholeCard;
    if (!order.wholeCard && order.items.empty()) return missing ? EXIT_FILES_LEFT : EXIT_ALL_COPIED;
    m_bBusy = 1;
    m_copy->Start(order);
    if (m_stopped) m_copy->Stop();  // a Ctrl+C before the copy began
    m_copy->Run();
    if (m_printerFailed) return PrinterFailure();
    const CCopyTally& tally = m_copy->Tally();
    const bool all = !m_stopped && !missing && tally.Complete() && tally.LeftByProgram() == 0 &&
                     tally.Count(FILE_STOPPED) == 0;
    return all ? EXIT_ALL_COPIED : EXIT_FILES_LEFT;
}

void CConsoleSession::SetLinkError(int nTextId, BYTE nCode) {
    m_errorTextId = nTextId;
    m_errorCode = nCode;
}

// The link's report of a printer that failed: the copy stops at its next step.
void CConsoleSession::SendLinkCommand(UINT id) {
    if (id != CMD_LINK_ERROR) return;
    m_printerFailed = true;
    m_bBusy = 0;
}

int CConsoleSession::Usage() {
    const bool help = m_arguments.action == ACTION_HELP;
    if (m_arguments.errorText) Say(stderr, Text(m_arguments.errorText, m_arguments.errorSubject) + "\n\n");
    Say(help ? stdout : stderr, Text(TEXT_CONSOLE_USAGE));
    return help ? EXIT_ALL_COPIED : EXIT_BAD_ARGUMENTS;
}

int CConsoleSession::AskUser(const char* text, UINT type) {
    Say(stderr, std::string(text) + "\n");
    if ((type & MB_TYPEMASK) != MB_OKCANCEL) return IDOK;
    // Enter takes OK, the message box's default button.
    const int answer = Choose({ButtonKeyOf(Text(TEXT_BUTTON_OK), IDOK), ButtonKeyOf(Text(TEXT_BUTTON_CANCEL), IDCANCEL)},
                              IDOK);
    return answer == IDOK ? IDOK : IDCANCEL;
}

void CConsoleSession::LoadModuleText(UINT id, char* buffer, int size) {
    buffer[0] = 0;
    if (m_module) ::LoadStringA(m_module, id, buffer, size);
}

std::string CConsoleSession::Text(UINT id) {
    char text[4096];
    LoadModuleText(id, text, sizeof(text));
    return text;
}

std::string CConsoleSession::Text(UINT id, const std::string& subject) { return FormatText(Text(id), {subject}); }

bool CConsoleSession::ReadAnswer(std::string* line) {
    char buffer[256];
    if (!std::fgets(buffer, sizeof(buffer), stdin)) {
        m_askable = false;  // the input has ended: nobody is left to ask
        return false;
    }
    *line = buffer;
    while (!line->empty() && (line->back() == '\n' || line->back() == '\r' || line->back() == ' ')) line->pop_back();
    return true;
}

OverwriteAnswer CConsoleSession::AskOverwrite(const std::string& pcPath) {
    if (!m_askable) return m_arguments.existing == EXISTING_REPLACE ? OVERWRITE_YES_TO_ALL : OVERWRITE_NO_TO_ALL;
    char full[MAX_PATH * 2] = {};
    if (!::GetFullPathNameA(pcPath.c_str(), sizeof(full), full, nullptr)) full[0] = 0;
    if (m_progressOnConsole && !m_progressShown.empty()) Say(stderr, "\n");
    m_progressShown.clear();
    Say(stderr, Text(TEXT_OVERWRITE) + "\n  " + (full[0] ? std::string(full) : pcPath) + "\n");
    const int answer = Choose({ButtonKeyOf(Text(TEXT_BUTTON_YES), OVERWRITE_YES),
                               ButtonKeyOf(Text(TEXT_BUTTON_YES_TO_ALL), OVERWRITE_YES_TO_ALL),
                               ButtonKeyOf(Text(TEXT_BUTTON_NO), OVERWRITE_NO),
                               ButtonKeyOf(Text(TEXT_BUTTON_NO_TO_ALL), OVERWRITE_NO_TO_ALL)},
                              -1);
    return answer < 0 ? OVERWRITE_NO_TO_ALL : static_cast<OverwriteAnswer>(answer);
}

int CConsoleSession::Choose(const std::vector<ButtonKey>& keys, int onEnter) {
    if (!m_askable) return -1;
    for (;;) {
        Say(stderr, KeysPrompt(keys));
        std::string answer;
        if (m_stopped || !ReadAnswer(&answer)) return -1;
        if (!IsConsole(STD_INPUT_HANDLE)) Say(stderr, answer + "\n");
        if (answer.empty() && onEnter >= 0) return onEnter;
        for (const ButtonKey& key : keys) {
            if (answer.size() == 1 && (answer[0] | 0x20) == (key.key | 0x20)) return key.answer;
        }
    }
}

void CConsoleSession::TellDiskFull() { Say(stderr, "\n" + Text(TEXT_DISK_FULL) + "\n"); }

void CConsoleSession::OnFileProgress(uint32_t received) { m_copy->OnFileProgress(received); }

// On a console one line is kept up to date; elsewhere a line is added each time a file ends.
void CConsoleSession::ShowProgress(const CCopyTally& tally) {
    const DWORD now = ::GetTickCount();
    if (m_progressOnConsole && now - m_progressTick < PROGRESS_STEP_MS) return;
    const std::string line = CopyProgressLine(tally.DoneFiles(), tally.TotalFiles(), tally.DoneBytes(),
                                              tally.TotalBytes(), tally.TotalsFinal(), !m_progressOnConsole,
                                              [this](UINT id) { return Text(id); });
    if (line == m_progressShown) return;
    if (m_progressOnConsole) {
        const size_t wiped = m_progressShown.size() > line.size() ? m_progressShown.size() - line.size() : 0;
        Say(stderr, "\r" + line + std::string(wiped, ' '));
    } else {
        Say(stderr, line + "\n");
    }
    std::fflush(stderr);
    m_progressShown = line;
    m_progressTick = now;
}

void CConsoleSession::CopyEnded(const CCopyTally& tally, bool stopped) {
    if (m_progressOnConsole && !m_progressShown.empty()) Say(stderr, "\n");
    const auto texts = [this](UINT id) { return Text(id); };
    Say(stdout, CopyEndLine(tally, stopped, texts) + "\n");
    const std::string report = CopyReport(tally, texts);
    if (!report.empty()) Say(stdout, report + "\n");
    std::fflush(stdout);
}
