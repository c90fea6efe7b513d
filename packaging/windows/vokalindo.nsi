; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: the programs into Program Files, a class folder with an empty list of
; learners (by default a "Vokalindo" folder in the public documents), Start menu entries that start
; the learners' program and the teacher's window in that folder, and an uninstaller that leaves the
; learners' files where they are.
; Nothing is fetched from the internet.
;   makensis -DVERSION=1.0 -DSOURCE=<the installed folder> -DOUTFILE=<setup.exe> vokalindo.nsi
; Silent: setup.exe /S [/CLASSFOLDER=<folder>] [/D=<program folder>]; uninstall.exe /S
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Vokalindo"
!define TEACHER_SHORTCUT "$SMPROGRAMS\${PRODUCT} – tanári ablak.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vokalindo"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

Var ClassFolder

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_TEXT "Az osztály mappája"
!define MUI_PAGE_HEADER_SUBTEXT "Ebben a mappában dolgoznak a tanulók: itt a névsor, a szójegyzékek és az eredmények."
!define MUI_DIRECTORYPAGE_TEXT_TOP "A program ebben a mappában indul. Iskolai hálózaton adja meg az osztály közös mappáját a kiszolgálón (például \\kiszolgalo\vokalindo\5a); egy gépen maradhat a nyilvános dokumentumok mappája."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "Az osztály mappája"
!define MUI_DIRECTORYPAGE_VARIABLE $ClassFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Hungarian"

Function .onInit
    SetShellVarContext all
    SetRegView 64
    ReadEnvStr $0 PUBLIC
    StrCpy $ClassFolder "$0\Documents\${PRODUCT}"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/CLASSFOLDER=" $2
    ${IfNot} ${Errors}
        StrCpy $ClassFolder $2
    ${EndIf}
FunctionEnd

Section "Vokalindo"
    SetOutPath "$INSTDIR"
    File "${SOURCE}\Vokalindo.exe"
    File "${SOURCE}\vokalindo-lists.exe"
    File "${SOURCE}\vokalindo-tanar.exe"
    File "${SOURCE}\LICENSE.txt"

    ; The class folder: made with an empty list of learners when there is none; what is there stays.
    ; Every account of the computer (Users) may read everything in it and add files and folders, and
    ; owns (CREATOR OWNER) what it adds, but may not change or remove another's: Windows' form of
    ; the sticky class folder on Linux. The list of learners is everyone's to add to. The lock's
    ; folder is the administrators'; every account takes and gives back turns inside it.
    CreateDirectory "$ClassFolder"
    ${IfNot} ${FileExists} "$ClassFolder\init.usr"
        FileOpen $0 "$ClassFolder\init.usr" w
        FileClose $0
    ${EndIf}
    CreateDirectory "$ClassFolder\.vokalindo-lock"
    nsExec::Exec 'icacls "$ClassFolder" /grant *S-1-5-32-545:(RX,WD,AD) *S-1-5-32-545:(OI)(CI)(IO)(RX) *S-1-3-0:(OI)(CI)(IO)F'
    Pop $0
    nsExec::Exec 'icacls "$ClassFolder\init.usr" /grant *S-1-5-32-545:M'
    Pop $0
    nsExec::Exec 'icacls "$ClassFolder\.vokalindo-lock" /grant *S-1-5-32-545:(OI)(CI)M'
    Pop $0

    ; The computer's setting, as /etc/vokalindo.conf is on Linux.
    CreateDirectory "$APPDATA\${PRODUCT}"
    FileOpen $0 "$APPDATA\${PRODUCT}\vokalindo.conf" w
    FileWrite $0 "# Vokalindo: az osztály közös mappája ezen a számítógépen.$\r$\n"
    FileWrite $0 "directory=$ClassFolder$\r$\n"
    FileClose $0

    ; The shortcuts start the programs in the class folder ("Start in").
    SetOutPath "$ClassFolder"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vokalindo.exe" "" "$INSTDIR\Vokalindo.exe" 0 \
        SW_SHOWNORMAL "" "Angol–magyar szógyakorló"
    CreateShortcut "${TEACHER_SHORTCUT}" "$INSTDIR\vokalindo-tanar.exe" "" "$INSTDIR\vokalindo-tanar.exe" 0 \
        SW_SHOWNORMAL "" "Az osztály szójegyzékei és eredményei"

    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vokalindo.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

; The programs go; the class folder, its learners and their results stay, and so does the setting
; that names it.
Section "Uninstall"
    Delete "$INSTDIR\Vokalindo.exe"
    Delete "$INSTDIR\vokalindo-lists.exe"
    Delete "$INSTDIR\vokalindo-tanar.exe"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "${TEACHER_SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
