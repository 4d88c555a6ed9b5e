; The installer (`make installer`): the program built for the Windows it runs on (32 or 64 bits),
; the language module the user chooses as "resource.dll", the pictures, the registry value that
; names the install folder, a start-menu shortcut for every user and an Add/Remove Programs entry.
; An install over an existing one takes its folder and its language unless told otherwise.
;
;   BrislingSetup.exe /S [/LANGUAGE=de] [/D=C:\folder]     silent; the language and the folder
;                                                          installed, else English into Program Files
;   "<install folder>\Uninstall.exe" /S                    silent uninstall
;
; Neither replaces a running program: they ask the user to close it, and silently end with exit
; code 32 (the Windows code for a file in use by another process) having changed nothing.
;
; makensis -DWIN64_BUILD=<build tree> -DWIN32_BUILD=<build tree> [-DAMD64_OUTFILE=<file>]
;          [-DOUTFILE=<file>] [-DVERSION=<x.y.z>] installer.nsi
Unicode true
; A 32-bit installer runs on both kinds of Windows and picks the program for the one it finds.
; Built with AMD64_OUTFILE, the same script makes a 64-bit installer: the installer's tests run
; that one where the host runs no 32-bit programs.
!ifdef AMD64_OUTFILE
Target amd64-unicode
!define /ifndef OUTFILE "${AMD64_OUTFILE}"
!else
Target x86-unicode
!endif
!define /ifndef OUTFILE "..\dist\BrislingSetup.exe"
OutFile "${OUTFILE}"
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define ART "..\src\res\art"
; The version users see is the one of the program's version resource ("1, 0, 4").
!ifndef VERSION
!searchparse /file "..\src\res\Brisling.rc" `VALUE "FileVersion", "` VERSION_MAJOR `, ` VERSION_MINOR `, ` VERSION_PATCH `"`
!define VERSION "${VERSION_MAJOR}.${VERSION_MINOR}.${VERSION_PATCH}"
!endif
!define PUBLISHER "KESTREL"
; Where the program looks for its install folder.
!define PRODUCT_KEY "SOFTWARE\KESTREL\Brisling"
!define MAKER_KEY "SOFTWARE\KESTREL"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brisling"
; Held by every running program (src/app/TransferApp.cpp).
!define RUNNING_MUTEX "Global\KESTREL.Brisling"
!define ERROR_SHARING_VIOLATION 32

Name "Brisling"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Brisling"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"
VIAddVersionKey FileDescription "Brisling Setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"

Var ModuleLanguage  ; of the module installed: en or de
Var PreviousFolder  ; of an install found, which this one replaces
Var EnglishChoice
Var GermanChoice

Page custom LanguagePage LanguagePageLeave
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A 32-bit program on 64-bit Windows sees the 32-bit registry view; the 64-bit program installed
; there reads the 64-bit one.
!macro NativeView
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

; The program's name exists while one runs in any session; a name another user's program holds may
; be refused to us (access denied), which says as much.
!macro WaitUntilNotRunning
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
        Pop $1
        ${If} $0 == 0
        ${AndIf} $1 != 5
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brisling is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY`
            SetErrorLevel ${ERROR_SHARING_VIOLATION}
            Quit
        ${EndIf}
    ${Loop}
!macroend

Function .onInit
    !insertmacro NativeView
    ; The shortcut is every user's; each one's own pictures are found when the program starts.
    SetShellVarContext all
    !insertmacro WaitUntilNotRunning
    ReadRegStr $PreviousFolder HKLM "${PRODUCT_KEY}" "SetupPath"
    ${If} $PreviousFolder == ""
        ReadRegStr $PreviousFolder HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR != ""  ; given with /D=
    ${ElseIf} $PreviousFolder != ""
        StrCpy $INSTDIR $PreviousFolder
    ${ElseIf} ${RunningX64}
        StrCpy $INSTDIR "$PROGRAMFILES64\Brisling"
    ${Else}
        StrCpy $INSTDIR "$PROGRAMFILES\Brisling"
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LANGUAGE=" $ModuleLanguage
    ${If} ${Errors}
        ReadRegStr $ModuleLanguage HKLM "${PRODUCT_KEY}" "Language"
        ${If} $ModuleLanguage != de
            StrCpy $ModuleLanguage en
        ${EndIf}
    ${ElseIf} $ModuleLanguage != en
    ${AndIf} $ModuleLanguage != de
        MessageBox MB_ICONSTOP "Unknown language $\"$ModuleLanguage$\": choose /LANGUAGE=en or /LANGUAGE=de." /SD IDOK
        Abort
    ${EndIf}
FunctionEnd

Function LanguagePage
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 20u "Brisling shows its window and messages in one language. Choose it:"
    Pop $0
    ${NSD_CreateRadioButton} 12u 26u 90% 12u "English"
    Pop $EnglishChoice
    ${NSD_CreateRadioButton} 12u 42u 90% 12u "Deutsch (German)"
    Pop $GermanChoice
    ${If} $ModuleLanguage == de
        ${NSD_Check} $GermanChoice
    ${Else}
        ${NSD_Check} $EnglishChoice
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function LanguagePageLeave
    ${NSD_GetState} $GermanChoice $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $ModuleLanguage de
    ${Else}
        StrCpy $ModuleLanguage en
    ${EndIf}
FunctionEnd

!macro ProgramFiles BUILD
    File "${BUILD}\src\Brisling.exe"
    File "${BUILD}\src\BrislingCopy.exe"
    ${If} $ModuleLanguage == de
        File /oname=resource.dll "${BUILD}\lang\de\resource.dll"
    ${Else}
        File /oname=resource.dll "${BUILD}\lang\en\resource.dll"
    ${EndIf}
!macroend

Section "Brisling"
    !insertmacro WaitUntilNotRunning  ; started while the pages were shown
    ; The install found goes first, by its own uninstaller, which knows its files: one install
    ; stays, wherever it is now put.
    ${If} ${FileExists} "$PreviousFolder\Uninstall.exe"
        ExecWait '"$PreviousFolder\Uninstall.exe" /S _?=$PreviousFolder' $0
        ${If} $0 != 0
            MessageBox MB_ICONSTOP "The install in $PreviousFolder could not be removed." /SD IDOK
            Abort
        ${EndIf}
        Delete "$PreviousFolder\Uninstall.exe"
        RMDir "$PreviousFolder"
    ${EndIf}
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        !insertmacro ProgramFiles "${WIN64_BUILD}"
    ${Else}
        !insertmacro ProgramFiles "${WIN32_BUILD}"
    ${EndIf}
    File "${ART}\printer_8bit.bmp"
    File "${ART}\monitor_8bit.bmp"
    File "${ART}\kestrel_8bit.bmp"
    WriteRegStr HKLM "${PRODUCT_KEY}" "SetupPath" "$INSTDIR"
    WriteRegStr HKLM "${PRODUCT_KEY}" "Language" $ModuleLanguage
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; Started in its own folder, the program offers the pictures of whoever starts it.
    CreateShortCut "$SMPROGRAMS\Brisling.lnk" "$INSTDIR\Brisling.exe"

    ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Brisling"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brisling.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    !insertmacro NativeView
    SetShellVarContext all
    !insertmacro WaitUntilNotRunning
FunctionEnd

; Only what the installer made goes: the pictures the user copied stay where they are.
Section "Uninstall"
    Delete "$SMPROGRAMS\Brisling.lnk"
    Delete "$INSTDIR\Brisling.exe"
    Delete "$INSTDIR\BrislingCopy.exe"
    Delete "$INSTDIR\resource.dll"
    Delete "$INSTDIR\printer_8bit.bmp"
    Delete "$INSTDIR\monitor_8bit.bmp"
    Delete "$INSTDIR\kestrel_8bit.bmp"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
    DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; Run as Add/Remove Programs runs it, this is a copy of the uninstaller in the temporary folder,
    ; which the restart after it removes; the folder can go only after the copy.
    ${If} $EXEDIR != $INSTDIR
        RMDir /REBOOTOK "$EXEDIR"
    ${EndIf}
SectionEnd
