; The Windows installer of Vorlix Editor (scripts/build-windows.sh makes it
; with makensis). It installs the files of the zip for the current user
; (the default, needing no administrator) or for all users, adds the editor
; to the Start menu with its icon, opens FullFlash files (*.fls) in the
; editor, opens V_Klay patches (*.vkp) in the editor's patch pane, and
; registers an uninstaller that takes all of it away again. The settings the programs keep in the user's registry key
; stay, as a new installation takes them up again.
;
; Defined on makensis's command line:
;   VERSION  the program's version ("0.7.8")
;   STAGE    the folder of the files to install (the zip's folder)
;   FILES    an include file of File commands for STAGE
;   UNFILES  an include file of the matching Delete and RMDir commands
;   ICON     the program's icon (dist/icons/vorlix.ico)
;   OUTFILE  the installer to write

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "Vorlix Editor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VorlixEditor"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
; Where the uninstaller finds the mode and the folder of the installation.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh

Name "${APP}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\vorlix.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The Vorlix Editor developers"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A file type with the program's icon, opened by COMMAND: the extension
; names our type unless another program has taken it, and our type is among
; its "Open with" either way.
!macro FileType EXT PROGID TEXT COMMAND
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${TEXT}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\vorlix.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '${COMMAND}'
  ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
  ${If} $0 == ""
    WriteRegStr SHCTX "Software\Classes\${EXT}" "" "${PROGID}"
  ${EndIf}
  WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
!macroend

!macro RemoveFileType EXT PROGID
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
  ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
  ${If} $0 == "${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\${EXT}" ""
  ${EndIf}
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
!macroend

Section "${APP}"
  ; Whether this installation makes the folder of one user's programs.
  StrCpy $R9 ""
  ${IfNot} ${FileExists} "$LOCALAPPDATA\Programs\*.*"
    StrCpy $R9 "1"
  ${EndIf}
  SetOutPath "$INSTDIR"
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\vorlix.exe" "" "$INSTDIR\vorlix.exe" 0

  !insertmacro FileType ".fls" "Vorlix.FullFlash" "FullFlash" '"$INSTDIR\vorlix.exe" "%1"'
  !insertmacro FileType ".vkp" "Vorlix.Patch" "V_Klay Patch" '"$INSTDIR\vorlix.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\Vorlix.Patch" "PerceivedType" "text"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vorlix.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Vorlix Editor developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $MultiUser.InstallMode == "CurrentUser"
  ${AndIf} $R9 == "1"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "MadeProgramsFolder" "1"
  ${EndIf}
SectionEnd

Section "Uninstall"
  ReadRegStr $R9 SHCTX "${UNINSTALL_KEY}" "MadeProgramsFolder"
  Delete "$SMPROGRAMS\${APP}.lnk"
  !insertmacro RemoveFileType ".fls" "Vorlix.FullFlash"
  !insertmacro RemoveFileType ".vkp" "Vorlix.Patch"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The folder of one user's programs, when the installation made it and
  ; nothing else is there.
  ${If} $R9 == "1"
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
SectionEnd
