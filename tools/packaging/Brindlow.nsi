; The Windows installer of Brindlow, for 64-bit Windows and the 64- and 32-bit hosts on it.
; tools/packaging/windows-packages.sh runs makensis with:
;   VERSION   the product's version (1.2.3)
;   STAGE     the files as they are installed (the zip's folders):
;             "Common Files\VST3\Brindlow.vst3", "Common Files\CLAP\Brindlow.clap",
;             "Common Files (x86)\CLAP\Brindlow.clap", "VSTPlugins\Brindlow.dll",
;             "VSTPlugins (x86)\Brindlow.dll"
;   ICON      Brindlow.ico
;   OUTFILE   the installer
;
; Silent: Brindlow-<version>-setup.exe /S [/VST32DIR=folder] [/D=folder]
;   /D= (last, unquoted, as NSIS wants it) is the 64-bit VST 2.4 folder, /VST32DIR= the
;   32-bit one. The uninstaller takes /S too.
Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Brindlow"
!define PUBLISHER "Ardelnu"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brindlow"
; The uninstaller and the icon Windows shows in its list of programs.
!define APP_DIR "$PROGRAMFILES64\Ardelnu\Brindlow"

Name "Brindlow-Mono/Stereo Delay ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\VSTPlugins"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Brindlow-Mono/Stereo Delay"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Brindlow-Mono/Stereo Delay ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "All rights reserved, Ardelnu"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC

Var Vst2Dir32

!insertmacro MUI_PAGE_COMPONENTS
; The VST 2.4 folders: hosts differ, so the user picks them (shown only with VST 2.4 ticked).
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2
!define MUI_DIRECTORYPAGE_TEXT_TOP "Folder of the 64-bit VST 2.4 plug-in (Brindlow.dll); use your host's VST folder."
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipUnlessVst2
!define MUI_DIRECTORYPAGE_VARIABLE $Vst2Dir32
!define MUI_DIRECTORYPAGE_TEXT_TOP "Folder of the 32-bit VST 2.4 plug-in, for 32-bit hosts."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Brindlow's installer needs 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  StrCpy $Vst2Dir32 "$PROGRAMFILES32\VSTPlugins"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/VST32DIR=" $1
  ${IfNot} ${Errors}
    StrCpy $Vst2Dir32 $1
  ${EndIf}
FunctionEnd

Section "VST 3 (64- and 32-bit)" SecVst3
  SetOutPath "$COMMONFILES64\VST3"
  File /r "${STAGE}\Common Files\VST3\Brindlow.vst3"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledVst3" 1
SectionEnd

Section "CLAP (64- and 32-bit)" SecClap
  SetOutPath "$COMMONFILES64\CLAP"
  File "${STAGE}\Common Files\CLAP\Brindlow.clap"
  SetOutPath "$COMMONFILES32\CLAP"
  File "${STAGE}\Common Files (x86)\CLAP\Brindlow.clap"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledClap" 1
SectionEnd

Section "VST 2.4 (64- and 32-bit)" SecVst2
  SetOutPath "$INSTDIR"
  File "${STAGE}\VSTPlugins\Brindlow.dll"
  SetOutPath "$Vst2Dir32"
  File "${STAGE}\VSTPlugins (x86)\Brindlow.dll"
  ; The uninstaller's own folder is not the plug-in folder: it learns them from here.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Vst2Folder64" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Vst2Folder32" "$Vst2Dir32"
SectionEnd

; Always: the uninstaller and its entry in Windows' list of programs.
Section "-Uninstaller"
  SetOutPath "${APP_DIR}"
  File "/oname=Brindlow.ico" "${ICON}"
  WriteUninstaller "${APP_DIR}\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Brindlow-Mono/Stereo Delay ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${APP_DIR}\Brindlow.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${APP_DIR}\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${APP_DIR}\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "${APP_DIR}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, what the ticked components hold.
  StrCpy $0 0
  ${If} ${SectionIsSelected} ${SecVst3}
    SectionGetSize ${SecVst3} $1
    IntOp $0 $0 + $1
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecClap}
    SectionGetSize ${SecClap} $1
    IntOp $0 $0 + $1
  ${EndIf}
  ${If} ${SectionIsSelected} ${SecVst2}
    SectionGetSize ${SecVst2} $1
    IntOp $0 $0 + $1
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function SkipUnlessVst2
  ${IfNot} ${SectionIsSelected} ${SecVst2}
    Abort
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; Removes the files the installer put down, each component only if it was installed, and
; the folders only when nothing else is left in them.
Section "Uninstall"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledVst3"
  ${If} $0 == 1
    RMDir /r "$COMMONFILES64\VST3\Brindlow.vst3"
    RMDir "$COMMONFILES64\VST3"
  ${EndIf}
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledClap"
  ${If} $0 == 1
    Delete "$COMMONFILES64\CLAP\Brindlow.clap"
    RMDir "$COMMONFILES64\CLAP"
    Delete "$COMMONFILES32\CLAP\Brindlow.clap"
    RMDir "$COMMONFILES32\CLAP"
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Vst2Folder64"
  ${If} $0 != ""
    Delete "$0\Brindlow.dll"
    RMDir "$0"
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Vst2Folder32"
  ${If} $0 != ""
    Delete "$0\Brindlow.dll"
    RMDir "$0"
  ${EndIf}
  Delete "${APP_DIR}\Brindlow.ico"
  Delete "${APP_DIR}\uninstall.exe"
  RMDir "${APP_DIR}"
  RMDir "$PROGRAMFILES64\Ardelnu"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
