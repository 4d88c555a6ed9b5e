#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Standard controls of the Open dialog that holds the panel.
enum StandardControlId : int {
    STANDARD_OPEN_BUTTON = IDOK,
    STANDARD_FILES_VIEW = 1121,   // lst2, the shell's view of the shown folder
    STANDARD_FOLDER_BOX = 1137,   // cmb2
    STANDARD_FILE_NAME_COMBO = 1148,  // cmb13
    STANDARD_FILE_NAME_EDIT = 1152,   // edt1
    SHELL_VIEW_LIST = 1,          // the list view inside lst2
};

// The standard part of the program's window, the Open dialog, driven as a user drives it:
// typing into its file-name box, pressing its Open button, reading its view of the folder.
class CStandardPart {
public:
    CStandardPart(DWORD dwProcessId, HWND hDialog);
    ~CStandardPart();
    CStandardPart(const CStandardPart&) = delete;
    CStandardPart& operator=(const CStandardPart&) = delete;

    // What the dialog itself reports (CDM_GETFOLDERPATH, CDM_GETFILEPATH).
    std::string FolderPath() const;
    std::string FilePath() const;
    HWND Control(int nId) const { return GetDlgItem(m_hDialog, nId); }
    HWND FilesList() const;
    // The names the files view shows, in its order.
    std::vector<std::string> FilesViewNames() const;

    ::testing::AssertionResult TypeFileName(const std::string& strText);
    ::testing::AssertionResult PressOpen();
    // Types a folder's path and presses Open, as a user goes to another folder, then types
    // "*.*" back into the file-name box, which the program started with.
    ::testing::AssertionResult BrowseTo(const std::string& strFolder, DWORD dwTimeoutMs);

private:
    std::string Ask(UINT nMessage) const;
    HWND FileNameBox() const;

    HANDLE m_hProcess;
    HWND m_hDialog;
};
