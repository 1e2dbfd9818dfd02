; WinKelSetup.exe: installs WinKelExe, optionally WinKelTestExe with
; WinKelReplay, an engine and the documents; for the current user unless all users are asked for.
;
; makensis gets from the build: PRODUCT, VERSION, COMPANY and COPYRIGHT (the
; host's version resource), DIST (the built binaries), SOURCE (the source tree), ENTRY_POINTS
; (the engine's export names), RUNNING_MARK (the name of the object the
; programs hold while they run) and OUTFILE; BITS 64 for a setup of the 64-bit
; build, which only the tests use; TEST_SEAMS for a setup whose elevation the
; tests can steer, since Wine never asks for it.
;
; Command line: /S (silent), /ALLUSERS, /ENGINE=<path of a Solvetric.dll>,
; /D=<folder> (last). Exit code 0 when installed, 1 when cancelled (also at
; the administrator prompt), 2 when it failed, 3 when WinKelExe or
; WinKelTestExe was running, with nothing changed. The uninstaller's are the same.

Unicode true
SetCompressor /SOLID lzma
ManifestDPIAware true
; A file that cannot be replaced fails the run: never a mix of two versions.
AllowSkipFiles off

; What differs between the shipped 32-bit setup and the 64-bit one the tests
; run where 32-bit programs cannot: the stub, the registry view, the program
; files folder, and the size of the structure the elevation passes.
!ifndef BITS
    !define BITS 32
!endif
!if ${BITS} == 64
    Target amd64-unicode
    !define MULTIUSER_USE_PROGRAMFILES64
    !define REG_VIEW 64
    !define SHELLEXECUTEINFO_SIZE 112
!else
    !define REG_VIEW 32
    !define SHELLEXECUTEINFO_SIZE 60
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The levels of the data directory, as Vemtrax.dll is asked for them.
!define DATA_LEVEL1 "${PRODUCT}"
!define DATA_LEVEL2 "WinKel"
!define DATA_LEVEL3 "Data"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; Standard: per-user installs need no elevation; all-users ones are elevated
; on demand (AllUsersOrElevate).
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; An earlier install's folder, from the hive of the mode: upgrades go there.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include nsDialogs.nsh
!include WinMessages.nsh
!include StrFunc.nsh
${Using:StrFunc} UnStrStr
!include "${ENTRY_POINTS}"

!define ERROR_LEVEL_CANCELLED 1
!define ERROR_LEVEL_FAILED 2
!define ERROR_LEVEL_RUNNING 3
!define ERROR_CANCELLED 1223 ; the administrator prompt was refused
!define SYNCHRONIZE 0x00100000

Var GivenDir       ; /D=, which wins over the mode's folder and an earlier install's
Var AllUsersAsked  ; 1 with /ALLUSERS
Var EnginePath     ; the user's own engine, when chosen
Var EngineChoice   ; the selected engine section
Var DataDir        ; as Vemtrax gave it, ending in a backslash
Var DataNote       ; what the finish page says about it
Var ModeRadio      ; the all-users button of the mode page
Var EngineField
!ifdef TEST_SEAMS
Var TestElevation  ; /TESTELEVATION=<error>: the prompt's answer, faked
!endif

!define MUI_ICON "${SOURCE}/host/res/WinKelExe.ico"
!define MUI_UNICON "${SOURCE}/host/res/WinKelExe.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_COMPONENTS
Page custom EnginePage EnginePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$(^NameDA) is installed in $INSTDIR.$\r$\n$\r$\n$DataNote"
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "The programs and the engine are removed. The data directory stays unless you tick it."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE English

; Like the programs' version resources.
!pragma warning disable 9100
VIProductVersion ${VERSION}
VIFileVersion ${VERSION}
VIAddVersionKey /LANG=${LANG_ENGLISH} CompanyName "${COMPANY}"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion ${VERSION}
VIAddVersionKey /LANG=${LANG_ENGLISH} InternalName WinKelSetup
VIAddVersionKey /LANG=${LANG_ENGLISH} OriginalFilename WinKelSetup.exe
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion ${VERSION}

; ---------------------------------------------------------------- install mode

; All users need administrator rights: without them, an elevated copy of this
; installer (or uninstaller) does the work and its exit code becomes ours.
; Pops where it was called from ("page" for the mode page) and pushes "" when
; this copy may go on for all users, "cancelled" when the user refused the
; prompt on the mode page, which then asks again; every other way ends here.
!macro ALL_USERS_OR_ELEVATE UN
Function ${UN}AllUsersOrElevate
    Exch $R3
    Push $R0
    Push $R1
    ${If} $MultiUser.Privileges == "Admin"
    ${OrIf} $MultiUser.Privileges == "Power"
        Call ${UN}MultiUser.InstallMode.AllUsers
        StrCpy $R3 ""
        Goto done
    ${EndIf}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/ELEVATED" $R1
    ${IfNot} ${Errors}
        ; Started elevated and still without the rights: no second attempt.
        MessageBox MB_ICONSTOP|MB_OK "$(^Name) for all users needs an administrator's account." /SD IDOK
        SetErrorLevel ${ERROR_LEVEL_FAILED}
        Quit
    ${EndIf}
    ; /D= and _?= are not part of the parameters and must come last. The
    ; elevated copy may not see this user's mapped drives: the engine goes by
    ; a name it can reach, first, since the first /ENGINE= counts.
    StrCpy $R0 "$R0 /ELEVATED /ALLUSERS"
    !if "${UN}" == ""
        ${If} $EnginePath != ""
            Push $EnginePath
            Call ReachablePath
            Pop $R1
            StrCpy $R0 '/ENGINE="$R1" $R0'
        ${EndIf}
        ${If} $GivenDir != ""
            StrCpy $R0 "$R0 /D=$GivenDir"
        ${EndIf}
    !else
        StrCpy $R0 "$R0 _?=$INSTDIR"
    !endif
    ; SHELLEXECUTEINFOW; 0x140: keep the process handle, no asynchronous start.
    ; On 64-bit, nShow and dwHotKey are each followed by 4 bytes of padding.
    !if ${BITS} == 64
        System::Call '*(i ${SHELLEXECUTEINFO_SIZE}, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w R0, p 0, i ${SW_SHOWNORMAL}, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r8'
    !else
        System::Call '*(i ${SHELLEXECUTEINFO_SIZE}, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w R0, p 0, i ${SW_SHOWNORMAL}, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .r8'
    !endif
    !ifdef TEST_SEAMS
        ${If} $TestElevation != ""
            StrCpy $9 0
            StrCpy $R1 $TestElevation
        ${Else}
            System::Call 'shell32::ShellExecuteExW(p r8) i .r9 ?e'
            Pop $R1
        ${EndIf}
    !else
        System::Call 'shell32::ShellExecuteExW(p r8) i .r9 ?e'
        Pop $R1
    !endif
    ${If} $9 <> 0
        ; Hidden while the elevated copy runs: a window that waits answers no
        ; messages, and Windows would show it as not responding.
        HideWindow
        !if ${BITS} == 64
            System::Call '*$8(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r9)'
        !else
            System::Call '*$8(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r9)'
        !endif
        System::Call 'kernel32::WaitForSingleObject(p r9, i -1)'
        System::Call 'kernel32::GetExitCodeProcess(p r9, *i .r7)'
        System::Call 'kernel32::CloseHandle(p r9)'
        System::Free $8
        SetErrorLevel $7
        Quit
    ${EndIf}
    System::Free $8
    ${If} $R1 = ${ERROR_CANCELLED}
        ${If} $R3 == "page"
            MessageBox MB_ICONINFORMATION|MB_OK "$(^Name) for all users needs administrator rights, and the prompt for them was cancelled. Choose again." /SD IDOK
            StrCpy $R3 "cancelled"
            Goto done
        ${EndIf}
        MessageBox MB_ICONINFORMATION|MB_OK "$(^Name) for all users needs administrator rights, and the prompt for them was cancelled. Nothing was changed." /SD IDOK
        SetErrorLevel ${ERROR_LEVEL_CANCELLED}
        Quit
    ${EndIf}
    MessageBox MB_ICONSTOP|MB_OK "$(^Name) for all users needs administrator rights, which were not given (error $R1)." /SD IDOK
    SetErrorLevel ${ERROR_LEVEL_FAILED}
    Quit
done:
    Pop $R1
    Pop $R0
    Exch $R3
FunctionEnd
!macroend
!insertmacro ALL_USERS_OR_ELEVATE ""
!insertmacro ALL_USERS_OR_ELEVATE "un."

; Pops a path; pushes the name by which another logon of this user reaches
; it: a mapped drive's path as its network name, any other path as it is.
Function ReachablePath
    Exch $R0
    Push $R1
    Push $R2
    ; UNIVERSAL_NAME_INFOW holds a pointer to the name, then the name itself.
    System::Alloc 4096
    Pop $R1
    System::Call 'mpr::WNetGetUniversalNameW(w R0, i 1, p R1, *i 4096) i .r2'
    ${If} $2 = 0
        System::Call '*$R1(p .R2)'
        System::Call '*$R2(&w${NSIS_MAX_STRLEN} .R0)'
    ${EndIf}
    System::Free $R1
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

; Windows replaces and deletes no file of a running program, nor a library it
; has loaded: WinKelExe and WinKelTestExe hold a mark while they run (and
; WinKelReplay, which the box does not name: it ends by itself), and another
; user's copy holds one this user may not open (access denied, 5).
; Asks until they are closed; cancelled, or silent, ends with nothing changed.
!macro PROGRAMS_CLOSED UN
Function ${UN}ProgramsClosed
    ${Do}
        System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MARK}") p .r0 ?e'
        Pop $1
        ${If} $0 P<> 0
            System::Call 'kernel32::CloseHandle(p r0)'
        ${ElseIf} $1 <> 5
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Close WinKelExe and WinKelTestExe, then choose Retry" /SD IDCANCEL IDRETRY again
        SetErrorLevel ${ERROR_LEVEL_RUNNING}
        Quit
    again:
    ${Loop}
FunctionEnd
!macroend
!insertmacro PROGRAMS_CLOSED ""
!insertmacro PROGRAMS_CLOSED "un."

Function ModePage
    ${If} $AllUsersAsked == 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Installation mode" "For whom $(^NameDA) is installed."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u "Installed for you alone, $(^NameDA) needs no administrator rights. Installed for all users, it goes to the program files folder and asks for them."
    Pop $0
    ; One group, one tab stop: the arrow keys move between the two.
    ${NSD_CreateFirstRadioButton} 10u 34u -10u 12u "Only for &me"
    Pop $0
    ${NSD_CreateAdditionalRadioButton} 10u 50u -10u 12u "For &all users of this computer"
    Pop $ModeRadio
    ; An earlier install for all users alone suggests that mode again.
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" InstallLocation
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" InstallLocation
    StrCpy $3 $0
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $3 $ModeRadio
    ${ElseIf} $1 == ""
    ${AndIf} $2 != ""
        StrCpy $3 $ModeRadio
    ${EndIf}
    ${NSD_Check} $3
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModeRadio $0
    ${If} $0 == ${BST_CHECKED}
        Push "page"
        Call AllUsersOrElevate
        Pop $0
        ${If} $0 == "cancelled"
            Abort
        ${EndIf}
    ${Else}
        Call MultiUser.InstallMode.CurrentUser
    ${EndIf}
    Call SettleInstallDir
FunctionEnd

; Installed for the user alone, the programs cannot go where only
; administrators may write.
Function DirectoryPageLeave
    ${If} $MultiUser.InstallMode == "AllUsers"
        Return
    ${EndIf}
    ; The page hands over a full path; GetFullPathName would give nothing for
    ; a folder that does not exist yet.
    StrCpy $0 $INSTDIR
    ${ForEach} $1 0 1 + 1
        ${If} $1 = 0
            StrCpy $2 $PROGRAMFILES32
        ${Else}
            StrCpy $2 $PROGRAMFILES64
        ${EndIf}
        StrLen $3 $2
        StrCpy $4 $0 $3
        StrCpy $5 $0 1 $3
        ; StrCmp is blind to case, as Windows' names are.
        ${If} $4 == $2
            ${If} $5 == "\"
            ${OrIf} $5 == ""
                MessageBox MB_ICONEXCLAMATION|MB_OK "$2 is for programs installed for all users: installed for you alone, $(^NameDA) cannot be written there. Choose another folder, or go back and install it for all users."
                Abort
            ${EndIf}
        ${EndIf}
    ${Next}
FunctionEnd

; After a change of mode: /D= wins, and an earlier install's engine is kept.
Function SettleInstallDir
    ${If} $GivenDir != ""
        StrCpy $INSTDIR $GivenDir
    ${EndIf}
    ${If} $EnginePath == ""
    ${AndIf} ${FileExists} "$INSTDIR\Solvetric.dll"
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" Engine
        ${If} $0 == "own"
            StrCpy $EnginePath "$INSTDIR\Solvetric.dll"
            Call SelectOwnEngine
        ${EndIf}
    ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- components

; Before anything is changed.
Section "-Programs closed"
    Call ProgramsClosed
SectionEnd

; Shortcuts by what they start; the names of earlier versions go.
!macro SHORTCUT NAME FILE DESCRIPTION
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    Delete "$SMPROGRAMS\${PRODUCT}\${FILE}.lnk"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${NAME}.lnk" "$INSTDIR\${FILE}.exe" "" "$INSTDIR\${FILE}.exe" 0 SW_SHOWNORMAL "" "${DESCRIPTION}"
!macroend
!define HOST_SHORTCUT "WinKel"
!define HARNESS_SHORTCUT "WinKel Test Harness"

Section "WinKelExe (required)" SecHost
    SectionIn RO
    SetOutPath $INSTDIR
    File "${DIST}/WinKelExe.exe"
    File "${SOURCE}/README.md"
    SetOutPath $INSTDIR\docs
    File "${SOURCE}/docs/architecture.md"
    File "${SOURCE}/docs/demo.png"
    SetOutPath $INSTDIR
    !insertmacro SHORTCUT "${HOST_SHORTCUT}" WinKelExe "Prepares print jobs and sends them to a printer"
SectionEnd

Section "WinKelTestExe" SecHarness
    SetOutPath $INSTDIR
    File "${DIST}/WinKelTestExe.exe"
    File "${DIST}/WinKelReplay.exe"
    SetOutPath $INSTDIR\docs
    File "${SOURCE}/docs/harness.md"
    File "${SOURCE}/docs/harness.png"
    SetOutPath $INSTDIR
    !insertmacro SHORTCUT "${HARNESS_SHORTCUT}" WinKelTestExe "Calls every entry point of the print engine by hand"
SectionEnd

SectionGroup /e "Print engine" SecEngine
    Section "Sample engine, for a demonstration" SecSample
        SetOutPath $INSTDIR
        File "${DIST}/Solvetric.dll"
        SetOutPath $INSTDIR\docs
        File "${SOURCE}/docs/sample-engine.md"
        SetOutPath $INSTDIR\sample-engine
        File "${SOURCE}/sample-engine/README.md"
        SetOutPath $INSTDIR
    SectionEnd
    Section /o "An existing Solvetric.dll" SecOwnEngine
        Push $EnginePath
        Call CheckEngine
        Pop $0
        ${If} $0 != ""
            DetailPrint $0
            SetErrorLevel ${ERROR_LEVEL_FAILED}
            Abort $0
        ${EndIf}
        ; Upgrading with the engine already in place leaves it as it is.
        GetFullPathName $0 $EnginePath
        GetFullPathName $1 "$INSTDIR\Solvetric.dll"
        ${If} $0 != $1
            CreateDirectory $INSTDIR
            ClearErrors
            CopyFiles /SILENT /FILESONLY $EnginePath "$INSTDIR\Solvetric.dll"
            ${If} ${Errors}
                SetErrorLevel ${ERROR_LEVEL_FAILED}
                Abort "$EnginePath could not be copied to $INSTDIR."
            ${EndIf}
            DetailPrint "Engine: $EnginePath copied to $INSTDIR\Solvetric.dll"
        ${EndIf}
        Delete $INSTDIR\docs\sample-engine.md
        Delete $INSTDIR\sample-engine\README.md
        RMDir $INSTDIR\sample-engine
    SectionEnd
SectionGroupEnd

Section "-Data directory"
    Call ChooseDataDirectory
SectionEnd

Section "-Uninstaller"
    ; An upgrade without the harness takes the earlier one away.
    ${IfNot} ${SectionIsSelected} ${SecHarness}
        Delete $INSTDIR\WinKelTestExe.exe
        Delete $INSTDIR\WinKelReplay.exe
        Delete $INSTDIR\docs\harness.md
        Delete $INSTDIR\docs\harness.png
        Delete "$SMPROGRAMS\${PRODUCT}\WinKelTestExe.lnk"
        Delete "$SMPROGRAMS\${PRODUCT}\${HARNESS_SHORTCUT}.lnk"
    ${EndIf}
    WriteUninstaller $INSTDIR\Uninstall.exe
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "${COMPANY}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\WinKelExe.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation $INSTDIR
    WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\Uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" DataDirectory $DataDir
    ${If} ${SectionIsSelected} ${SecOwnEngine}
        WriteRegStr SHCTX "${UNINSTALL_KEY}" Engine own
    ${Else}
        WriteRegStr SHCTX "${UNINSTALL_KEY}" Engine sample
    ${EndIf}
    ${GetSize} $INSTDIR "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecHost} "The print-job program. It frames the print engine's windows."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecHarness} "The engine test harness: every engine entry point by hand."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecEngine} "The Solvetric.dll both programs load."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSample} "A small engine of our own that shows how the programs work."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecOwnEngine} "A 32-bit Solvetric.dll you have: the next page asks where it is."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function SelectOwnEngine
    !insertmacro UnselectSection ${SecSample}
    !insertmacro SelectSection ${SecOwnEngine}
    StrCpy $EngineChoice ${SecOwnEngine}
FunctionEnd

Function .onSelChange
    !insertmacro StartRadioButtons $EngineChoice
        !insertmacro RadioButton ${SecSample}
        !insertmacro RadioButton ${SecOwnEngine}
    !insertmacro EndRadioButtons
FunctionEnd

; ---------------------------------------------------------------- the engine

; Pops a path; pushes "" when it is a 32-bit library with every entry point
; of an engine, else why not. Nothing of it runs: it is mapped without its
; start-up code and references.
!macro KEL_CHECK_EXPORT NAME
    ${If} $R2 == ""
        System::Call 'kernel32::GetProcAddress(p r11, m "${NAME}") p .r0'
        ${If} $0 P= 0
            StrCpy $R2 "$R0 lacks the engine's entry point ${NAME}."
        ${EndIf}
    ${EndIf}
!macroend
Function CheckEngine
    Exch $R0
    Push $R1
    Push $R2
    Push $0
    StrCpy $R2 ""
    ${If} $R0 == ""
        StrCpy $R2 "No engine was named."
    ${ElseIfNot} ${FileExists} $R0
        StrCpy $R2 "There is no file $R0."
    ${Else}
        ; DONT_RESOLVE_DLL_REFERENCES
        System::Call 'kernel32::LoadLibraryExW(w R0, p 0, i 1) p .R1'
        ${If} $R1 P= 0
            StrCpy $R2 "$R0 is not a 32-bit library."
        ${Else}
            !insertmacro KEL_FOR_EACH_ENTRY_POINT KEL_CHECK_EXPORT
            System::Call 'kernel32::FreeLibrary(p R1)'
        ${EndIf}
    ${EndIf}
    Pop $0
    StrCpy $R0 $R2
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

Function EnginePage
    ${IfNot} ${SectionIsSelected} ${SecOwnEngine}
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Print engine" "The Solvetric.dll the programs are to use."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u "Choose your Solvetric.dll: a 32-bit library with the engine's entry points. It is copied beside the programs; libraries it needs itself must be found by Windows."
    Pop $0
    ${NSD_CreateFileRequest} 0 34u -60u 12u $EnginePath
    Pop $EngineField
    ${NSD_CreateBrowseButton} -55u 33u 55u 14u "B&rowse..."
    Pop $0
    ${NSD_OnClick} $0 BrowseEngine
    nsDialogs::Show
FunctionEnd

Function BrowseEngine
    ${NSD_GetText} $EngineField $0
    nsDialogs::SelectFileDialog open $0 "Solvetric.dll|Solvetric.dll|Libraries (*.dll)|*.dll"
    Pop $0
    ${If} $0 != ""
        ${NSD_SetText} $EngineField $0
    ${EndIf}
FunctionEnd

Function EnginePageLeave
    ${NSD_GetText} $EngineField $EnginePath
    Push $EnginePath
    Call CheckEngine
    Pop $0
    ${If} $0 != ""
        MessageBox MB_ICONEXCLAMATION|MB_OK $0
        Abort
    ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- data directory

; Under ProgramData a file belongs to whoever made it, and other users may not
; change it: the local Users group, named by its SID since its name is
; translated, gets modify rights on the folder, inherited by what it holds.
; Pops the folder; pushes 0 or the system's error.
Function GrantUsersModify
    Exch $R0
    Push $R1
    StrCpy $R1 0
    !ifdef TEST_SEAMS
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/TESTRIGHTS=" $R1
        ${If} ${Errors}
            StrCpy $R1 0
        ${EndIf}
    !endif
    ${If} $R1 = 0
        System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;OICI;0x1301bf;;;S-1-5-32-545)", i 1, *p .r1, p 0) i .r0 ?e'
        Pop $R1
        ${If} $0 <> 0
            System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4)'
            ; Unprotected: the entries it inherits stay, the new one is added.
            System::Call 'advapi32::SetNamedSecurityInfoW(w R0, i 1, i 0x20000004, p 0, p 0, p r3, p 0) i .R1'
            System::Call 'kernel32::LocalFree(p r1)'
        ${EndIf}
    ${EndIf}
    StrCpy $R0 $R1
    Pop $R1
    Exch $R0
FunctionEnd

; Vemtrax.dll chooses; the directory is made and kept for the uninstaller.
Function ChooseDataDirectory
    ; Installed for the user alone, the data are the user's alone too: a
    ; folder of the user's own makes Vemtrax.dll answer with it. An upgrade
    ; keeps the directory it had.
    ${If} $MultiUser.InstallMode == "CurrentUser"
        ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" DataDirectory
        ${If} $0 == ""
        ${OrIfNot} ${FileExists} "$0*.*"
            CreateDirectory "$APPDATA\${DATA_LEVEL1}\${DATA_LEVEL2}"
        ${EndIf}
    ${EndIf}
    InitPluginsDir
    File "/oname=$PLUGINSDIR\Vemtrax.dll" "${DIST}/Vemtrax.dll"
    ; Vemtrax takes no size: room for its longest answer, the system folder
    ; and the user name (2047 characters each) with the three levels, five
    ; backslashes and the terminator.
    StrLen $1 "${DATA_LEVEL1}${DATA_LEVEL2}${DATA_LEVEL3}"
    IntOp $1 $1 + 4100
    IntOp $1 $1 * 2
    System::Alloc $1
    Pop $2
    StrCpy $3 ""
    System::Call '"$PLUGINSDIR\Vemtrax.dll"::GetUserDirectory32(p r2, w "${DATA_LEVEL1}", w "${DATA_LEVEL2}", w "${DATA_LEVEL3}") i .r3 ?u'
    System::Call 'kernel32::lstrlenW(p r2) i .r4'
    StrCpy $0 ""
    ${If} $4 < ${NSIS_MAX_STRLEN}
        System::Call '*$2(&w${NSIS_MAX_STRLEN} .r0)'
    ${EndIf}
    System::Free $2
    ${If} $3 != 0
    ${AndIf} $3 != 1
        StrCpy $0 ""
    ${EndIf}
    ${If} $0 == ""
        SetErrorLevel ${ERROR_LEVEL_FAILED}
        Abort "Vemtrax.dll gave no data directory (answer $3, $4 characters)."
    ${EndIf}
    StrCpy $DataDir $0
    DetailPrint "Data directory (Vemtrax.dll answered $3): $DataDir"

    StrCpy $5 0 ; whether this run made it
    ${IfNot} ${FileExists} "$DataDir*.*"
        ClearErrors
        CreateDirectory $DataDir
        ${IfNot} ${Errors}
            StrCpy $5 1
        ${EndIf}
    ${EndIf}
    ${If} $3 == 1
    ${AndIf} $MultiUser.InstallMode == "AllUsers"
        StrCpy $DataNote "You have a data directory of your own, so your data stay private to you; other users get the shared one:$\r$\n$DataDir"
    ${ElseIf} $3 == 1
        StrCpy $DataNote "Your data directory, yours alone:$\r$\n$DataDir"
    ${ElseIf} $MultiUser.InstallMode == "AllUsers"
        StrCpy $DataNote "The data directory, shared by all users:$\r$\n$DataDir"
    ${Else}
        StrCpy $DataNote "The data directory is shared by all users of this computer, though $(^NameDA) is installed for you alone:$\r$\n$DataDir"
        DetailPrint "The data directory is shared by all users, the programs are yours alone."
    ${EndIf}
    ${IfNot} ${FileExists} "$DataDir*.*"
        StrCpy $DataNote "$DataNote$\r$\n$\r$\nYour account may not create it: an administrator has to."
        DetailPrint "The data directory could not be created."
    ${ElseIf} $5 == 1
    ${AndIf} $3 == 0
        Push $DataDir
        Call GrantUsersModify
        Pop $0
        ${If} $0 = 0
            DetailPrint "All users may change what the data directory holds."
        ${Else}
            DetailPrint "All users could not be given the right to change what the data directory holds (error $0)."
            StrCpy $DataNote "$DataNote$\r$\n$\r$\nOther users may not be able to change what it holds: giving them the right failed (error $0)."
        ${EndIf}
    ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- start

!macro TEST_SEAMS_INIT
    !ifdef TEST_SEAMS
        ; /TESTPRIVILEGES=User takes the elevation path where Wine grants
        ; every right; the elevated copy, started with /ELEVATED, keeps its own.
        ${GetParameters} $R0
        ClearErrors
        ${GetOptions} $R0 "/ELEVATED" $R1
        ${If} ${Errors}
            ClearErrors
            ${GetOptions} $R0 "/TESTPRIVILEGES=" $R1
            ${IfNot} ${Errors}
                StrCpy $MultiUser.Privileges $R1
            ${EndIf}
        ${EndIf}
        ClearErrors
        ${GetOptions} $R0 "/TESTELEVATION=" $TestElevation
        ${If} ${Errors}
            StrCpy $TestElevation ""
        ${EndIf}
    !endif
!macroend

Function .onInit
    StrCpy $GivenDir $INSTDIR
    SetRegView ${REG_VIEW}
    !insertmacro MULTIUSER_INIT
    !insertmacro TEST_SEAMS_INIT
    ${GetParameters} $R0

    ; The engine is checked before any elevation: the elevated copy would
    ; only fail on it, after the prompt.
    StrCpy $EngineChoice ${SecSample}
    ClearErrors
    ${GetOptions} $R0 "/ENGINE=" $EnginePath
    ${If} ${Errors}
        StrCpy $EnginePath ""
    ${Else}
        Call SelectOwnEngine
        ${If} ${Silent}
            Push $EnginePath
            Call CheckEngine
            Pop $0
            ${If} $0 != ""
                SetErrorLevel ${ERROR_LEVEL_FAILED}
                Quit
            ${EndIf}
        ${EndIf}
    ${EndIf}

    ClearErrors
    ${GetOptions} $R0 "/ALLUSERS" $R1
    ${IfNot} ${Errors}
        StrCpy $AllUsersAsked 1
        Push ""
        Call AllUsersOrElevate
        Pop $0
    ${EndIf}
    Call SettleInstallDir
FunctionEnd

Function .onInstFailed
    SetErrorLevel ${ERROR_LEVEL_FAILED}
FunctionEnd

Function un.onUninstFailed
    SetErrorLevel ${ERROR_LEVEL_FAILED}
FunctionEnd

; ---------------------------------------------------------------- uninstall

Section "-un.Programs closed"
    Call un.ProgramsClosed
SectionEnd

Section "un.Programs, shortcuts and entry" UnSecPrograms
    SectionIn RO
    Delete $INSTDIR\WinKelExe.exe
    Delete $INSTDIR\WinKelTestExe.exe
    Delete $INSTDIR\WinKelReplay.exe
    Delete $INSTDIR\Solvetric.dll
    Delete $INSTDIR\README.md
    Delete $INSTDIR\docs\architecture.md
    Delete $INSTDIR\docs\demo.png
    Delete $INSTDIR\docs\harness.md
    Delete $INSTDIR\docs\harness.png
    Delete $INSTDIR\docs\sample-engine.md
    Delete $INSTDIR\sample-engine\README.md
    RMDir $INSTDIR\docs
    RMDir $INSTDIR\sample-engine
    Delete "$SMPROGRAMS\${PRODUCT}\${HOST_SHORTCUT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${HARNESS_SHORTCUT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\WinKelExe.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\WinKelTestExe.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    ; The entry and the uninstaller stay while a program stays, so that Apps
    ; still lists what is left and can remove it later.
    ${If} ${FileExists} $INSTDIR\WinKelExe.exe
    ${OrIf} ${FileExists} $INSTDIR\WinKelTestExe.exe
    ${OrIf} ${FileExists} $INSTDIR\WinKelReplay.exe
    ${OrIf} ${FileExists} $INSTDIR\Solvetric.dll
        SetErrorLevel ${ERROR_LEVEL_FAILED}
        Abort "Files of $(^Name) in $INSTDIR could not be removed: its entry stays, for another try."
    ${EndIf}
    Delete $INSTDIR\Uninstall.exe
    RMDir $INSTDIR
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Data directory" UnSecData
    ; Only a directory of ours: the entry it comes from may have been edited.
    ${UnStrStr} $0 $DataDir "\${DATA_LEVEL1}\${DATA_LEVEL2}\"
    ${If} $0 != ""
        RMDir /r $DataDir
        ; and the level above when nothing else is in it
        RMDir "$DataDir.."
    ${EndIf}
SectionEnd

Function un.onInit
    SetRegView ${REG_VIEW}
    !insertmacro MULTIUSER_UNINIT
    !insertmacro TEST_SEAMS_INIT
    ; The entry in the machine's hive names this folder: an all-users install.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" InstallLocation
    ${If} $0 != ""
        GetFullPathName $0 $0
        GetFullPathName $1 $INSTDIR
        ${If} $0 == $1
            Push ""
            Call un.AllUsersOrElevate
            Pop $0
        ${EndIf}
    ${EndIf}
    ReadRegStr $DataDir SHCTX "${UNINSTALL_KEY}" DataDirectory
    ${If} $DataDir == ""
        SectionSetText ${UnSecData} ""
    ${Else}
        SectionSetText ${UnSecData} "Data directory $DataDir, with everything in it"
    ${EndIf}
FunctionEnd
