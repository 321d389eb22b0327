; The Zelvora installer. makensis -DVERSION=… -DSTAGE=<folder holding zelvora.exe and its DLLs>
; -DLICENCE_PAGE=<the licence page's text> -DSIDE_PICTURE=<164 × 314 BMP> -DOUTFILE=…
; zelvora.nsi (scripts/package-windows.sh makes both). Pages, all in Chinese: welcome and
; finish (with the side picture), licences, for whom, where, installing. Installs for the
; current user or for all users (/CurrentUser, /AllUsers; a silent install, /S, takes all users
; when it may), adds a Start-menu entry, an entry in Explorer's folder menu, and an uninstaller
; registered in "Apps & features". The uninstaller removes all of it and leaves the user's
; batch journals.

; A 64-bit installer for a 64-bit program: it runs where Zelvora runs, Wine's 64-bit loader too.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Zelvora"
!define PUBLISHER "Zelvora"
!define COPYRIGHT "Copyright (c) 2026 The Zelvora developers"
!define HOMEPAGE "https://zelvora.org/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvora"
!define FOLDER_VERB "Software\Classes\Directory\shell\Zelvora"
!define BACKGROUND_VERB "Software\Classes\Directory\Background\shell\Zelvora"
!define VERB_TEXT "用 Zelvora 批量改名"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Zelvora"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${STAGE}\zelvora.ico"
!define MUI_UNICON "${STAGE}\zelvora.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENCE_PAGE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
; The files installed stay in view until 下一步.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelvora.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Zelvora"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortCut "$SMPROGRAMS\Zelvora.lnk" "$INSTDIR\zelvora.exe"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelvora.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ; What "Apps & features" shows as the size: the installed folder, in KB.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

    WriteRegStr SHCTX "${FOLDER_VERB}" "" "${VERB_TEXT}"
    WriteRegStr SHCTX "${FOLDER_VERB}" "Icon" "$INSTDIR\zelvora.exe,0"
    WriteRegStr SHCTX "${FOLDER_VERB}\command" "" '"$INSTDIR\zelvora.exe" "%1"'
    WriteRegStr SHCTX "${BACKGROUND_VERB}" "" "${VERB_TEXT}"
    WriteRegStr SHCTX "${BACKGROUND_VERB}" "Icon" "$INSTDIR\zelvora.exe,0"
    ; "%V" alone would end a drive's root in a backslash before the closing quote, "C:\", which
    ; Windows' rules read as C:" (a quoted quote). "%V\." always ends in a dot: the folder is
    ; the same ("C:\\." is C:\, "C:\Data\." is C:\Data) and every argument arrives whole.
    WriteRegStr SHCTX "${BACKGROUND_VERB}\command" "" '"$INSTDIR\zelvora.exe" "%V\."'
SectionEnd

; Only what the installer put there goes, so a folder chosen by hand loses nothing else. The
; journals live in %LOCALAPPDATA%\Zelvora, never in the program's folder: they stay.
Section "Uninstall"
    Delete "$SMPROGRAMS\Zelvora.lnk"
    DeleteRegKey SHCTX "${FOLDER_VERB}"
    DeleteRegKey SHCTX "${BACKGROUND_VERB}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    Delete "$INSTDIR\zelvora.exe"
    Delete "$INSTDIR\zelvora.ico"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\LICENSE*.txt"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\translations"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
