#pragma once
#include <windows.h>

// The install folder and the files beside the program, found through the registry.
constexpr const char* INSTALL_KEY = "SOFTWARE\\KESTREL\\Brisling";
constexpr const char* INSTALL_VALUE = "SetupPath";
constexpr const char* LANGUAGE_MODULE_FILE = "resource.dll";
constexpr const char* HELP_FILE = "Brisling.hlp";
constexpr int INSTALL_PATH_SIZE = 256;
// Held by every running Brisling program: the installer and the uninstaller look for this name
// (scripts/installer.nsi) and replace nothing while a program of any user's session runs.
constexpr const char* RUNNING_MUTEX = "Global\\KESTREL.Brisling";

// Text ids of the language module.
constexpr UINT TEXT_TITLE = 3010;
constexpr UINT TEXT_CARD_CAPTION = 3011;
constexpr UINT TEXT_PC_CAPTION = 3012;
constexpr UINT TEXT_SELECT_ALL = 3013;
constexpr UINT TEXT_PORT_READY = 3014;
constexpr UINT TEXT_LISTING = 3015;
constexpr UINT TEXT_COPYING = 3016;
constexpr UINT TEXT_OVERWRITE = 3018;
constexpr UINT TEXT_NO_PORT = 3300;
// Progress of a copy and its end.
constexpr UINT TEXT_PROGRESS = 3020;           // status: files and bytes
constexpr UINT TEXT_PROGRESS_SHORT = 3021;     // status: files, when the long form does not fit
constexpr UINT TEXT_PROGRESS_COUNTING = 3022;  // status: while selected folders are still counted
constexpr UINT TEXT_TITLE_TIME_LEFT = 3023;    // title: percent, time left, title
constexpr UINT TEXT_TITLE_PERCENT = 3024;      // title: percent, title
constexpr UINT TEXT_COPIED_ALL = 3025;         // status at the end: every file arrived
constexpr UINT TEXT_COPIED_SOME = 3026;        // status at the end: some were left
constexpr UINT TEXT_COPIED_ONE = 3047;         // status at the end: the one file there was arrived
constexpr UINT TEXT_REPORT_HEADER = 3027;
constexpr UINT TEXT_REPORT_NAMES = 3028;
constexpr UINT TEXT_REPORT_MORE = 3029;
// The end when not every file of the chosen folders could be found (a folder not read, a STOP).
constexpr UINT TEXT_COPIED_OF_AT_LEAST = 3040;
constexpr UINT TEXT_REPORT_HEADER_AT_LEAST = 3041;
// The end when files were already on the PC and kept, and the overwrite question's buttons.
constexpr UINT TEXT_COPIED_SOME_ALREADY_THERE = 3042;
constexpr UINT TEXT_BUTTON_YES = 3043;
constexpr UINT TEXT_BUTTON_YES_TO_ALL = 3044;
constexpr UINT TEXT_BUTTON_NO = 3045;
constexpr UINT TEXT_BUTTON_NO_TO_ALL = 3046;
constexpr UINT TEXT_LEFT_DECLINED = 3030;  // then one text per way a file is left, in FileOutcome order

constexpr UINT TEXT_DISK_FULL = 3310;

// The console program's own texts: its usage, why a command line is refused ("%1" the switch),
// what a named path or folder is not ("%1" the path), the buttons of the printer's question, and
// the port's message without the window's EXIT.
constexpr UINT TEXT_CONSOLE_USAGE = 3050;
constexpr UINT TEXT_UNKNOWN_SWITCH = 3051;
constexpr UINT TEXT_ONE_EXISTING_SWITCH = 3052;
constexpr UINT TEXT_LIST_ALONE = 3053;
constexpr UINT TEXT_NO_DESTINATION = 3054;
constexpr UINT TEXT_ALL_WITH_CARD_PATH = 3055;
constexpr UINT TEXT_NO_CARD_PATH = 3056;
constexpr UINT TEXT_EMPTY_CARD_PATH = 3057;
constexpr UINT TEXT_NOT_A_PC_FOLDER = 3058;
constexpr UINT TEXT_NOT_ON_CARD = 3059;
constexpr UINT TEXT_NOT_A_CARD_FOLDER = 3060;
constexpr UINT TEXT_BUTTON_OK = 3061;
constexpr UINT TEXT_BUTTON_CANCEL = 3062;
constexpr UINT TEXT_CONSOLE_NO_PORT = 3063;

constexpr int UI_TEXT_SLOTS = 8;
constexpr int UI_TEXT_OVERWRITE = 5;
constexpr int UI_TEXT_SIZE = 64;
// The text id read into each UI text slot.
extern const UINT UiTextIds[UI_TEXT_SLOTS];

// The install folder from the registry, empty when the key or the value is missing.
void ReadInstallFolder(char folder[INSTALL_PATH_SIZE]);
// folder\name in a 256-byte buffer; false (and an empty path) when it would not fit.
bool JoinInstallPath(const char* folder, const char* name, char path[INSTALL_PATH_SIZE]);
// The error-code suffix appended to a message: " "0x1F"".
void AppendErrorCode(char* text, size_t size, BYTE code);

HMODULE LoadLanguageModuleFile();
int ShowHelp(HWND window, const char* helpFile, UINT command, ULONG_PTR data);
