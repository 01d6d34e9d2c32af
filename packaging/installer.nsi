; Installer of the ZAVI-GSM configuration tool, made by scripts/package.sh with makensis.
;
; Per user, no administrator rights: the program goes to %LOCALAPPDATA%\Programs\ZAVI-GSM and
; its Start-menu shortcut starts it in %APPDATA%\ZAVI-GSM, a folder the user can always write,
; where it keeps config.db. One installer for both kinds of Windows: it is a 32-bit program and
; installs the x86_64 build on 64-bit Windows, the i686 build otherwise.
;
; Defines (makensis -D...): VERSION (1.5), VERSION_QUAD (1.5.0.0), EXE_X86, EXE_X64, README,
; OUTFILE; AMD64 makes a 64-bit installer from the same script, for machines that run only
; 64-bit programs.

Unicode true
!ifdef AMD64
Target amd64-unicode
!endif

!include LogicLib.nsh
!include x64.nsh

!define APP "ZAVI-GSM"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZAVI-GSM"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${APP}"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "CompanyName" "ZAVI"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "(c) ZAVI"

; The first language is the fallback; Windows' own language picks among them.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Polish.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"

LangString RemoveSettings ${LANG_ENGLISH} \
    "Remove the program's settings too ($APPDATA\${APP}\config.db)?"
LangString RemoveSettings ${LANG_POLISH} \
    "Usunąć także ustawienia programu ($APPDATA\${APP}\config.db)?"
LangString RemoveSettings ${LANG_GERMAN} \
    "Auch die Einstellungen des Programms entfernen ($APPDATA\${APP}\config.db)?"

; The folder is fixed: another one (Program Files, say) may not be writable for the user.
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "${APP}"
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        File "/oname=zavi-gsm.exe" "${EXE_X64}"
    ${Else}
        File "/oname=zavi-gsm.exe" "${EXE_X86}"
    ${EndIf}
    File "/oname=README.txt" "${README}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut's working folder is the current output path when it is made.
    CreateDirectory "$APPDATA\${APP}"
    SetOutPath "$APPDATA\${APP}"
    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\zavi-gsm.exe" "" "$INSTDIR\zavi-gsm.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "ZAVI"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zavi-gsm.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what the installer put there: RMDir without /r leaves a folder that holds
; anything else. The settings go only when the user says so; a silent uninstall keeps them.
Section "Uninstall"
    Delete "$INSTDIR\zavi-gsm.exe"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    IfFileExists "$APPDATA\${APP}\config.db" 0 settings_done
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettings)" /SD IDNO IDNO settings_done
    Delete "$APPDATA\${APP}\config.db"
settings_done:
    RMDir "$APPDATA\${APP}"
SectionEnd
