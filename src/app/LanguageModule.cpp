#include "app/LanguageModule.h"

#include <cstdio>
#include <cstring>

const UINT UiTextIds[UI_TEXT_SLOTS] = {TEXT_TITLE,      TEXT_PORT_READY, TEXT_CARD_CAPTION,
                                       TEXT_PC_CAPTION, TEXT_SELECT_ALL, TEXT_OVERWRITE,
                                       TEXT_COPYING,    TEXT_LISTING};

void ReadInstallFolder(char folder[INSTALL_PATH_SIZE]) {
    std::memset(folder, 0, INSTALL_PATH_SIZE);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, INSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD type = 0;
    DWORD size = INSTALL_PATH_SIZE - 1;  // keeps the terminator even for an unterminated value
    if (RegQueryValueExA(key, INSTALL_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        std::memset(folder, 0, INSTALL_PATH_SIZE);
    }
    RegCloseKey(key);
}

bool JoinInstallPath(const char* folder, const char* name, char path[INSTALL_PATH_SIZE]) {
    const int n = std::snprintf(path, INSTALL_PATH_SIZE, "%s\\%s", folder, name);
    if (n < 0 || n >= INSTALL_PATH_SIZE) {
        path[0] = 0;
        return false;
    }
    return true;
}

void AppendErrorCode(char* text, size_t size, BYTE code) {
    const size_t n = std::strlen(text);
    if (n < size) std::snprintf(text + n, size - n, " \"0x%02X\"", code);
}

HMODULE LoadLanguageModuleFile() {
    char folder[INSTALL_PATH_SIZE];
    char path[INSTALL_PATH_SIZE];
    ReadInstallFolder(folder);
    // A folder too long for the buffer is refused rather than cut into another folder's name.
    if (!JoinInstallPath(folder, LANGUAGE_MODULE_FILE, path)) return nullptr;
    return LoadLibraryA(path);
}

int ShowHelp(HWND window, const char* helpFile, UINT command, ULONG_PTR data) {
    char folder[INSTALL_PATH_SIZE];
    char path[INSTALL_PATH_SIZE];
    ReadInstallFolder(folder);
    if (!JoinInstallPath(folder, helpFile, path)) return 0;
    return WinHelpA(window, path, command, data);
}
