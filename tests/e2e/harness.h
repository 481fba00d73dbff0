#pragma once
// Helpers for driving the real Varnoke.exe from another process, as a user or
// another program would: its registry key, the clipboard, keys, windows, files.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Command and control ids the tests send and read, named as the program names them.
#include "res/resource.h"

namespace e2e {

constexpr DWORD kDefaultTimeoutMs = 15000;

// Pumps this thread's messages until the predicate holds or the time runs out.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = kDefaultTimeoutMs);
// Pumps messages for the given time (for "nothing happens" checks only).
void PumpFor(DWORD ms);

// ---- The program under test ------------------------------------------------
class VarnokeProcess {
  public:
    VarnokeProcess();
    // The program already in `folder` (an installed or unpacked copy), which stays there.
    explicit VarnokeProcess(const std::string& folder);
    ~VarnokeProcess();
    VarnokeProcess(const VarnokeProcess&) = delete;
    VarnokeProcess& operator=(const VarnokeProcess&) = delete;

    const std::string& folder() const { return folder_; }
    std::string PathInFolder(const std::string& name) const { return folder_ + "\\" + name; }

    // Copies a file that sits beside the test program (Symbol.txt, a helper tool) into
    // the program's folder; only the tests that need it call this.
    bool CopyBesideProgram(const std::string& name) const;

    // Starts the program and waits for its hidden main window.
    bool Start();
    // Starts another instance from the same folder and returns its exit code
    // (STILL_ACTIVE if it did not end within the timeout).
    DWORD StartSecondInstance(DWORD timeoutMs = kDefaultTimeoutMs);
    // Posts WM_CLOSE and waits for the process to end.
    bool Stop(DWORD timeoutMs = kDefaultTimeoutMs);
    void Kill();
    bool IsRunning() const;
    // Sends a menu command to the main window and waits until it has been handled.
    bool SendCommand(UINT id);
    // Posts a menu command without waiting: for commands that open a modal window.
    bool PostCommand(UINT id);
    // What the notification area tells the program when its icon is clicked: a left
    // button press (the history menu) or a right button release (the tray menu).
    void PressTrayIcon(UINT mouseMessage) const;

    HWND mainWindow() const { return mainWindow_; }
    DWORD processId() const { return processInfo_.dwProcessId; }
    HANDLE processHandle() const { return processInfo_.hProcess; }

  private:
    HWND FindMainWindow() const;
    bool Launch(PROCESS_INFORMATION* info) const;

    std::string folder_;
    bool ownsFolder_ = true;
    PROCESS_INFORMATION processInfo_{};
    HWND mainWindow_ = nullptr;
};

// ---- Registry: HKCU\Software\Tolm\Varnoke -----------------------------------
void ResetRegistry();
// ResetRegistry, then settings under which the history data file is written after every
// change (and no tray animation runs), so the file on disk shows each capture at once.
void ResetRegistryWithHistoryWrittenOnEveryChange();
void WriteRegInt(const char* name, DWORD value);
void WriteRegString(const char* name, const std::string& value);
void WriteRegBinary(const char* name, const std::vector<BYTE>& value);
bool ReadRegInt(const char* name, DWORD* value);
bool ReadRegString(const char* name, std::string* value);
// The DWORD value, or 0xDEADBEEF (which no test expects, and which is reported) when it is
// missing or of another type.
DWORD RegInt(const char* name);
std::vector<std::string> RegValueNames();

// ---- Clipboard ---------------------------------------------------------------
// Puts CF_TEXT (only) on the clipboard, as another program's copy would.
bool SetClipboardText(const std::string& text);
// A copy after which this program opens the clipboard again at once and holds it for
// `holdMs`, as a slow clipboard tool would: the change notification finds it held.
bool SetClipboardTextThenHold(const std::string& text, DWORD holdMs);
// Opens the clipboard and keeps it open until ReleaseClipboard, as a slow clipboard tool
// would (do not pump in between if the hold must not be helped along).
bool HoldClipboard();
void ReleaseClipboard();
bool GetClipboardText(std::string* text);
// The CF_TEXT on the clipboard now; empty when there is none.
std::string ClipboardNow();
// Puts CF_UNICODETEXT (only) on the clipboard, as a Unicode program's copy would; the
// system makes CF_TEXT from it for the programs that ask for that.
bool SetClipboardUnicode(const std::wstring& text);
// Puts CF_TEXT and then CF_UNICODETEXT on the clipboard, each as given, as a program does
// that places its ANSI text first.
bool SetClipboardTextThenUnicode(const std::string& ansi, const std::wstring& wide);
bool GetClipboardUnicode(std::wstring* text);
// The CF_UNICODETEXT on the clipboard now; empty when there is none.
std::wstring ClipboardUnicodeNow();
bool ClipboardHasText();
// Puts a non-text format on the clipboard (a "picture").
bool SetClipboardNonText();
// A copy marked by a password manager: CF_TEXT plus the given registered format.
bool SetClipboardTextWithMarker(const std::string& text, const char* formatName,
                                const std::vector<BYTE>& markerData);

// ---- Keys --------------------------------------------------------------------
// Presses the modifiers, taps the key, releases the modifiers. Each key carries its
// scan code, as a keyboard's would: a hot-key control drops keys without one.
void PressKey(WORD vk, bool ctrl = false, bool shift = false, bool alt = false);
// Moves the mouse to the screen point and waits until the cursor is there, then sends the
// button events (such as MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP) at it. Every event carries
// its position: under Wine SetCursorPos and a relative event after it were seen to disagree.
void MouseAt(POINT p, std::initializer_list<DWORD> buttons = {});
// The name the system gives a key, as the program's messages show it.
std::string PlatformKeyName(UINT vk);

// A global hot key held by this test program, as another program would hold it.
class HeldHotKey {
  public:
    HeldHotKey(UINT modifiers, UINT vk);
    ~HeldHotKey();
    HeldHotKey(const HeldHotKey&) = delete;
    HeldHotKey& operator=(const HeldHotKey&) = delete;
    bool registered() const { return registered_; }

  private:
    HWND window_ = nullptr;
    bool registered_ = false;
};

// ---- A window of ours that receives pastes -----------------------------------
class TargetWindow {
  public:
    // `unicode`: the edit control is a Unicode window, as in a Unicode program.
    explicit TargetWindow(bool unicode = false);
    ~TargetWindow();
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;
    // The frame hands the focus on to its edit control whenever it is activated, as an
    // editor does, so a paste after the program gives the foreground back lands in it.
    bool Focus();
    std::string Text() const;
    std::wstring TextW() const;
    // The paste keys the edit control received, in order ("Ctrl+V ", "Shift+Insert ").
    const std::string& PasteKeys() const { return pasteKeys_; }
    HWND hwnd() const { return frame_; }

  private:
    HWND frame_ = nullptr;
    HWND edit_ = nullptr;
    std::string pasteKeys_;
};

// Whether the program's UI thread runs a menu loop. The menu window cannot be seen across
// processes under Wine, but the thread reports the loop (Wine names the menu owner and
// sets GUI_INMENUMODE; Windows adds GUI_POPUPMENUMODE).
bool ProgramInMenuLoop(const VarnokeProcess& program);
bool ProgramInForeground(const VarnokeProcess& program);
// Whether the program has handled what it was sent and posted before this call: two sent
// messages, since a pending sent message is handled before a posted one.
bool ProgramCaughtUp(const VarnokeProcess& program);
// Until the menu loop runs and the program holds the foreground: a key goes to the thread
// in the foreground when it is pressed, and under Wine a window that appears late (a
// console, say) can take the foreground after the menu opened.
bool WaitForMenu(const VarnokeProcess& program, DWORD timeoutMs = 5000);
bool WaitForMenuClosed(const VarnokeProcess& program, DWORD timeoutMs = 5000);
// Does `open` (a hot key, a tray press) until a menu is up: the program opens no menu within
// 200 ms of a menu closed without a command, so one try may find nothing.
bool OpenMenu(const VarnokeProcess& program, const std::function<void()>& open,
              DWORD timeoutMs = kDefaultTimeoutMs);
// The tray menu as the icon's right click shows it; the access key chooses the item.
bool ChooseFromTrayMenu(const VarnokeProcess& program, WORD accessKey);

// ---- Message boxes of the program ----------------------------------------------
// A dialog of class #32770 with the given caption, owned by the given process.
HWND FindMessageBox(DWORD processId, const char* caption, DWORD timeoutMs = kDefaultTimeoutMs);
std::string MessageBoxText(HWND box);
void AnswerMessageBox(HWND box, int id = IDOK);
// Every visible top-level window of the process (for "no message shown" checks).
std::vector<HWND> VisibleWindowsOf(DWORD processId);
// The texts of every child control of a window.
std::vector<std::string> ChildTexts(HWND window);

// ---- The shell's file associations --------------------------------------------------
// While this lives, the shell opens files of `extension` (".txt") with `command`, in which
// %1 stands for the file: HKCU\Software\Classes as on Windows, and HKEY_CLASSES_ROOT as
// well, since Wine 8's shell reads that one only. What was there before comes back after.
// With `throughDde`, the open verb also names a DDE conversation that no program answers:
// the shell then waits for the started program before it gives up, as it does for a slow
// editor that opens files through DDE.
class FileAssociation {
  public:
    FileAssociation(const std::string& extension, const std::string& command,
                    bool throughDde = false);
    ~FileAssociation();
    FileAssociation(const FileAssociation&) = delete;
    FileAssociation& operator=(const FileAssociation&) = delete;

  private:
    struct Saved {
        HKEY root;
        std::string key;
        bool existed;
        std::string value;
    };
    std::vector<Saved> saved_;
};

// While this lives, the shell opens files of `extension` with touch_marker (copied beside
// the program), which records the path it was given. With `noteMenuThroughDde` it also
// notes whether a menu was still open, and the shell waits for it as for a DDE editor.
class OpenedFileRecorder {
  public:
    OpenedFileRecorder(const VarnokeProcess& program, const std::string& extension,
                       bool noteMenuThroughDde = false);
    // The path the shell was last asked to open (empty if none came in time); the next call
    // waits for a new one.
    std::string TakeOpened();

  private:
    std::string marker_;
    FileAssociation association_;
};

// ---- Files -------------------------------------------------------------------
bool ReadFileBytes(const std::string& path, std::string* bytes);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// CP932 bytes of a few Japanese texts the tests compare against, written as escapes so
// the source's charset does not matter.
std::string Utf8ToAnsi(const char* utf8);
// A Unicode text in the code page as the system converts it. With `lookAlikes` a character
// the code page lacks may become a look-alike, as in the CF_TEXT the system makes; without,
// it becomes the default character.
std::string WideToAnsi(const std::wstring& text, bool lookAlikes = true);
std::wstring AnsiToWide(const std::string& text);

}  // namespace e2e

namespace e2e {

// ---- The history data file ----------------------------------------------------
// The bytes of a history data file holding these entries, position 0 first.
std::string EncodeHistory(const std::vector<std::string>& entries);
// Parses a whole history data file; false unless every byte belongs to a valid record.
bool DecodeHistory(const std::string& bytes, std::vector<std::string>* entries);
// A history file protected as the program protects it, for the Windows user running this
// program (who runs the program under test too): the header line, the size, the data.
std::string ProtectForThisUser(const std::string& plain);
// The plain bytes of a protected file; false when `file` is none or this user cannot
// unprotect it.
bool UnprotectForThisUser(const std::string& file, std::string* plain);
// A file's bytes as the program loads them: a protected file unprotected, a plain one as it
// is; false when it cannot be read or unprotected.
bool ReadPlainFileBytes(const std::string& path, std::string* bytes);
// Waits until the data file in the program's folder parses to exactly these entries.
bool WaitForHistory(const VarnokeProcess& program, const std::vector<std::string>& expected,
                    DWORD timeoutMs = kDefaultTimeoutMs);
std::vector<std::string> HistoryOnDisk(const VarnokeProcess& program);
// Copies the texts one by one, oldest first, each waited for in the data file (saved after
// every change). With the default settings the newest is position 0, numbered 1 and shown
// last. Returns whether each copy arrived; `history` (if given) gets the list, newest first.
bool CopyOldestFirst(const VarnokeProcess& program, const std::vector<std::string>& oldestFirst,
                     std::vector<std::string>* history = nullptr);

}  // namespace e2e
