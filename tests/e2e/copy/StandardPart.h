#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Standard controls of the Open dialog that holds the panel.
enum StandardControlId : int {
    STANDARD_FILES_VIEW = 1121,  // lst2, the shell's view of the shown folder
    STANDARD_FOLDER_BOX = 1137,  // cmb2
    SHELL_VIEW_LIST = 1,         // the list view inside lst2
};

// The standard part of the program's window, the Open dialog around the panel: the folder it
// shows and the names in its view of that folder.
class CStandardPart {
public:
    CStandardPart(DWORD dwProcessId, HWND hDialog);
    ~CStandardPart();
    CStandardPart(const CStandardPart&) = delete;
    CStandardPart& operator=(const CStandardPart&) = delete;

    // The folder the dialog shows, as it reports it (CDM_GETFOLDERPATH).
    std::string FolderPath() const;
    HWND Control(int nId) const { return GetDlgItem(m_hDialog, nId); }
    HWND FilesList() const;
    // The names the files view shows, in its order.
    std::vector<std::string> FilesViewNames() const;

private:
    std::string Ask(UINT nMessage) const;

    HANDLE m_hProcess;
    HWND m_hDialog;
};
