// Kill during save: a full history (300 entries of about 64 KB) saved after every change;
// each trial copies a new text and kills the program at a random point of the save, by
// TerminateProcess and by SIGKILL from Linux in turn. The data file must exist, decode
// completely and hold the history from before or after the copy; the next start must load
// it (each later save, and the final clean exit, show what was loaded). Every third copy
// comes from a Unicode program with a character code page 932 lacks, so the exact-text file
// beside the data file is saved too: it must always read completely, give each such entry
// its own exact text, and lose none that both files hold.
// Usage: stress_kill.exe [trials=100] [seed=1]
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <map>

#include "history/exact_text_file.h"
#include "stress_common.h"

using e2e::VarnokeProcess;
using Entries = std::vector<std::string>;

namespace {

constexpr size_t kEntrySize = 64000;

std::string BigText(const std::string& name) {
    std::string text = name + " ";
    text.resize(kEntrySize, static_cast<char>('a' + name.size() % 26));
    return text;
}

// The first bytes of the data file name its newest entry; a read is cheap that way.
std::string NewestOnDisk(const VarnokeProcess& program) {
    HANDLE file = CreateFileA(program.PathInFolder("Varnoke.vnk").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    char bytes[80] = {};
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    return got > 43 ? std::string(bytes + 43, got - 43) : std::string();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// How the exact-text file fits the data file's entries after a kill.
struct ExactCheck {
    bool damaged = false;
    int wrong = 0;  // an entry given another entry's exact text
    int lost = 0;   // a Unicode copy that both files hold, back without its exact text
};

ExactCheck CheckExactTexts(const VarnokeProcess& program, const Entries& onDisk,
                           const std::map<std::string, std::wstring>& exactOf) {
    ExactCheck check;
    std::string bytes;
    e2e::ReadFileBytes(program.PathInFolder("Varnoke.vnk.exact"), &bytes);
    varnoke::ClipHistory history;
    for (const std::string& text : onDisk) {
        history.Append(text);
    }
    varnoke::MemorySource source(bytes);
    check.damaged = varnoke::LoadExactTexts(source, history, 0).damaged;
    for (int pos = 0; pos < history.size(); ++pos) {
        const varnoke::HistoryEntry& entry = history.at(pos);
        auto unicode = exactOf.find(entry.text);
        if (!entry.exact.empty()) {
            const std::wstring exact(entry.exact.begin(), entry.exact.end());
            check.wrong += unicode == exactOf.end() || unicode->second != exact ? 1 : 0;
        } else if (unicode != exactOf.end() && pos + 1 < history.size()) {
            // The oldest entry is the one a full history drops: the newer file may lack it.
            ++check.lost;
        }
    }
    return check;
}

}  // namespace

int main(int argc, char** argv) {
    int trials = stress::IntArg(argc, argv, 1, 100);
    std::mt19937 random(static_cast<unsigned>(stress::IntArg(argc, argv, 2, 1)));
    e2e::ResetRegistryWithHistoryWrittenOnEveryChange();
    e2e::WriteRegInt("HistoryLen", 65535);
    e2e::WriteRegInt("HistoryNum", 300);
    VarnokeProcess program;
    const std::string dataFile = program.PathInFolder("Varnoke.vnk");
    const std::string tempFile = program.PathInFolder("VarnokeTemporaryFile_Varnoke.vnk");
    Entries current;
    for (int i = 0; i < 300; ++i) {
        current.push_back(BigText("old " + std::to_string(i)));
    }
    e2e::WriteFileBytes(dataFile, e2e::EncodeHistory(current));

    // How long a save takes here: the kills fall anywhere within it.
    if (!program.Start()) {
        std::printf("kill during save: the program did not start\n");
        return 1;
    }
    std::string calibration = BigText("calibration");
    e2e::SetClipboardText(calibration);
    DWORD began = GetTickCount();
    e2e::WaitUntil([&] { return StartsWith(NewestOnDisk(program), "calibration "); }, 60000);
    DWORD saveMs = GetTickCount() - began;
    program.Stop(60000);
    current.insert(current.begin(), calibration);
    current.pop_back();

    int oldKept = 0, newKept = 0, damaged = 0, neither = 0, missing = 0, leftovers = 0;
    int byTerminate = 0, bySignal = 0, notKilled = 0;
    int exactDamaged = 0, exactWrong = 0, exactLost = 0;
    std::map<std::string, std::wstring> exactOf;
    std::uniform_int_distribution<DWORD> delay(0, saveMs + saveMs / 4);
    for (int trial = 1; trial <= trials; ++trial) {
        if (!program.Start()) {
            std::printf("  trial %d: the program did not start\n", trial);
            ++missing;
            break;
        }
        std::string text = BigText("trial " + std::to_string(trial));
        if (trial % 3 == 0) {
            std::wstring wide(text.begin(), text.end() - 3);
            wide += L" \U0001F600";
            e2e::SetClipboardUnicode(wide);
            e2e::GetClipboardText(&text);
            exactOf[text] = wide;
        } else {
            e2e::SetClipboardText(text);
        }
        Sleep(delay(random));
        if (trial % 2 == 1) {
            program.Kill();
            ++byTerminate;
        } else {
            stress::LinuxRequest("kill", stress::TokenOf(program));
            ++bySignal;
        }
        if (!e2e::WaitUntil([&] { return !program.IsRunning(); }, 10000)) {
            ++notKilled;
            program.Kill();
        }
        std::string bytes;
        Entries onDisk;
        Entries after = current;
        after.insert(after.begin(), text);
        after.pop_back();
        if (!e2e::ReadFileBytes(dataFile, &bytes)) {
            ++missing;
            std::printf("  trial %d: no data file\n", trial);
        } else if (!e2e::DecodeHistory(bytes, &onDisk)) {
            ++damaged;
            std::printf("  trial %d: the data file does not decode (%zu bytes)\n", trial,
                        bytes.size());
        } else if (onDisk == current) {
            ++oldKept;
        } else if (onDisk == after) {
            ++newKept;
            current = after;
        } else {
            ++neither;
            std::printf("  trial %d: the data file holds neither history (%zu entries)\n", trial,
                        onDisk.size());
            current = onDisk;
        }
        if (e2e::FileExists(tempFile)) {
            ++leftovers;
        }
        const ExactCheck exact = CheckExactTexts(program, onDisk, exactOf);
        exactDamaged += exact.damaged ? 1 : 0;
        exactWrong += exact.wrong;
        exactLost += exact.lost;
        if (exact.damaged || exact.wrong > 0 || exact.lost > 0) {
            std::printf("  trial %d: exact texts damaged %d, wrong %d, lost %d\n", trial,
                        exact.damaged ? 1 : 0, exact.wrong, exact.lost);
        }
    }
    // The last start loads what the kills left, and a clean exit writes it back whole.
    bool finalLoad =
        program.Start() && program.Stop(60000) && e2e::HistoryOnDisk(program) == current;
    bool tempAtEnd = e2e::FileExists(tempFile);
    const ExactCheck finalExact = CheckExactTexts(program, current, exactOf);
    exactDamaged += finalExact.damaged ? 1 : 0;
    exactWrong += finalExact.wrong;
    exactLost += finalExact.lost;
    std::printf(
        "kill during save: %d trials (%d TerminateProcess, %d SIGKILL, %d kills failed), save "
        "about %lu ms: old kept %d, new kept %d, damaged %d, neither %d, no file %d, "
        "temporary file left by a kill %d, at the end %d, next start loads it: %s\n",
        byTerminate + bySignal, byTerminate, bySignal, notKilled,
        static_cast<unsigned long>(saveMs), oldKept, newKept, damaged, neither, missing, leftovers,
        tempAtEnd ? 1 : 0, finalLoad ? "yes" : "NO");
    std::printf(
        "kill during save, exact texts (%zu Unicode copies): files that did not read %d, "
        "entries given another's text %d, lost %d\n",
        exactOf.size(), exactDamaged, exactWrong, exactLost);
    bool ok = damaged == 0 && neither == 0 && missing == 0 && notKilled == 0 && finalLoad &&
              !tempAtEnd && exactDamaged == 0 && exactWrong == 0 && exactLost == 0;
    e2e::ResetRegistry();
    return ok ? 0 : 1;
}
