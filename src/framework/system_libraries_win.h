#pragma once
// System libraries that a resident program needs only once the user opens one of its own
// windows or asks for a sound. They are loaded at their first use, not with the program:
// the common controls alone register their window classes and bring up the theme engine
// when they are loaded, which is the largest step of start-up under Wine.

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <wincrypt.h>

#include "core/dual_text.h"

namespace varnoke {

// Loads the common controls and registers their classes; every call after the first is
// free. Call it before creating a window that uses one of their controls.
void LoadCommonControls();

// The shell is needed as soon as the window exists, for the tray icon, but loaded with the
// program it cost some 7 ms under Wine before WinMain was even reached. This starts loading
// it on a thread of its own, where it overlaps the display's start-up that the first window
// waits for; the functions below then find it loaded, or wait for the load to finish.
void StartLoadingShell();

// The notification-area icon `id` of `window`, which reports the mouse on it to `window` as
// `callbackMessage`.
struct ShellIcon {
    HWND window;
    UINT id;
    UINT callbackMessage;
};
// Shell_NotifyIcon, reached through the loaded shell library, in the shell-5 form (488
// bytes in a 32-bit program) that every shell since accepts; iconOrNull and tipOrNull may
// be null. A tip with an exact text goes through Shell_NotifyIconW, to show every
// character; any other through Shell_NotifyIconA and its bytes.
bool NotifyShellIcon(DWORD message, const ShellIcon& icon, HICON iconOrNull,
                     const DualText* tipOrNull);
// ShellExecuteA, reached through the loaded shell library.
HINSTANCE ShellExecuteFile(HWND owner, const char* verb, const char* file);

// The system's file-open, font and sound functions, reached through the loaded library.
// Each answers like the function it stands for, and FALSE when the library is missing.
BOOL OpenFileDialog(OPENFILENAMEA* dialog);
BOOL FontDialog(CHOOSEFONTA* dialog);
BOOL PlaySoundFile(const char* path, UINT flags);

// CryptProtectData and CryptUnprotectData without a description, entropy or prompt
// structure: only a protected history file needs the library, so a start with a plain one
// never loads it. FALSE when the library is missing.
BOOL ProtectData(DATA_BLOB* in, const wchar_t* description, DWORD flags, DATA_BLOB* out);
BOOL UnprotectData(DATA_BLOB* in, DWORD flags, DATA_BLOB* out);
// The functions of the system's cryptography library (bcrypt, Vista on) that seal data with
// AES-GCM, loaded at their first use; every member is null when the library or one of them
// is missing.
struct CngFunctions {
    using Handle = void*;
    LONG(WINAPI* openAlgorithm)(Handle*, const wchar_t*, const wchar_t*, ULONG) = nullptr;
    LONG(WINAPI* closeAlgorithm)(Handle, ULONG) = nullptr;
    LONG(WINAPI* setProperty)(Handle, const wchar_t*, UCHAR*, ULONG, ULONG) = nullptr;
    LONG(WINAPI* generateSymmetricKey)
    (Handle, Handle*, UCHAR*, ULONG, UCHAR*, ULONG, ULONG) = nullptr;
    LONG(WINAPI* destroyKey)(Handle) = nullptr;
    LONG(WINAPI* encrypt)
    (Handle, UCHAR*, ULONG, void*, UCHAR*, ULONG, UCHAR*, ULONG, ULONG*, ULONG) = nullptr;
    LONG(WINAPI* decrypt)
    (Handle, UCHAR*, ULONG, void*, UCHAR*, ULONG, UCHAR*, ULONG, ULONG*, ULONG) = nullptr;
    LONG(WINAPI* genRandom)(Handle, UCHAR*, ULONG, ULONG) = nullptr;
    bool complete() const;
};
const CngFunctions& Cng();

// GetProcessImageFileNameA, from kernel32 (Windows 7 on) or else the process-status
// library; 0 when neither has it.
DWORD ProcessImageFileName(HANDLE process, char* name, DWORD size);

}  // namespace varnoke
