// The clipboard held open by another program: while a copy arrives (the notification finds
// it held), and while the program writes a chosen entry. Nothing may hang, and no copy
// may be captured twice; a copy whose hold outlasts the program's retries is counted.
// Usage: stress_clipboard.exe [rounds=10] [holdMs=2000]
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "harness_internal.h"
#include "stress_common.h"

using e2e::VarnokeProcess;
using Entries = std::vector<std::string>;

namespace {

constexpr UINT kTrayNotify = 0x5F4;
constexpr WPARAM kTrayIconId = 100;

bool Answers(const VarnokeProcess& program) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(program.mainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000,
                               &result) != 0;
}

bool ClipboardIs(const std::string& expected) {
    std::string text;
    return e2e::GetClipboardText(&text) && text == expected;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = stress::IntArg(argc, argv, 1, 10);
    DWORD holdMs = static_cast<DWORD>(stress::IntArg(argc, argv, 2, 2000));
    e2e::ResetRegistryWithHistoryWrittenOnEveryChange();
    VarnokeProcess program;
    if (!program.Start()) {
        std::printf("clipboard held: the program did not start\n");
        return 1;
    }
    // While a copy arrives.
    int once = 0, lost = 0, twice = 0, hung = 0;
    for (int i = 1; i <= rounds; ++i) {
        std::string text = "held copy " + std::to_string(i);
        e2e::SetClipboardTextThenHold(text, holdMs);
        if (!Answers(program)) {
            ++hung;
        }
        e2e::WaitUntil(
            [&] {
                Entries e = e2e::HistoryOnDisk(program);
                return !e.empty() && e.front() == text;
            },
            1500);
        Entries onDisk = e2e::HistoryOnDisk(program);
        auto n = std::count(onDisk.begin(), onDisk.end(), text);
        if (n == 1) {
            ++once;
        } else if (n == 0) {
            ++lost;
        } else {
            ++twice;
        }
    }
    std::printf(
        "clipboard held %lu ms while a copy arrives: %d copies, captured once %d, "
        "lost %d, captured twice %d, program did not answer %d\n",
        static_cast<unsigned long>(holdMs), rounds, once, lost, twice, hung);

    // While the program writes: a choice from the history menu meets a held clipboard.
    e2e::SetClipboardText("write a");
    e2e::SetClipboardText("write b");
    // The history already holds the copies above: wait for these two themselves, or the
    // first choice would be made in a menu that has yet to show them.
    e2e::WaitUntil([&] {
        Entries e = e2e::HistoryOnDisk(program);
        return e.size() >= 2 && e[0] == "write b" && e[1] == "write a";
    });
    int written = 0, notWritten = 0, writeHung = 0, duplicated = 0, noMenu = 0;
    for (int i = 1; i <= rounds; ++i) {
        Entries before = e2e::HistoryOnDisk(program);
        PostMessageA(program.mainWindow(), kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
        if (before.size() < 2 || !e2e::WaitForMenu(program)) {
            ++noMenu;
            continue;
        }
        if (!e2e::internal::OpenClipboardRetrying()) {
            e2e::PressKey(VK_ESCAPE);
            continue;
        }
        e2e::PressKey('2');
        DWORD start = GetTickCount();
        bool answered = true;
        while (GetTickCount() - start < holdMs) {
            answered = Answers(program) && answered;
            Sleep(100);
        }
        CloseClipboard();
        if (!answered || !Answers(program)) {
            ++writeHung;
        }
        e2e::WaitForMenuClosed(program);
        if (e2e::WaitUntil([&] { return ClipboardIs(before[1]); }, 2000)) {
            ++written;
        } else {
            ++notWritten;
            std::string text;
            bool read = e2e::GetClipboardText(&text);
            std::printf("  choice %d: wanted \"%s\", the clipboard holds %s\n", i,
                        before[1].c_str(), read ? ("\"" + text + "\"").c_str() : "no text");
        }
        e2e::PumpFor(200);
        Entries after = e2e::HistoryOnDisk(program);
        if (std::set<std::string>(after.begin(), after.end()).size() != after.size()) {
            ++duplicated;
        }
    }
    std::printf(
        "clipboard held %lu ms while the program writes a choice: %d choices, written "
        "%d, not written %d, no menu %d, program did not answer %d, history with a "
        "duplicate %d\n",
        static_cast<unsigned long>(holdMs), rounds, written, notWritten, noMenu, writeHung,
        duplicated);
    bool stopped = program.Stop(30000);
    e2e::ResetRegistry();
    return twice == 0 && hung == 0 && writeHung == 0 && duplicated == 0 && stopped ? 0 : 1;
}
