; Installer of the Windows program: per machine into Program Files\Aldrun Quillo, one Start
; menu entry, an uninstaller listed under Apps & features; /S installs and uninstalls silently.
; scripts/package-windows builds it:
;   makensis -DVERSION=1.0.0 -DPROGRAM=<quillo-config.exe> -DICON=<.ico> -DOUTFILE=<setup.exe>
;            [-DCLI_PROGRAM=<quilloctl.exe>] quillo-config.nsi

!macro REQUIRE name
  !ifndef ${name}
    !error "-D${name}=... is missing"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE PROGRAM
!insertmacro REQUIRE ICON
!insertmacro REQUIRE OUTFILE

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Quillo Config"
!define PUBLISHER "Aldrun"
!define PROGRAM_NAME "quillo-config.exe"
!define CLI_PROGRAM_NAME "quilloctl.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALLER "Uninstall ${PRODUCT}.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QuilloConfig"
; Held by every running copy of the program.
!define INSTANCE_MUTEX "User_program_Tessmark_Ombrel"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Aldrun Quillo"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The program's ten languages; the installer takes the user's, else English (the first).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "Ukrainian"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Danish"
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "Norwegian"
!insertmacro MUI_LANGUAGE "Swedish"
!insertmacro MUI_LANGUAGE "Finnish"

; A running copy holds its program file open, so it could be neither replaced nor removed.
!macro REFUSE_WHILE_RUNNING un
  Function ${un}RefuseWhileRunning
    ; SYNCHRONIZE access is enough to learn that the mutex exists.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
      MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it, then start again." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Function .onInit
  SetShellVarContext all
  SetRegView 64
  Call RefuseWhileRunning
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
  Call un.RefuseWhileRunning
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=${PROGRAM_NAME}" "${PROGRAM}"
!ifdef CLI_PROGRAM
  File "/oname=${CLI_PROGRAM_NAME}" "${CLI_PROGRAM}"
!endif
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM_NAME}" "" "$INSTDIR\${PROGRAM_NAME}" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM_NAME},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes exactly what was installed. The user's language choice (HKCU\SOFTWARE\Aldrun
; Quillo\User Program) stays, so a later install starts in the chosen language.
Section "Uninstall"
  Delete "$INSTDIR\${PROGRAM_NAME}"
!ifdef CLI_PROGRAM
  Delete "$INSTDIR\${CLI_PROGRAM_NAME}"
!endif
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: a folder the user chose may hold files of their own.
  RMDir "$INSTDIR"
SectionEnd
