#include "shorttext/short_text_action_win.h"

#include "framework/system_libraries_win.h"

namespace varnoke {

MacroTime LocalMacroTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    MacroTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.dayOfWeek = now.wDayOfWeek;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    return time;
}

void RunShortTextCommand(const ShortTextAction& action) {
    if (action.kind != ShortTextActionKind::kRunCommand) {
        return;
    }
    const UINT result = WinExec(action.commandLine.c_str(), SW_SHOWNORMAL);
    if (WinExecFailed(result)) {
        OpenWithAssociatedProgram(action.documentFile);
    }
}

void OpenWithAssociatedProgram(const std::string& path) {
    ShellExecuteFile(nullptr, nullptr, path.c_str());
}

}  // namespace varnoke
