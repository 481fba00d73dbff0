; The Varnoke installer (NSIS 3, Unicode, Japanese). Built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe>
;            -DICON=<the program's .ico> [-DTARGET=amd64-unicode] varnoke.nsi
; TARGET picks the installer's own architecture, that of the Varnoke.exe in STAGE.
;
; A per-user install into %LOCALAPPDATA%\Programs\Varnoke, without administrator rights, so
; that the history data file beside the program stays writable. An upgrade keeps the
; settings, the history and a Symbol.txt the user has edited. The uninstaller ends a
; running Varnoke with WM_CLOSE, so it saves its history first, and asks before it deletes
; the history and the settings; the silent uninstall (/S) keeps them.

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef STAGE | OUTFILE | ICON
  !error "define STAGE, OUTFILE and ICON (see scripts/package.sh)"
!endif

; The version comes from the program's own version resource.
!getdllversion "${STAGE}\Varnoke.exe" EXE_
!define VERSION "${EXE_1}.${EXE_2}"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnoke"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Tolm\Varnoke"
!define HISTORY_HEADER "Varnoke Clipboard History Data File"
!define EXACT_HEADER "Varnoke Exact Text Data File"

Name "Varnoke"
Caption "Varnoke ${VERSION} セットアップ"
UninstallCaption "Varnoke ${VERSION} アンインストール"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Varnoke"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "Varnoke ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${EXE_1}.${EXE_2}.${EXE_3}.${EXE_4}"
VIFileVersion "${EXE_1}.${EXE_2}.${EXE_3}.${EXE_4}"
VIAddVersionKey /LANG=1041 "ProductName" "Varnoke"
VIAddVersionKey /LANG=1041 "CompanyName" "Tolm"
VIAddVersionKey /LANG=1041 "FileDescription" "Varnoke ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) Tolm"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_WELCOMEPAGE_TEXT "Varnoke はクリップボードにコピーしたテキストを履歴として記録し、ホットキーやタスクトレイのアイコンから呼び出して貼り付けるユーティリティです。$\r$\n$\r$\nこのセットアップは Varnoke ${VERSION} をあなたのユーザー アカウントにインストールします。管理者の権限は必要ありません。以前のバージョンがインストールされている場合は、設定、履歴、編集した Symbol.txt を引き継ぎます。$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Varnoke.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Varnoke を起動する"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Varnoke.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "ヘルプを表示する"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; ---- A running Varnoke -------------------------------------------------------------------
; Its main window is the hidden top-level window titled "Varnoke" (its message boxes carry
; the same caption but are visible). WM_CLOSE runs its orderly exit, which saves the settings
; and the history; the process is then waited for, so its files can be replaced.
!macro CLOSE_RUNNING_VARNOKE un
Function ${un}CloseRunningVarnoke
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ${Do}
    System::Call 'user32::FindWindowExW(p 0, p r0, p 0, w "Varnoke") p .r0'
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'user32::IsWindowVisible(p r0) i .r1'
    ${If} $1 <> 0
      ${Continue}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i 0x10, p 0, p 0)'
    StrCpy $3 1
    ${If} $2 <> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 20000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    ${If} $3 <> 0
      MessageBox MB_OK|MB_ICONSTOP "実行中の Varnoke を終了できませんでした。$\r$\nVarnoke を終了してから、もう一度実行してください。" /SD IDOK
      Abort
    ${EndIf}
    ; Start over: the window list has changed.
    StrCpy $0 0
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_VARNOKE ""
!insertmacro CLOSE_RUNNING_VARNOKE "un."

; ---- Symbol.txt --------------------------------------------------------------------------
; The write time of the Symbol.txt the installer put there is recorded; a file whose time
; differs was edited by the user (or came from elsewhere) and is never overwritten.
Var SymbolUnchanged
!macro CHECK_SYMBOL_TXT un
Function ${un}CheckSymbolTxt
  StrCpy $SymbolUnchanged 0
  ReadRegStr $0 HKCU "${UNINST_KEY}" "SymbolTxtTime"
  ClearErrors
  GetFileTime "$INSTDIR\Symbol.txt" $1 $2
  ${IfNot} ${Errors}
  ${AndIf} $0 != ""
  ${AndIf} $0 == "$1,$2"
    StrCpy $SymbolUnchanged 1
  ${EndIf}
FunctionEnd
!macroend
!insertmacro CHECK_SYMBOL_TXT ""
!insertmacro CHECK_SYMBOL_TXT "un."

; ---- Install -----------------------------------------------------------------------------
Section "Varnoke 本体" SecMain
  SectionIn RO
  Call CloseRunningVarnoke
  SetOutPath "$INSTDIR"
  File "${STAGE}\Varnoke.exe"
  File "${STAGE}\Varnoke.html"
  Call CheckSymbolTxt
  ${IfNot} ${FileExists} "$INSTDIR\Symbol.txt"
  ${OrIf} $SymbolUnchanged = 1
    Call InstallSymbolTxt
  ${EndIf}
  SetOutPath "$INSTDIR\images"
  Delete "$INSTDIR\images\*.png"
  File "${STAGE}\images\*.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Varnoke.lnk" "$INSTDIR\Varnoke.exe" "" "$INSTDIR\Varnoke.exe" 0 \
      SW_SHOWNORMAL "" "クリップボード履歴と定型文のユーティリティ"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "Varnoke"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "Tolm"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Varnoke.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Windows へのログオン時に Varnoke を起動する" SecRun
  WriteRegStr HKCU "${RUN_KEY}" "Varnoke" '"$INSTDIR\Varnoke.exe"'
SectionEnd

; Unchecking the start at logon on an upgrade takes the old value away.
Section "-RunValue"
  ${IfNot} ${SectionIsSelected} ${SecRun}
    DeleteRegValue HKCU "${RUN_KEY}" "Varnoke"
  ${EndIf}
SectionEnd

; (Uses $0 and $1, as the sections that call these functions do.)
Function InstallSymbolTxt
  File "${STAGE}\Symbol.txt"
  GetFileTime "$INSTDIR\Symbol.txt" $0 $1
  WriteRegStr HKCU "${UNINST_KEY}" "SymbolTxtTime" "$0,$1"
FunctionEnd

; ---- Uninstall ---------------------------------------------------------------------------
Var HistoryFile

; The history data file as the program finds it: the setting HistoryDataPath (default
; Varnoke.vnk), a relative path taken from the program's folder.
Function un.FindHistoryFile
  ReadRegStr $0 HKCU "${SETTINGS_KEY}" "HistoryDataPath"
  ${If} $0 == ""
    StrCpy $0 "Varnoke.vnk"
  ${EndIf}
  StrCpy $1 $0 2 1
  StrCpy $2 $0 1
  ${If} $1 == ":\"
    StrCpy $HistoryFile $0
  ${ElseIf} $2 == "\"
    StrCpy $HistoryFile "$INSTDIR$0"
  ${Else}
    StrCpy $HistoryFile "$INSTDIR\$0"
  ${EndIf}
FunctionEnd

; Deletes a file only when its first line is the header given (the first on the stack).
Function un.DeleteFileWithHeader
  Exch $3
  Exch
  Exch $0
  Push $1
  Push $2
  ClearErrors
  FileOpen $1 $0 r
  ${IfNot} ${Errors}
    FileRead $1 $2
    FileClose $1
    ${If} $2 == "$3$\r$\n"
      Delete $0
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
  Pop $3
FunctionEnd

; Deletes a history data file, and the exact texts beside it.
Function un.DeleteHistoryFile
  Exch $4
  Push $4
  Push "${HISTORY_HEADER}"
  Call un.DeleteFileWithHeader
  Push "$4.exact"
  Push "${EXACT_HEADER}"
  Call un.DeleteFileWithHeader
  Pop $4
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningVarnoke
  Call un.FindHistoryFile
  Call un.CheckSymbolTxt

  Delete "$INSTDIR\Varnoke.exe"
  Delete "$INSTDIR\Varnoke.html"
  Delete "$INSTDIR\images\*.png"
  RMDir "$INSTDIR\images"
  ${If} $SymbolUnchanged = 1
    Delete "$INSTDIR\Symbol.txt"
  ${EndIf}
  Delete "$SMPROGRAMS\Varnoke.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "Varnoke"
  ${If} $0 == '"$INSTDIR\Varnoke.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "Varnoke"
  ${EndIf}

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Varnoke の履歴と設定も削除しますか？$\r$\n$\r$\n履歴ファイル: $HistoryFile$\r$\n設定: HKEY_CURRENT_USER\${SETTINGS_KEY}$\r$\n$\r$\n「いいえ」を選ぶと残します。もう一度インストールすると、そのまま引き継がれます。" \
      /SD IDNO IDNO keep
    Push $HistoryFile
    Call un.DeleteHistoryFile
    Push "$INSTDIR\Varnoke.vnk"
    Call un.DeleteHistoryFile
    Delete "$INSTDIR\Symbol.txt"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tolm"
  keep:

  DeleteRegKey HKCU "${UNINST_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
