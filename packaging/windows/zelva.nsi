; The Windows installer of Zelva Billing System, made by scripts/package-windows.sh:
;   makensis -DVERSION=<version> -DSTAGE=<staged files> -DOUTFILE=<setup.exe> zelva.nsi
; It installs the files of files.txt (the same list, file by file, below) into
; Program Files, a Start-menu entry and an uninstaller. The shop's data is
; never here: the program keeps it in %APPDATA%\ZelvaBilling, which the
; uninstaller leaves as it is.
; A 64-bit installer for the 64-bit program (Wine runs it without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh

!ifndef VERSION | STAGE | OUTFILE
  !error "give VERSION, STAGE and OUTFILE with -D"
!endif

!define PRODUCT "Zelva Billing System"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZelvaBilling"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Zelva Billing"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} installer"
VIAddVersionKey "LegalCopyright" "Zelva Billing System developers"

!define MUI_ICON "${STAGE}\zelva.ico"
!define MUI_UNICON "${STAGE}\zelva.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT}, billing and stock for a business that charges GST.$\r$\n$\r$\n\
The shop's data is not kept in the program's folder: each Windows user's data and settings are in \
%APPDATA%\ZelvaBilling. Installing a newer version, or uninstalling, leaves that folder as it is; copy it to keep \
a backup or to move to another computer. Printed copies without a printer go as PDF into Documents\Zelva Billing \
Prints.$\r$\n$\r$\n\
This Windows build keeps the data in files only: the PostgreSQL server store for several counters \
(--server, --copy-to-server) is not part of it."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelva.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!insertmacro MUI_PAGE_FINISH
!define MUI_WELCOMEPAGE_TEXT "This removes ${PRODUCT} from $INSTDIR.$\r$\n$\r$\n\
The shop's data in %APPDATA%\ZelvaBilling stays as it is."
!insertmacro MUI_UNPAGE_WELCOME
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Program" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\zelva.exe"
  File "${STAGE}\zelva.ico"
  File "${STAGE}\copyright.txt"
  File "${STAGE}\Qt6Core.dll"
  File "${STAGE}\Qt6Gui.dll"
  File "${STAGE}\Qt6Widgets.dll"
  File "${STAGE}\Qt6Sql.dll"
  File "${STAGE}\Qt6PrintSupport.dll"
  File "${STAGE}\libsqlite3-0.dll"
  File "${STAGE}\libsodium-23.dll"
  File "${STAGE}\libqrencode.dll"
  File "${STAGE}\libzint.dll"
  File "${STAGE}\libxlsxwriter.dll"
  File "${STAGE}\libminizip-1.dll"
  File "${STAGE}\zlib1.dll"
  File "${STAGE}\libgcc_s_seh-1.dll"
  File "${STAGE}\libstdc++-6.dll"
  File "${STAGE}\libwinpthread-1.dll"
  SetOutPath "$INSTDIR\platforms"
  File "${STAGE}\platforms\qwindows.dll"
  SetOutPath "$INSTDIR\sqldrivers"
  File "${STAGE}\sqldrivers\qsqlite.dll"
  SetOutPath "$INSTDIR\styles"
  File "${STAGE}\styles\qwindowsvistastyle.dll"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; For every user of the computer: the program is installed for all of them.
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zelva.exe" "" "$INSTDIR\zelva.ico" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zelva Billing System developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelva.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there; the data folder is elsewhere and stays.
Section "Uninstall"
  Delete "$INSTDIR\zelva.exe"
  Delete "$INSTDIR\zelva.ico"
  Delete "$INSTDIR\copyright.txt"
  Delete "$INSTDIR\Qt6Core.dll"
  Delete "$INSTDIR\Qt6Gui.dll"
  Delete "$INSTDIR\Qt6Widgets.dll"
  Delete "$INSTDIR\Qt6Sql.dll"
  Delete "$INSTDIR\Qt6PrintSupport.dll"
  Delete "$INSTDIR\libsqlite3-0.dll"
  Delete "$INSTDIR\libsodium-23.dll"
  Delete "$INSTDIR\libqrencode.dll"
  Delete "$INSTDIR\libzint.dll"
  Delete "$INSTDIR\libxlsxwriter.dll"
  Delete "$INSTDIR\libminizip-1.dll"
  Delete "$INSTDIR\zlib1.dll"
  Delete "$INSTDIR\libgcc_s_seh-1.dll"
  Delete "$INSTDIR\libstdc++-6.dll"
  Delete "$INSTDIR\libwinpthread-1.dll"
  Delete "$INSTDIR\platforms\qwindows.dll"
  Delete "$INSTDIR\sqldrivers\qsqlite.dll"
  Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
  RMDir "$INSTDIR\platforms"
  RMDir "$INSTDIR\sqldrivers"
  RMDir "$INSTDIR\styles"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
