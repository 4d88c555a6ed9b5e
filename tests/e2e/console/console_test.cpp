// The copy without the window: BrislingCopy against the printer emulator. Each row serves a card
// (with faults, and with files already on the PC), runs the console program with its arguments
// and typed answers, and checks the exit code, the account it prints, the questions it asked, the
// files on the PC and the files it opened on the card.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>
#include <fstream>
#include <sstream>

#include "EmulatorControl.h"
#include "Files.h"
#include "FolderTree.h"
#include "ModuleText.h"
#include "PacketLog.h"
#include "ProgramSession.h"
#include "Waiting.h"
#include "app/LanguageModule.h"
#include "console/ConsoleSession.h"

namespace fs = std::filesystem;

namespace {

enum CtrlCMoment { NO_CTRL_C, CTRL_C_AT_GREETING, CTRL_C_IN_SECOND_FILE };

struct ConsoleCase {
    const char* name;
    std::vector<std::pair<std::string, size_t>> card;  // files; a path ending in "\" is a folder
    std::vector<std::string> faults;
    std::vector<std::string> onPc;       // card files already in the destination, with other bytes; "\": folders
    std::vector<std::string> arguments;  // the destination is DEST, or follows unless the first is /LIST
    std::string typed;                   // the user's answers, one a line
    int exitCode;
    std::vector<std::string> arrived;    // card files on the PC afterwards, with the card's bytes
    std::vector<UINT> output;            // the texts that begin the account's lines, in order
    std::vector<std::string> named;      // what the account or the errors name
    int questions = 0;                   // of the overwrite question
    std::vector<std::string> opened = {};  // card files opened, when checked
    UINT error = 0;                        // a text of the printer's failure or the program's refusal
    bool deep = false;                     // the destination is nearly as long as a PC path may be
    CtrlCMoment ctrlC = NO_CTRL_C;
    bool windowOpen = false;               // the program's window has the port
    bool consoleInput = false;             // the input is a console, the error stream still a file
};

const std::string DEST = "<destination>";

// Windows creates a folder of at most 247 characters, so that any 8.3 name fits below MAX_PATH:
// from a folder this long, DCIM\100PHOTO\101PHOTO would be 250 characters, in the band where
// the platform refuses a folder that a 255-character buffer still takes.
constexpr size_t DEEP_DESTINATION = 250 - std::char_traits<char>::length("\\DCIM\\100PHOTO\\101PHOTO");

// Nested folders far enough down that their path no longer fits a card path.
const std::string DEEP = [] {
    std::string path;
    for (int i = 0; i < 29; ++i) path += "DEEPDEEP\\";
    return path;
}();

const ConsoleCase CASES[] = {
    {"WholeCardByteForByte", {{"DCIM\\100PHOTO\\A.JPG", 9000}, {"DCIM\\100PHOTO\\B.JPG", 300}, {"README.TXT", 100},
      {"EMPTY.DAT", 0}, {"EMPTYDIR\\", 0}}, {}, {}, {"/ALL"}, "", EXIT_ALL_COPIED,
     {"DCIM\\100PHOTO\\A.JPG", "DCIM\\100PHOTO\\B.JPG", "README.TXT", "EMPTY.DAT"}, {TEXT_COPIED_ALL}, {}},
    {"NoToAllAsksOnceAndFetchesOnlyTheNew", {{"A.JPG", 500}, {"B.JPG", 600}, {"NEW\\C.JPG", 700}, {"NEW\\D.JPG", 800}},
     {}, {"A.JPG", "NEW\\C.JPG"}, {"/ALL", "/ASK"}, "x\nl\n", EXIT_ALL_COPIED, {"B.JPG", "NEW\\D.JPG"},
     {TEXT_COPIED_SOME_ALREADY_THERE}, {}, 1, {"\\B.JPG", "\\NEW\\D.JPG"}},
    {"YesToAllReplacesEveryOne", {{"A.JPG", 500}, {"B.JPG", 600}, {"C.JPG", 700}}, {}, {"A.JPG", "C.JPG"},
     {"/ALL", "/ASK"}, "a\n", EXIT_ALL_COPIED, {"A.JPG", "B.JPG", "C.JPG"}, {TEXT_COPIED_ALL}, {}, 1},
    // At a console whose error stream is redirected, a question would wait where nobody sees it.
    {"NoQuestionWhereItCannotBeSeen", {{"A.JPG", 500}, {"B.JPG", 600}}, {}, {"A.JPG"}, {"/ALL"}, "",
     EXIT_ALL_COPIED, {"B.JPG"}, {TEXT_COPIED_SOME_ALREADY_THERE}, {}, 0, {}, 0, false, NO_CTRL_C, false, true},
    {"NoOneToAskKeepsWhatIsThere", {{"A.JPG", 500}, {"B.JPG", 600}}, {}, {"A.JPG"}, {"/ALL"}, "",
     EXIT_ALL_COPIED, {"B.JPG"}, {TEXT_COPIED_SOME_ALREADY_THERE}, {}},
    // Typed as a user types a folder at the prompt: "D:\My Photos\" /REPLACE.
    {"ReplaceAfterAFolderEndingInABackslash", {{"A.JPG", 500}}, {}, {"A.JPG"}, {"\\A.JPG", DEST + "\\", "/REPLACE"},
     "", EXIT_ALL_COPIED,
     {"A.JPG"}, {TEXT_COPIED_ONE}, {}},
    {"NamedPathsAndOneNotOnTheCard", {{"DCIM\\100PHOTO\\A.JPG", 900}, {"DCIM\\X.JPG", 50}, {"README.TXT", 30},
      {"MISC\\M.TXT", 10}}, {}, {}, {"dcim", "\\README.TXT", "\\NOPE"}, "", EXIT_FILES_LEFT,
     {"DCIM\\100PHOTO\\A.JPG", "DCIM\\X.JPG", "README.TXT"}, {TEXT_COPIED_ALL}, {"\\NOPE"}, 0, {}, TEXT_NOT_ON_CARD},
    // Patterns choose every item that fits, each once; one that fits nothing is named.
    {"PatternsChooseWhatFits", {{"A.JPG", 900}, {"B.JPG", 300}, {"C.TXT", 30}, {"101PHOTO\\D.JPG", 50},
      {"102\\E.JPG", 10}}, {}, {}, {"\\*.jpg", "\\A.*", "\\1?1*", "\\*.NEF"}, "", EXIT_FILES_LEFT,
     {"A.JPG", "B.JPG", "101PHOTO\\D.JPG"}, {TEXT_COPIED_ALL}, {"\\*.NEF"}, 0,
     {"\\A.JPG", "\\B.JPG", "\\101PHOTO\\D.JPG"}},
    // A name that would be a device on the PC, and a folder the card lists but cannot open.
    {"FilesLeftAreNamed", {{"DCIM\\A.JPG", 900}},
     {"--inject-record", "\\DCIM:" + Hex("CON     JPG") + ":20:100", "--inject-record",
      "\\:" + Hex("ALBUM   OLD") + ":10:0"},
     {}, {"/ALL"}, "", EXIT_FILES_LEFT, {"DCIM\\A.JPG"}, {TEXT_COPIED_OF_AT_LEAST, TEXT_REPORT_HEADER_AT_LEAST},
     {"\\DCIM\\CON.JPG", "\\ALBUM.OLD"}},
    {"ChosenFolderTooDeepForACardPath", {{DEEP + "X.JPG", 10}, {"A.JPG", 20}}, {}, {},
     {"\\" + DEEP.substr(0, DEEP.size() - 1), "\\A.JPG"}, "", EXIT_FILES_LEFT, {"A.JPG"},
     {TEXT_COPIED_OF_AT_LEAST, TEXT_REPORT_HEADER_AT_LEAST}, {"\\" + DEEP.substr(0, DEEP.size() - 1)}},
    // A file or folder the PC cannot take leaves only itself: the rest of its tree arrives. A folder
    // in a file's way is not the file already there.
    {"FoldersInTheWay", {{"100PHOTO\\A.JPG", 6000}, {"100PHOTO\\B.JPG", 700}, {"IMG.JPG", 900}, {"README", 300}},
     {}, {"100PHOTO\\A.JPG\\", "IMG.JPG\\"}, {"/ALL", "/SKIP"}, "", EXIT_FILES_LEFT, {"100PHOTO\\B.JPG", "README"},
     {TEXT_COPIED_SOME, TEXT_REPORT_HEADER, TEXT_LEFT_DECLINED + FILE_WRITE_FAILED - FILE_DECLINED},
     {"\\100PHOTO\\A.JPG", "\\IMG.JPG"}},
    {"ChosenFileInTheWay", {{"A.JPG", 500}, {"B.JPG", 50}}, {}, {"A.JPG\\"}, {"\\A.JPG", "\\B.JPG", "/SKIP"}, "",
     EXIT_FILES_LEFT, {"B.JPG"}, {TEXT_COPIED_SOME, TEXT_REPORT_HEADER,
     TEXT_LEFT_DECLINED + FILE_WRITE_FAILED - FILE_DECLINED}, {"\\A.JPG"}},
    {"PcPathTooLong", {{"DCIM\\B.JPG", 700}, {"DCIM\\100PHOTO\\101PHOTO\\C.JPG", 6000},
      {"DCIM\\100PHOTO\\101PHOTO\\D.JPG", 500}, {"DCIM\\100PHOTO\\A\\F.JPG", 400}}, {}, {}, {"/ALL"}, "",
     EXIT_FILES_LEFT, {"DCIM\\B.JPG", "DCIM\\100PHOTO\\A\\F.JPG"},
     {TEXT_COPIED_SOME, TEXT_REPORT_HEADER, TEXT_LEFT_DECLINED + FILE_PATH_TOO_LONG - FILE_DECLINED}, {}, 0,
     {"\\DCIM\\B.JPG", "\\DCIM\\100PHOTO\\A\\F.JPG"}, 0, true},
    // Exchange 8 is the second request of the folder's copy listing: its header and ".", "..",
    // A.JPG and B.JPG arrive whole, C.JPG is cut; the walk waits no longer than the time-out.
    {"AListingCutShort", {{"PICS\\A.JPG", 700}, {"PICS\\B.JPG", 700}, {"PICS\\C.JPG", 700}}, {"--cut", "8:90"}, {},
     {"\\PICS"}, "", EXIT_FILES_LEFT, {"PICS\\A.JPG", "PICS\\B.JPG"},
     {TEXT_COPIED_SOME, TEXT_REPORT_HEADER, TEXT_LEFT_DECLINED + FILE_READ_FAILED - FILE_DECLINED}, {}},
    // Exchanges 7 and 9 open A.JPG and read B.JPG: a printer that opens a file with another size
    // than it listed, or sends more than asked, leaves only that file.
    {"RepliesThatDisagreeLeaveTheirFile", {{"A.JPG", 3000}, {"B.JPG", 3000}, {"C.JPG", 100}},
     {"--garbage", "7:0000001000", "--extra", "9:00"}, {}, {"/ALL"}, "", EXIT_FILES_LEFT, {"C.JPG"},
     {TEXT_COPIED_SOME, TEXT_REPORT_HEADER, TEXT_LEFT_DECLINED + FILE_READ_FAILED - FILE_DECLINED},
     {"\\A.JPG", "\\B.JPG"}, 0, {"\\A.JPG", "\\B.JPG", "\\C.JPG"}},
    // Ctrl+C is STOP: the file in flight is not kept and nothing more is opened; pressed while the
    // printer is greeted, nothing is copied.
    {"CtrlCStops", {{"A.JPG", 3000}, {"B.JPG", 40000}, {"C.JPG", 100}}, {"--rate", "20000"}, {}, {"/ALL"}, "",
     EXIT_FILES_LEFT, {"A.JPG"}, {TEXT_COPIED_SOME}, {}, 0, {"\\A.JPG", "\\B.JPG"}, 0, false, CTRL_C_IN_SECOND_FILE},
    {"CtrlCBeforeTheCopy", {{"A.JPG", 3000}}, {}, {}, {"/ALL"}, "", EXIT_FILES_LEFT, {}, {}, {}, 0, {}, 0, false,
     CTRL_C_AT_GREETING},
    {"CtrlCBeforeANamedPathIsFound", {{"A.JPG", 3000}}, {}, {}, {"\\A.JPG"}, "", EXIT_FILES_LEFT, {}, {}, {}, 0, {}, 0,
     false, CTRL_C_AT_GREETING},
    // The printer's question is asked until a key of its buttons is typed; Enter is OK, as in the window.
    {"NotReadyIsTriedAgainOnOk", {{"A.JPG", 10}}, {"--sc-status", "10"}, {}, {"/ALL", "/ASK"}, "x\n\n",
     EXIT_ALL_COPIED, {"A.JPG"}, {TEXT_COPIED_ONE}, {}, 0, {}, TEXT_NOT_READY},
    {"PrinterDoesNotAnswer", {{"A.JPG", 10}}, {"--sr-status", "01,01"}, {}, {"/ALL"}, "", EXIT_NO_PRINTER, {}, {},
     {}, 0, {}, TEXT_NO_GREETING},
    // One conversation at a time: the copy's exchanges would mix with the window's on the wire.
    {"PortHeldByTheWindow", {{"A.JPG", 10}}, {}, {}, {"/ALL"}, "", EXIT_NO_PRINTER, {}, {}, {}, 0, {}, TEXT_CONSOLE_NO_PORT,
     false, NO_CTRL_C, true},
    {"NoAnswerToTheListingOfANamedPath", {{"A.JPG", 10}}, {"--silence", "3"}, {}, {"\\A.JPG"}, "", EXIT_NO_PRINTER,
     {}, {}, {}, 0, {}, TEXT_NO_GREETING},
    {"PrinterErrorWhileReading", {{"A.JPG", 9000}}, {"--fr-status", "21"}, {}, {"/ALL"}, "", EXIT_NO_PRINTER, {},
     {TEXT_COPIED_SOME}, {"0x21"}, 0, {}, TEXT_PRINTER_ERROR},
    {"ListsAFolder", {{"DCIM\\100PHOTO\\A.JPG", 10}, {"DCIM\\B.JPG", 1234567}}, {}, {}, {"/LIST", "\\DCIM"}, "",
     EXIT_ALL_COPIED, {}, {}, {"<DIR>          100PHOTO", "1234567 B.JPG"}},
    {"ListsWhatFitsAPattern", {{"DCIM\\100PHOTO\\A.JPG", 10}, {"DCIM\\B.JPG", 1234567}, {"DCIM\\BB.TXT", 5}}, {}, {},
     {"/LIST", "\\DCIM\\b*.jpg"}, "", EXIT_ALL_COPIED, {}, {}, {"1234567 B.JPG"}},
    {"ListsNoFolderThatIsNotThere", {{"A.JPG", 10}}, {}, {}, {"/LIST", "\\NOPE"}, "", EXIT_FILES_LEFT, {}, {},
     {"\\NOPE"}, 0, {}, TEXT_NOT_A_CARD_FOLDER},
    {"RefusesAWrongCommandLine", {}, {}, {}, {"/ALL", "\\A.JPG"}, "", EXIT_BAD_ARGUMENTS, {}, {}, {}, 0, {},
     TEXT_ALL_WITH_CARD_PATH},
    {"RefusesAnEmptyCardPath", {{"A.JPG", 10}}, {}, {}, {""}, "", EXIT_BAD_ARGUMENTS, {}, {}, {}, 0, {},
     TEXT_EMPTY_CARD_PATH},
    {"HelpShowsTheUsage", {}, {}, {}, {"/?"}, "", EXIT_ALL_COPIED, {}, {}, {}, 0, {}, TEXT_CONSOLE_USAGE},
};

struct Ran {
    DWORD exitCode = ~0u;
    std::string out, err;
};

std::string Quoted(const std::string& argument) { return "\"" + argument + "\""; }

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the console program with its output in files, its input from a file of typed lines.
Ran RunConsole(const std::string& program, const std::vector<std::string>& arguments, const std::string& typed,
               const TempFolder& scratch, const std::function<bool()>& ctrlCNow, bool consoleInput) {
    std::ofstream(scratch / "in") << typed;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const auto open = [&](const char* name, DWORD access, DWORD creation) {
        return CreateFileA((scratch / name).c_str(), access, FILE_SHARE_READ, &inherit, creation, 0, nullptr);
    };
    STARTUPINFOA start = {};
    start.cb = sizeof(start);
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = open("in", GENERIC_READ, OPEN_EXISTING);
    start.hStdOutput = open("out", GENERIC_WRITE, CREATE_ALWAYS);
    start.hStdError = open("err", GENERIC_WRITE, CREATE_ALWAYS);
    std::string line = Quoted(program);
    for (const std::string& argument : arguments) line += " " + Quoted(argument);
    PROCESS_INFORMATION process = {};
    Ran ran;
    // A console of its own, which Ctrl+C can be sent to; or this one, for its input.
    DWORD creation = CREATE_NEW_CONSOLE;
    if (consoleInput) {
        FreeConsole();
        EXPECT_TRUE(AllocConsole());
        CloseHandle(start.hStdInput);
        start.hStdInput = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, OPEN_EXISTING, 0, nullptr);
        creation = 0;
    }
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, creation, nullptr, nullptr, &start, &process)) {
        if (ctrlCNow) {
            EXPECT_TRUE(WaitUntil(ctrlCNow, 30000));
            FreeConsole();
            EXPECT_TRUE(AttachConsole(process.dwProcessId));
            SetConsoleCtrlHandler(nullptr, TRUE);  // this program lets it pass
            EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << GetLastError();
            FreeConsole();
        }
        // Six greeting and status waits, a listing's and a read's time-outs, with room to spare.
        if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &ran.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (HANDLE handle : {start.hStdInput, start.hStdOutput, start.hStdError}) CloseHandle(handle);
    if (consoleInput) FreeConsole();
    ran.out = ReadText(scratch / "out");
    ran.err = ReadText(scratch / "err");
    for (std::string* text : {&ran.out, &ran.err}) text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    return ran;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); !part.empty() && at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// A folder made with the long-path prefix, so that a card can hold paths longer than the PC's.
bool MakeDeepFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(fs::path(L"\\\\?\\" + fs::path(path).wstring()), error);
    return !error;
}

// A text of the language module on a line of its own: its "%n" fields filled, or the printer's
// error code after it. A text of several lines is looked for as it stands.
bool Shows(const std::string& output, const std::string& pattern) {
    if (pattern.find('\n') != std::string::npos) return output.find(pattern) != std::string::npos;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line == pattern || !Fields(pattern, line).empty() || line.rfind(pattern + " \"0x", 0) == 0) return true;
    }
    return false;
}

class ConsoleCopy : public ::testing::TestWithParam<ConsoleCase> {};

}  // namespace

TEST_P(ConsoleCopy, AccountsForEveryFile) {
    const ConsoleCase& row = GetParam();
    CProgramSession session;
    ASSERT_TRUE(session.Install()) << "the program's files";
    CCardFolder card;
    for (const auto& [path, size] : row.card) {
        if (path.back() == '\\') {
            ASSERT_TRUE(card.AddFolder(path.substr(0, path.size() - 1)));
        } else if (path.size() > 200) {
            ASSERT_TRUE(MakeDeepFolders(card / ParentFolder(path)));
            std::ofstream(fs::path(L"\\\\?\\" + fs::path(card / path).wstring())) << "deep";
        } else {
            ASSERT_TRUE(card.AddFile(path, size)) << path;
        }
    }
    std::string destination = session.DestinationFolder();
    while (row.deep && destination.size() < DEEP_DESTINATION) {
        const size_t missing = DEEP_DESTINATION - destination.size();
        destination += "\\" + std::string(missing > 101 ? 50 : missing - 1, 'D');
    }
    ASSERT_TRUE(MakeFolders(destination));
    for (const std::string& path : row.onPc) {
        ASSERT_TRUE(MakeFolders(ParentFolder(destination + "\\" + path)));
        ASSERT_TRUE(path.back() == '\\' || WriteBytes(destination + "\\" + path, {'o', 'l', 'd'}));
    }
    EmulatorControl emulator;
    ASSERT_TRUE(emulator.Connected()) << "run under scripts/test-env.sh";
    ASSERT_TRUE(emulator.Serve(card.Path(), row.faults));
    if (row.windowOpen) {
        ASSERT_TRUE(session.Start());
    }

    std::vector<std::string> arguments = row.arguments;
    const auto placed = std::find_if(arguments.begin(), arguments.end(), [](const std::string& a) { return a.rfind(DEST, 0) == 0; });
    if (placed != arguments.end()) {
        placed->replace(0, DEST.size(), destination);
    } else if (arguments[0] != "/LIST") {
        arguments.push_back(destination);
    }
    TempFolder scratch;
    const auto secondFileRead = [&] { return emulator.Packets(FO_PREFIX).size() == 2 && emulator.Packets(FR_PREFIX).size() > 3; };
    const auto greeted = [&] { return !emulator.Packets(SR_GREETING).empty(); };
    const std::function<bool()> ctrlCNow = row.ctrlC == CTRL_C_AT_GREETING      ? greeted
                                           : row.ctrlC == CTRL_C_IN_SECOND_FILE ? secondFileRead
                                                                                : std::function<bool()>();
    const Ran ran = RunConsole(session.ConsoleProgramPath(), arguments, row.typed, scratch, ctrlCNow, row.consoleInput);
    SCOPED_TRACE("output:\n" + ran.out + "\nerrors:\n" + ran.err);
    EXPECT_EQ(ran.exitCode, DWORD(row.exitCode));

    const std::string module = session.LanguageModulePath();
    std::istringstream lines(ran.out);
    std::string line;
    for (UINT text : row.output) {
        std::getline(lines, line);
        const std::string pattern = ModuleText(module, text);
        // Each field a count or a size: "3 of 4" in a count's place is another text.
        const std::vector<std::string> fields = Fields(pattern, line);
        const bool counts = !fields.empty() && std::all_of(fields.begin(), fields.end(), [](const std::string& field) {
            return std::regex_match(field, std::regex(R"([0-9.,]+( \S+)?)"));
        });
        EXPECT_TRUE(counts || line == pattern) << "\"" << line << "\" is not " << pattern;
    }
    for (const std::string& name : row.named) EXPECT_NE((ran.out + ran.err).find(name), std::string::npos) << name;
    if (row.arguments[0] == "/LIST" && row.exitCode == EXIT_ALL_COPIED) {  // a line for each item named, no more
        EXPECT_EQ(Occurrences(ran.out, "\n"), row.named.size());
    }
    EXPECT_EQ(Occurrences(ran.err, ModuleText(module, TEXT_OVERWRITE)), size_t(row.questions));
    EXPECT_TRUE(!row.error || Shows(ran.out + ran.err, ModuleText(module, row.error))) << ModuleText(module, row.error);

    // On the PC: what arrived with the card's bytes, what was there as it was, and nothing else.
    FolderTree expected;
    for (const std::string& path : row.onPc) {
        if (path.back() == '\\') {
            expected[path.substr(0, path.size() - 1)].bFolder = true;
        } else {
            expected[path].aBytes = {'o', 'l', 'd'};
        }
    }
    for (const std::string& path : row.arrived) expected[path].aBytes = card.Bytes(path);
    for (auto& [path, item] : FolderTree(expected)) {
        for (std::string folder = ParentFolder(path); !folder.empty(); folder = ParentFolder(folder))
            expected[folder].bFolder = true;
    }
    for (const auto& [path, size] : row.card) {  // a whole card brings its empty folders too
        if (path.back() == '\\' && row.arguments[0] == "/ALL") expected[path.substr(0, path.size() - 1)].bFolder = true;
    }
    const FolderTree copied = ReadFolderTree(destination);
    const Outcome same = SameTree(copied, expected);
    EXPECT_TRUE(row.arguments[0] == "/LIST" || same) << same.why;
    if (!row.opened.empty()) {
        std::vector<std::string> opened;
        for (const std::string& packet : emulator.Packets(FO_PREFIX)) opened.push_back(PacketPath(packet));
        EXPECT_EQ(opened, row.opened);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsoleCopy, ::testing::ValuesIn(CASES),
                         [](const auto& info) { return std::string(info.param.name); });
