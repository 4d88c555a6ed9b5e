; The installer: puts the program, its language module and pictures in the install folder and
; names that folder in the registry, where the program looks for it.
Unicode true
Target amd64-unicode
Name "Brisling"
OutFile "..\dist\BrislingSetup.exe"
InstallDir "$PROGRAMFILES64\KESTREL\Brisling"
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Brisling"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File "..\dist\Brisling\Brisling.exe"
    File "..\dist\Brisling\resource.dll"
    File "..\dist\Brisling\printer_8bit.bmp"
    File "..\dist\Brisling\monitor_8bit.bmp"
    File "..\dist\Brisling\kestrel_8bit.bmp"
    WriteRegStr HKLM "SOFTWARE\KESTREL\Brisling" "SetupPath" "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Brisling.lnk" "$INSTDIR\Brisling.exe"
SectionEnd

Section "Uninstall"
    SetRegView 64
    Delete "$SMPROGRAMS\Brisling.lnk"
    Delete "$INSTDIR\Brisling.exe"
    Delete "$INSTDIR\resource.dll"
    Delete "$INSTDIR\printer_8bit.bmp"
    Delete "$INSTDIR\monitor_8bit.bmp"
    Delete "$INSTDIR\kestrel_8bit.bmp"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "SOFTWARE\KESTREL\Brisling"
SectionEnd
