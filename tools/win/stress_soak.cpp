// Soak: many captures at save interval 0, each seen in the data file, with the program's
// private bytes, handles, GDI/USER objects and file descriptors sampled as it goes; then
// menu showings and choices with the same samples. Memory and handles must stay flat.
// Usage: stress_soak.exe [captures=10000] [menus=1000] [sampleEvery=1000]
#include <cstdio>
#include <string>
#include <vector>

#include "stress_common.h"

using e2e::VarnokeProcess;
using Entries = std::vector<std::string>;

namespace {

constexpr UINT kTrayNotify = 0x5F4;
constexpr WPARAM kTrayIconId = 100;

std::string NewestOnDisk(const VarnokeProcess& program) {
    Entries entries = e2e::HistoryOnDisk(program);
    return entries.empty() ? std::string() : entries.front();
}

bool ClipboardIs(const std::string& expected) {
    std::string text;
    return e2e::GetClipboardText(&text) && text == expected;
}

// The first press after a dismissed menu is taken as the click that dismissed it and
// opens nothing, as a user's would; the second opens the menu.
bool OpenMenuByTrayPress(const VarnokeProcess& program) {
    for (int press = 0; press < 2; ++press) {
        PostMessageA(program.mainWindow(), kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
        if (e2e::WaitForMenu(program, 1000)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int captures = stress::IntArg(argc, argv, 1, 10000);
    int menus = stress::IntArg(argc, argv, 2, 1000);
    int every = stress::IntArg(argc, argv, 3, 1000);
    if (every <= 0) {
        every = 1000;
    }
    e2e::ResetRegistryWithHistoryWrittenOnEveryChange();
    e2e::WriteRegInt("HistoryNum", 300);
    VarnokeProcess program;
    if (!program.Start()) {
        std::printf("soak: the program did not start\n");
        return 1;
    }
    stress::Sample first = stress::TakeSample(program), last = first;
    stress::PrintSample("captures", 0, first);
    int missed = 0;
    Entries copied;
    for (int i = 1; i <= captures; ++i) {
        std::string text = "soak " + std::to_string(i);
        e2e::SetClipboardText(text);
        if (!e2e::WaitUntil([&] { return NewestOnDisk(program) == text; }, 10000)) {
            ++missed;
            std::string clip;
            e2e::GetClipboardText(&clip);
            Entries now = e2e::HistoryOnDisk(program);
            HWND box = e2e::FindMessageBox(program.processId(), nullptr, 0);
            std::printf(
                "  capture %d not in the file after 10 s: newest on disk \"%s\", "
                "clipboard \"%s\", message \"%s\"\n",
                i, now.empty() ? "" : now.front().c_str(), clip.c_str(),
                box != nullptr ? e2e::MessageBoxText(box).c_str() : "");
            if (box != nullptr) {
                e2e::AnswerMessageBox(box);
            }
        }
        copied.insert(copied.begin(), text);
        if (copied.size() > 300) {
            copied.pop_back();
        }
        if (i % every == 0) {
            last = stress::TakeSample(program);
            stress::PrintSample("captures", i, last);
        }
    }
    bool fileHoldsAll = e2e::HistoryOnDisk(program) == copied;
    bool capturesFlat = stress::Flat(first, last);
    std::printf(
        "soak captures: %d captures, missed %d, the file holds the last %zu in order: %s, "
        "memory and handles %s\n",
        captures, missed, copied.size(), fileHoldsAll ? "yes" : "NO",
        capturesFlat ? "flat" : "GROWING");

    stress::Sample menuFirst = stress::TakeSample(program), menuLast = menuFirst;
    int shownFailed = 0, choiceFailed = 0;
    for (int i = 1; i <= menus; ++i) {
        if (!OpenMenuByTrayPress(program)) {
            ++shownFailed;
        }
        e2e::PressKey(VK_ESCAPE);
        e2e::WaitForMenuClosed(program);
        if (i % every == 0) {
            menuLast = stress::TakeSample(program);
            stress::PrintSample("showings", i, menuLast);
        }
    }
    for (int i = 1; i <= menus; ++i) {
        // "&2." is position 1; a tray press puts it on the clipboard without pasting.
        Entries before = e2e::HistoryOnDisk(program);
        if (before.size() < 2 || !OpenMenuByTrayPress(program)) {
            ++choiceFailed;
            continue;
        }
        e2e::PressKey('2');
        if (!e2e::WaitUntil([&] { return ClipboardIs(before[1]); }, 5000)) {
            ++choiceFailed;
        }
        e2e::WaitForMenuClosed(program);
        if (i % every == 0) {
            menuLast = stress::TakeSample(program);
            stress::PrintSample("choices", i, menuLast);
        }
    }
    bool menusFlat = stress::Flat(menuFirst, menuLast);
    bool stopped = program.Stop(30000);
    std::printf(
        "soak menus: %d showings (failed %d), %d choices (failed %d), memory and handles "
        "%s, clean exit: %s\n",
        menus, shownFailed, menus, choiceFailed, menusFlat ? "flat" : "GROWING",
        stopped ? "yes" : "NO");
    e2e::ResetRegistry();
    return missed == 0 && fileHoldsAll && capturesFlat && menusFlat && shownFailed == 0 &&
                   choiceFailed == 0 && stopped
               ? 0
               : 1;
}
