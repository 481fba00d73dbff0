// Bad input at start-up: damaged history files and exact-text files, registry garbage for
// every setting and bad phrase files. Each case starts the program, probes that it answers (a
// message, a copy captured, for phrase files the menu key), opens and closes each of its dialogs,
// which show the same settings and history, ends it and records how it ended and what became of the
// data file: a file that did not load completely must survive beside it.
// Usage: stress_badinput.exe [randomCases=20] [stride=1] [seed=1] [first=0] [count=all]
//   stride N runs every Nth case only (a small run); first skips the cases before it (with
//   a large stride, one case is run again by the number a report gave it); count ends the
//   run after that many cases.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "dialog_driver.h"
#include "history/exact_text_file.h"
#include "history/protected_file.h"
#include "stress_common.h"

using e2e::VarnokeProcess;
using Entries = std::vector<std::string>;

namespace {

struct Case {
    Case(std::string n, std::function<void(VarnokeProcess&)> s, bool p = false,
         std::string h = std::string())
        : name(std::move(n)), setUp(std::move(s)), pressPhraseKey(p), historyFile(std::move(h)) {}
    std::string name;
    std::function<void(VarnokeProcess&)> setUp;
    bool pressPhraseKey;
    std::string historyFile;  // written as Varnoke.vnk when not empty
    std::string exactFile;    // written as Varnoke.vnk.exact when not empty
};

Case ExactCase(const std::string& name, const std::string& history, const std::string& exact) {
    Case c(name, {}, false, history);
    c.exactFile = exact;
    return c;
}

std::string Record(const std::string& text) {
    return e2e::EncodeHistory({text}).substr(37);
}

const char* const kIntSettings[] = {
    "EditFontHeight",
    "EditFontItalic",
    "EditFontWeight",
    "EditTabStops",
    "EditWordWrap",
    "HistoryAccessKey",
    "HistoryAddNum",
    "HistoryAnimation",
    "HistoryAutoSave",
    "HistoryCopeWord",
    "HistoryDataSave",
    "HistoryInsertPos",
    "HistoryDataProtect",
    "HistoryLen",
    "HistoryMenuBreak",
    "HistoryMenuLen",
    "HistoryMenuOrder",
    "HistoryMoveUp",
    "HistoryNum",
    "HistoryPasteDirect",
    "HistorySaveInterval",
    "HistoryStarting",
    "HistoryStopOverflow",
    "HistoryWave",
    "PasteCommand",
    "PasteDelayTime",
    "PasteOnly",
    "PauseWave",
    "Paused",
    "PopupPos",
    "HotKeyEnable00",
    "HotKeyCode00",
    "HotKeyMod00",
    "HotKeyEnable99",
    "HotKeyCode99",
    "HotKeyMod99",
    "HotKeyEnable01",
    "HotKeyCode01",
    "HotKeyMod01",
    "HotKeyEnable05",
    "HotKeyCode05",
    "HotKeyMod05",
};
const char* const kStringSettings[] = {
    "EditFontName",   "EditHistoryPos", "EditTextPos",  "HistoryDataPath", "HistoryWavePath",
    "Pause1WavePath", "Pause2WavePath", "HotKeyData01", "HotKeyData05",    "ExcludePrograms",
};

std::vector<Case> AllCases(int randomCases, std::mt19937& random) {
    std::vector<Case> cases;
    // History files.
    const Entries five = {"one", "two", "three", std::string(5000, 'x'), "five"};
    const std::string good = e2e::EncodeHistory(five);
    size_t boundary = 37;
    for (size_t i = 0; i <= five.size(); ++i) {
        cases.push_back({"history cut at record boundary " + std::to_string(i),
                         {},
                         false,
                         good.substr(0, boundary)});
        if (i < five.size()) {
            boundary += 10 + five[i].size();
        }
    }
    std::uniform_int_distribution<size_t> offset(1, good.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < randomCases; ++i) {
        size_t at = offset(random);
        cases.push_back(
            {"history cut at offset " + std::to_string(at), {}, false, good.substr(0, at)});
        std::string noise(offset(random), '\0');
        for (char& c : noise) {
            c = static_cast<char>(byte(random));
        }
        cases.push_back({"random bytes " + std::to_string(i), {}, false, noise});
        std::string flipped = good;
        flipped[offset(random)] ^= static_cast<char>(1 + byte(random) % 255);
        cases.push_back({"one byte changed " + std::to_string(i), {}, false, flipped});
    }
    cases.push_back({"length 0xFFFFFFFF",
                     {},
                     false,
                     e2e::EncodeHistory({"a"}) + std::string("\x13\x14\xFF\xFF\xFF\xFF", 6) +
                         "short" + Record("b")});
    cases.push_back({"header only", {}, false, e2e::EncodeHistory({})});
    cases.push_back(
        {"one 50 MB record", {}, false, e2e::EncodeHistory({std::string(50u << 20, 'm')})});
    cases.push_back({"records longer than HistoryLen",
                     [](VarnokeProcess&) { e2e::WriteRegInt("HistoryLen", 100); }, false,
                     e2e::EncodeHistory({std::string(5000, 'a'), std::string(101, 'b')})});

    // Exact-text files beside a good data file, made as the program makes them.
    varnoke::ClipHistory withExact;
    for (const std::string& text : five) {
        withExact.Append(varnoke::HistoryEntry(text));
    }
    withExact.SetExact(0, u"\u00F6ne");
    withExact.SetExact(2, u"thr\U0001F600");
    std::string exact;
    varnoke::StringSink sink(&exact);
    varnoke::WriteExactTextFile(withExact, varnoke::DataFileIdentityOf(withExact), sink);
    std::uniform_int_distribution<size_t> exactOffset(1, exact.size() - 1);
    for (int i = 0; i < randomCases; ++i) {
        cases.push_back(ExactCase("exact texts cut " + std::to_string(i), good,
                                  exact.substr(0, exactOffset(random))));
        std::string flipped = exact;
        flipped[exactOffset(random)] ^= static_cast<char>(1 + byte(random) % 255);
        cases.push_back(
            ExactCase("exact texts, one byte changed " + std::to_string(i), good, flipped));
    }
    std::string endless = exact.substr(0, 30) + std::string("\x13\x14", 2) + std::string(16, '\0') +
                          std::string(4, '\xFF');
    cases.push_back(ExactCase("exact texts of 0xFFFFFFFF units", good, endless));
    cases.push_back(ExactCase("exact texts beside a data file rewritten in another order",
                              e2e::EncodeHistory({"five", "two", "one"}), exact));

    // Protected files: as the program writes them for this user, damaged, and made for
    // someone else (a check that fails), beside exact-text files of either kind.
    const std::string sealed = e2e::ProtectForThisUser(good);
    const std::string sealedHeader = std::string(varnoke::kProtectedFileHeader) + "\r\n";
    auto flip = [&](std::string bytes, size_t at) {
        bytes[at] ^= static_cast<char>(1 + byte(random) % 255);
        return bytes;
    };
    cases.push_back({"protected history", {}, false, sealed});
    cases.push_back(
        {"protected history of another user", {}, false, flip(sealed, sealed.size() - 2)});
    std::uniform_int_distribution<size_t> sealedOffset(1, sealed.size() - 1);
    for (int i = 0; i < randomCases; ++i) {
        cases.push_back({"protected history cut at offset " + std::to_string(i),
                         {},
                         false,
                         sealed.substr(0, sealedOffset(random))});
        cases.push_back({"protected history, one byte changed " + std::to_string(i),
                         {},
                         false,
                         flip(sealed, sealedOffset(random))});
        std::string noise(offset(random), '\0');
        for (char& c : noise) {
            c = static_cast<char>(byte(random));
        }
        cases.push_back({"protected header, random bytes " + std::to_string(i),
                         {},
                         false,
                         sealedHeader + noise});
    }
    cases.push_back({"protected data of 0xFFFFFFFF bytes",
                     {},
                     false,
                     sealedHeader + std::string("\xFF\xFF\xFF\xFF", 4) + "short"});
    cases.push_back({"protected header only", {}, false, sealedHeader});
    cases.push_back({"protected damaged history",
                     {},
                     false,
                     e2e::ProtectForThisUser(good.substr(0, good.size() - 3))});
    const std::string sealedExact = e2e::ProtectForThisUser(exact);
    cases.push_back(
        ExactCase("protected exact texts beside a protected data file", sealed, sealedExact));
    cases.push_back(ExactCase("protected exact texts beside a plain data file", good, sealedExact));
    cases.push_back(ExactCase("protected exact texts of another user", sealed,
                              flip(sealedExact, sealedExact.size() - 2)));

    // Registry garbage.
    const std::string huge(65536, 'G');
    for (const char* name : kIntSettings) {
        std::string n = name;
        cases.push_back({"registry " + n + " as a string",
                         [n](VarnokeProcess&) { e2e::WriteRegString(n.c_str(), "garbage"); }});
        cases.push_back({"registry " + n + " = 0x7FFFFFFF",
                         [n](VarnokeProcess&) { e2e::WriteRegInt(n.c_str(), 0x7FFFFFFF); }});
        cases.push_back({"registry " + n + " = -1",
                         [n](VarnokeProcess&) { e2e::WriteRegInt(n.c_str(), 0xFFFFFFFF); }});
        cases.push_back({"registry " + n + " = INT_MIN",
                         [n](VarnokeProcess&) { e2e::WriteRegInt(n.c_str(), 0x80000000); }});
        cases.push_back({"registry " + n + " as 3 binary bytes", [n](VarnokeProcess&) {
                             e2e::WriteRegBinary(n.c_str(), {0xFF, 0x00, 0x81});
                         }});
    }
    for (const char* name : kStringSettings) {
        std::string n = name;
        cases.push_back({"registry " + n + " as a number",
                         [n](VarnokeProcess&) { e2e::WriteRegInt(n.c_str(), 12345); }});
        cases.push_back({"registry " + n + " of 64 KB",
                         [n, huge](VarnokeProcess&) { e2e::WriteRegString(n.c_str(), huge); }});
        cases.push_back({"registry " + n + " of 300 characters", [n](VarnokeProcess&) {
                             e2e::WriteRegString(n.c_str(), std::string(296, 'p') + ".vnk");
                         }});
        cases.push_back({"registry " + n + " with invalid characters", [n](VarnokeProcess&) {
                             e2e::WriteRegString(n.c_str(), "a<>|*?\"\x81:.vnk");
                         }});
        cases.push_back({"registry " + n + " naming a folder", [n](VarnokeProcess& program) {
                             CreateDirectoryA(program.PathInFolder("folder").c_str(), nullptr);
                             e2e::WriteRegString(n.c_str(), "folder");
                         }});
        cases.push_back({"registry " + n + " ending in a lead byte",
                         [n](VarnokeProcess&) { e2e::WriteRegString(n.c_str(), "x\x81"); }});
    }

    // Phrase files for short-text menu 1 (Ctrl+Shift+V).
    auto phrase = [](const std::string& name, const std::string& bytes) {
        return Case{"phrase file: " + name,
                    [bytes](VarnokeProcess& program) {
                        e2e::WriteRegString("HotKeyData01", "phrases.txt");
                        e2e::WriteFileBytes(program.PathInFolder("phrases.txt"), bytes);
                    },
                    true};
    };
    std::string tenMb;
    for (int i = 0; tenMb.size() < (10u << 20); ++i) {
        tenMb += "phrase " + std::to_string(i) + "\r\n";
    }
    cases.push_back(phrase("10 MB of lines", tenMb));
    cases.push_back(phrase("10 MB in one line", std::string(10u << 20, 'z')));
    std::string binary(1 << 16, '\0');
    for (char& c : binary) {
        c = static_cast<char>(byte(random));
    }
    cases.push_back(phrase("binary bytes", binary));
    cases.push_back(phrase("unterminated markers",
                           "<$DATE\r\n[submenu\r\n<$TIME$\r\n$>\r\n<$\r\n\x81\r\n<$CLIP\x81"));
    cases.push_back(phrase("NUL bytes", std::string("a\0b\r\n\0\0\0", 8)));
    return cases;
}

struct DialogCounts {
    int opened = 0;
    int notOpened = 0;
    int refused = 0;  // OK kept the dialog open (a value it would not take); Cancel closed it
    int stuck = 0;    // did not answer, or did not close on OK and then Cancel
};

// A visible dialog of the program other than a message box, or null.
HWND DialogOf(const VarnokeProcess& program) {
    for (HWND window : e2e::DialogsOf(program.processId())) {
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof(caption));
        if (std::string(caption) != stress::kMessageBoxCaption) {
            return window;
        }
    }
    return nullptr;
}

// One dialog, once `open` has asked for it: it must come up, answer, and close on OK, which
// takes the values it was shown, or else on Cancel. Message boxes it raises on the way (a
// value out of range, an unusable data path) are answered, and a question it opens in turn
// is cancelled.
// Returns what went wrong, or an empty text.
std::string ProbeDialog(VarnokeProcess& program, const std::function<void()>& open,
                        DialogCounts& counts, int& boxes) {
    // A message box left by the previous dialog would keep the next one from opening.
    boxes += stress::AnswerBoxes(program, 200);
    open();
    HWND dialog = nullptr;
    e2e::WaitUntil([&] { return (dialog = DialogOf(program)) != nullptr; }, 5000);
    if (dialog == nullptr) {
        ++counts.notOpened;
        int left = stress::AnswerBoxes(program, 100);
        boxes += left;
        return left > 0 ? "did not open (a message box was up)" : "did not open";
    }
    ++counts.opened;
    DWORD_PTR result = 0;
    bool answers = SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    DWORD okAt = GetTickCount();
    HWND question = nullptr;
    bool cancelled = false;
    bool closed = e2e::WaitUntil(
        [&] {
            boxes += stress::AnswerBoxes(program, 0);
            HWND open = DialogOf(program);
            if (open != nullptr && open != dialog && open != question) {
                question = open;
                PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
            } else if (open == dialog && !cancelled && GetTickCount() - okAt > 2000) {
                cancelled = true;
                ++counts.refused;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            return open == nullptr;
        },
        15000);
    if (!answers || !closed) {
        ++counts.stuck;
        return !answers ? "did not answer" : "did not close";
    }
    return std::string();
}

// The options and hot-key dialogs from the tray menu's commands; when the history has an
// entry (the history menu shows only then, and the history editor opens only then), the
// history editor from its command and the entry editor by Space in the history menu.
std::string ProbeDialogs(VarnokeProcess& program, DialogCounts& counts, int& boxes) {
    std::string failed;
    auto probe = [&](const char* name, const std::function<void()>& open) {
        std::string problem = ProbeDialog(program, open, counts, boxes);
        if (!problem.empty()) {
            failed += (failed.empty() ? "" : ", ") + std::string(name) + " " + problem;
        }
        return problem.empty();
    };
    probe("options", [&] { program.PostCommand(ID_OPTIONS); });
    probe("hot keys", [&] { program.PostCommand(ID_HOTKEY_SETTINGS); });
    program.PressTrayIcon(WM_LBUTTONDOWN);
    if (!e2e::WaitForMenu(program, 2000)) {
        return failed;
    }
    e2e::PressKey(VK_ESCAPE);
    e2e::WaitForMenuClosed(program, 2000);
    probe("history", [&] { program.PostCommand(ID_EDIT_HISTORY); });
    program.PressTrayIcon(WM_LBUTTONDOWN);
    if (e2e::WaitForMenu(program, 2000) && !probe("entry", [] {
            e2e::PressKey(VK_DOWN);
            e2e::PressKey(VK_SPACE);
        })) {
        e2e::PressKey(VK_ESCAPE);
        e2e::WaitForMenuClosed(program, 2000);
    }
    return failed;
}

// True when every byte belongs to a valid record: anything else did not load completely.
// The header line without its line end is a complete empty file too.
// A protected file is complete when this user can unprotect it and what comes out is.
bool Unprotected(const std::string& bytes, std::string* plain) {
    const std::string header = std::string(varnoke::kProtectedFileHeader) + "\r\n";
    if (bytes.compare(0, header.size(), header) != 0) {
        *plain = bytes;
        return true;
    }
    return e2e::UnprotectForThisUser(bytes, plain);
}

bool Complete(const std::string& bytes) {
    Entries entries;
    std::string plain;
    return Unprotected(bytes, &plain) &&
           (plain.empty() || plain == e2e::EncodeHistory({}).substr(0, 35) ||
            e2e::DecodeHistory(plain, &entries));
}

bool ExactComplete(const std::string& bytes) {
    varnoke::ClipHistory none;
    std::string plain;
    if (!Unprotected(bytes, &plain)) {
        return false;
    }
    varnoke::MemorySource source(plain);
    return !varnoke::LoadExactTexts(source, none, 0, std::nullopt).damaged;
}

}  // namespace

int main(int argc, char** argv) {
    int randomCases = stress::IntArg(argc, argv, 1, 20);
    int stride = stress::IntArg(argc, argv, 2, 1);
    std::mt19937 random(static_cast<unsigned>(stress::IntArg(argc, argv, 3, 1)));
    if (stride <= 0) {
        stride = 1;
    }
    std::vector<Case> cases = AllCases(randomCases, random);
    int tried = 0, crashes = 0, hangs = 0, noStart = 0, unanswered = 0, lost = 0, boxes = 0;
    DialogCounts dialogs;
    const size_t first = static_cast<size_t>(std::max(0, stress::IntArg(argc, argv, 4, 0)));
    const int count = stress::IntArg(argc, argv, 5, static_cast<int>(cases.size()));
    for (size_t i = first; i < cases.size() && tried < count; i += static_cast<size_t>(stride)) {
        const Case& c = cases[i];
        ++tried;
        e2e::ResetRegistryWithHistoryWrittenOnEveryChange();
        VarnokeProcess program;
        if (c.setUp) {
            c.setUp(program);
        }
        if (!c.historyFile.empty()) {
            e2e::WriteFileBytes(program.PathInFolder("Varnoke.vnk"), c.historyFile);
        }
        if (!c.exactFile.empty()) {
            e2e::WriteFileBytes(program.PathInFolder("Varnoke.vnk.exact"), c.exactFile);
        }
        std::string problem;
        if (!program.Start()) {
            ++noStart;
            problem = "did not start";
        } else {
            boxes += stress::AnswerBoxes(program, 300);
            DWORD_PTR result = 0;
            bool answers = SendMessageTimeoutA(program.mainWindow(), WM_NULL, 0, 0,
                                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
            std::string probe = "probe " + std::to_string(i);
            e2e::SetClipboardText(probe);
            if (c.pressPhraseKey) {
                e2e::PressKey('V', true, true);
                if (e2e::WaitForMenu(program, 3000)) {
                    e2e::PressKey(VK_ESCAPE);
                    e2e::WaitForMenuClosed(program);
                }
            }
            boxes += stress::AnswerBoxes(program, 200);
            std::string failedDialogs = ProbeDialogs(program, dialogs, boxes);
            if (!failedDialogs.empty()) {
                problem = "dialogs failed: " + failedDialogs;
            }
            answers = answers && SendMessageTimeoutA(program.mainWindow(), WM_NULL, 0, 0,
                                                     SMTO_ABORTIFHUNG, 5000, &result) != 0;
            if (!answers) {
                ++unanswered;
                problem = "did not answer";
            }
            if (!program.IsRunning()) {
                ++crashes;
                problem = "ended by itself";
            } else {
                PostMessageA(program.mainWindow(), WM_CLOSE, 0, 0);
                boxes += stress::AnswerBoxes(program, 500);
                if (!e2e::WaitUntil([&] { return !program.IsRunning(); }, 15000)) {
                    ++hangs;
                    problem = "did not end";
                    program.Kill();
                } else {
                    DWORD code = 0;
                    GetExitCodeProcess(program.processHandle(), &code);
                    if (code != 0) {
                        ++crashes;
                        problem = "exit code " + std::to_string(code);
                    }
                }
            }
        }
        // A history file that did not load completely must not be gone for good.
        if (!Complete(c.historyFile)) {
            std::string kept;
            if (!e2e::ReadFileBytes(program.PathInFolder("VarnokeDamaged_Varnoke.vnk"), &kept) ||
                kept != c.historyFile) {
                ++lost;
                problem += problem.empty() ? "original lost" : ", original lost";
            }
        }
        if (!ExactComplete(c.exactFile)) {
            std::string kept;
            if (!e2e::ReadFileBytes(program.PathInFolder("VarnokeDamaged_Varnoke.vnk.exact"),
                                    &kept) ||
                kept != c.exactFile) {
                ++lost;
                problem += problem.empty() ? "exact texts lost" : ", exact texts lost";
            }
        }
        if (!problem.empty()) {
            std::printf("  case %zu (%s): %s\n", i, c.name.c_str(), problem.c_str());
        }
        std::fflush(stdout);
    }
    std::printf(
        "bad input at start-up: %d of %zu cases, crashes %d, hangs %d, did not start %d, "
        "did not answer %d, damaged originals not kept %d, message boxes answered %d; "
        "dialogs opened %d, OK refused then cancelled %d, did not open %d, did not answer or "
        "close %d\n",
        tried, cases.size(), crashes, hangs, noStart, unanswered, lost, boxes, dialogs.opened,
        dialogs.refused, dialogs.notOpened, dialogs.stuck);
    e2e::ResetRegistry();
    return crashes + hangs + noStart + unanswered + lost + dialogs.notOpened + dialogs.stuck == 0
               ? 0
               : 1;
}
