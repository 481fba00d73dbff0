#pragma once
// System libraries that a resident program needs only once the user opens one of its own
// windows or asks for a sound. They are loaded at their first use, not with the program:
// the common controls alone register their window classes and bring up the theme engine
// when they are loaded, which is the largest step of start-up under Wine.

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

namespace varnoke {

// Loads the common controls and registers their classes; every call after the first is
// free. Call it before creating a window that uses one of their controls.
void LoadCommonControls();

// The shell is needed as soon as the window exists, for the tray icon, but loaded with the
// program it cost some 7 ms under Wine before WinMain was even reached. This starts loading
// it on a thread of its own, where it overlaps the display's start-up that the first window
// waits for; the functions below then find it loaded, or wait for the load to finish.
void StartLoadingShell();

// Shell_NotifyIconA and ShellExecuteA, reached through the loaded shell library.
BOOL NotifyShellIcon(DWORD message, NOTIFYICONDATAA* data);
BOOL NotifyShellIconW(DWORD message, NOTIFYICONDATAW* data);
HINSTANCE ShellExecuteFile(HWND owner, const char* verb, const char* file);

// The system's file-open, font and sound functions, reached through the loaded library.
// Each answers like the function it stands for, and FALSE when the library is missing.
BOOL OpenFileDialog(OPENFILENAMEA* dialog);
BOOL FontDialog(CHOOSEFONTA* dialog);
BOOL PlaySoundFile(const char* path, UINT flags);

}  // namespace varnoke
