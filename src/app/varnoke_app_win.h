#pragma once
// The application object: single instance, the registry key, the main window.

#include <memory>

#include "core/settings.h"
#include "framework/application_win.h"
#include "framework/handles_win.h"

namespace varnoke {

class MainWindow;

class VarnokeApp : public Application {
  public:
    VarnokeApp();
    ~VarnokeApp() override;

    Settings& settings() { return settings_; }
    const std::string& helpFilePath() const { return helpFilePath_; }

  protected:
    bool InitInstance() override;
    int ExitInstance() override;

  private:
    bool AcquireSingleInstance();

    KernelHandle mutex_;
    std::string helpFilePath_;
    Settings settings_;
    std::unique_ptr<MainWindow> mainWindow_;
};

VarnokeApp& TheApp();

}  // namespace varnoke
