#include "app/varnoke_app_win.h"

#include "app/main_window_win.h"
#include "framework/strings_win.h"
#include "framework/system_libraries_win.h"
#include "res/resource.h"

namespace varnoke {

namespace {
const char kMutexName[] = "Varnoke";
const char kCompanyKey[] = "Tolm";
const char kHelpFileName[] = "Varnoke.html";
}  // namespace

VarnokeApp::VarnokeApp() = default;
VarnokeApp::~VarnokeApp() = default;

VarnokeApp& TheApp() {
    return *static_cast<VarnokeApp*>(Application::Current());
}

bool VarnokeApp::AcquireSingleInstance() {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (existing != nullptr) {
        CloseHandle(existing);
        return false;
    }
    mutex_.reset(CreateMutexA(nullptr, FALSE, kMutexName));
    // Another instance may have created it between the two calls.
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex_.reset();
        return false;
    }
    return static_cast<bool>(mutex_);
}

bool VarnokeApp::InitInstance() {
    SetTitle(LoadResourceString(IDS_APP_TITLE));
    if (!AcquireSingleInstance()) {
        return false;
    }
    StartLoadingShell();
    SetRegistryKey(kCompanyKey);
    helpFilePath_ = ProgramFolder() + "\\" + kHelpFileName;
    mainWindow_ = std::make_unique<MainWindow>(settings_);
    if (!mainWindow_->Create()) {
        mainWindow_.reset();
        return false;
    }
    SetMainWindow(mainWindow_->hwnd());
    return true;
}

int VarnokeApp::ExitInstance() {
    mainWindow_.reset();
    mutex_.reset();
    return 0;
}

}  // namespace varnoke
