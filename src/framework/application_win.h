#pragma once
// The application object: owns start-up, the message loop and exit.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/profile_win.h"

namespace varnoke {

class Application {
  public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current() { return current_; }

    // InitInstance, then the message loop until the main window is gone, then ExitInstance.
    int Run();

    const std::string& Title() const { return title_; }
    const ProfileStore& Profile() const { return profile_; }
    HWND MainWindowHandle() const { return mainWindow_; }
    // Called by the window layer when a window is finally gone.
    void OnWindowDestroyed(HWND window);
    // A modeless dialog gets its dialog keys (Tab, Enter, Esc) from the message loop while
    // it is open.
    void AddModelessDialog(HWND dialog);
    void RemoveModelessDialog(HWND dialog);

  protected:
    // False ends the program at once, without a message loop.
    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    void SetTitle(const std::string& title) { title_ = title; }
    // Settings then live under HKCU\Software\<company>\<title>.
    void SetRegistryKey(const std::string& company);
    void SetMainWindow(HWND window) { mainWindow_ = window; }

  private:
    static bool NextMessage(MSG* msg, bool* wide);
    bool IsModelessDialogMessage(MSG* msg, bool wide) const;

    static Application* current_;
    std::string title_;
    ProfileStore profile_;
    HWND mainWindow_ = nullptr;
    std::vector<HWND> modeless_;
};

// The folder that holds the program file, without a trailing backslash.
std::string ProgramFolder();

}  // namespace varnoke
