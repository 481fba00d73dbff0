// Kill during save: a full history (300 entries of about 64 KB) saved after every change;
// each trial copies a new text and kills the program at a random point of the save, by
// TerminateProcess and by SIGKILL from Linux in turn (every fourth trial right after the
// data file is replaced, before the exact-text file is). The data file must exist, decode
// completely and hold the history from before or after the copy; the next start must load
// it (each later save, and the final clean exit, show what was loaded). Two copies of every
// three come from a Unicode program with an emoji and a Hangul syllable that code page 932
// lacks, different in each copy but at the same place in the same padding: these entries
// have the same ANSI bytes and differ only in their exact texts, which the exact-text file
// beside the data file holds, and they often lie next to each other, where an exact text one
// place off would land on another's entry. After every kill that file, loaded over the data
// file as the program loads it, must read completely and give no entry an exact text copied
// for another. A torn pair (a kill between the two files) drops the exact texts it cannot
// tell apart: those are counted, not failed. With "protect", the program writes both files
// protected for the user (HistoryDataProtect), and every file after a kill must unprotect
// and decode as a plain one must.
// Usage: stress_kill.exe [trials=100] [seed=1] [protect]
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/setting_limits.h"
#include "history/exact_text_file.h"
#include "history/history_file.h"
#include "history/protected_file.h"
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

// The `k`th Unicode copy. The pair of characters is new in each copy (for the first 223,440),
// the rest never changes; code page 932 makes "??" of the emoji and "?" of the syllable, so
// every such copy has the same CF_TEXT.
std::wstring UnicodeText(int k) {
    const unsigned long emoji = 0x1F600 + static_cast<unsigned long>(k % 80) - 0x10000;
    std::wstring wide = L"unicode ";
    wide += static_cast<wchar_t>(0xD800 + (emoji >> 10));
    wide += static_cast<wchar_t>(0xDC00 + (emoji & 0x3FF));
    wide += static_cast<wchar_t>(0xAC00 + k % 11172);
    wide += L' ';
    wide.resize(kEntrySize, L'u');
    return wide;
}

bool IsProtectedFile(const std::string& bytes) {
    const std::string header = std::string(varnoke::kProtectedFileHeader) + "\r\n";
    return bytes.compare(0, header.size(), header) == 0;
}

// The bytes a load works on: a protected file unprotected, a plain one as it is.
bool PlainOf(const std::string& bytes, std::string* plain) {
    if (!IsProtectedFile(bytes)) {
        *plain = bytes;
        return true;
    }
    return e2e::UnprotectForThisUser(bytes, plain);
}

Entries OnDisk(const std::string& path) {
    std::string bytes;
    Entries entries;
    if (!e2e::ReadPlainFileBytes(path, &bytes) || !e2e::DecodeHistory(bytes, &entries)) {
        return {"<no valid history file>"};
    }
    return entries;
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

// A file's size and time stamp: a save that replaces the file changes them. Zero when the
// file is missing.
uint64_t FileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    const uint64_t written = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                             data.ftLastWriteTime.dwLowDateTime;
    return written ^ (static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
}

// Waits until the file's stamp differs from `before`; false after `timeoutMs`.
bool WaitForReplacement(const std::string& path, uint64_t before, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (FileStamp(path) == before) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(1);
    }
    return true;
}

bool IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// One copy the campaign made, in the order made. Each entry of a history is one of them;
// which one cannot be read from the data file, where the Unicode copies look alike.
struct Copy {
    std::string text;
    std::u16string exact;  // empty for a plain copy
    bool lost = false;     // a load after a kill gave it back without its exact text
    bool wrong = false;    // a load gave it an exact text copied for another
};

// A history as the campaign knows it: the entries' texts, newest first, and which copy
// each one is (-1: not known, after a data file that held neither history).
struct Known {
    Entries texts;
    std::vector<int> copies;

    // The history after the program captured `copy`: on top, the oldest of a full one out.
    Known With(const std::vector<Copy>& made, int copy) const {
        Known after = *this;
        after.texts.insert(after.texts.begin(), made[copy].text);
        after.copies.insert(after.copies.begin(), copy);
        after.texts.pop_back();
        after.copies.pop_back();
        return after;
    }
};

// The data file the exact-text file names in its header; nothing for another layout.
std::optional<varnoke::DataFileIdentity> NamedDataFile(const std::string& exact) {
    const std::string header = std::string(varnoke::kExactTextFileHeader) + "\r\n";
    if (exact.size() < header.size() + 16 || exact.compare(0, header.size(), header) != 0) {
        return std::nullopt;
    }
    auto get = [&](size_t at) {
        uint64_t value = 0;
        for (int i = 7; i >= 0; --i) {
            value = value << 8 | static_cast<unsigned char>(exact[at + i]);
        }
        return value;
    };
    return varnoke::DataFileIdentity{get(header.size()), get(header.size() + 8)};
}

// How the exact-text file fits the data file's entries after a kill.
struct ExactCheck {
    bool damaged = false;
    bool torn = false;     // written for another data file than the one on disk
    bool unknown = false;  // the load gave another number of entries than the campaign knows
    int wrong = 0;         // entries given an exact text copied for another
    int lost = 0;          // entries copied with an exact text, loaded without one
    int newlyLost = 0;     // of those, copies whose exact text no earlier load had lost
};

// Loads the files on disk as the program's start does: the data file whole, hashed as it is
// read, then the exact-text file over it with the identity of those bytes.
ExactCheck CheckExactTexts(const std::string& dataBytes, const std::string& exactPath,
                           const Known& known, std::vector<Copy>* made) {
    ExactCheck check;
    varnoke::MemorySource data(dataBytes);
    varnoke::HashingSource hashing(data);
    varnoke::ClipHistory history;
    varnoke::LoadHistoryRecords(hashing, history, varnoke::kHistoryLenLimit.maximum, IsLeadByte);
    const std::optional<varnoke::DataFileIdentity> dataFile =
        hashing.Finish(varnoke::kMaxDataFileSize);
    std::string exactBytes;
    if (e2e::FileExists(exactPath)) {
        std::string raw;
        check.damaged = !e2e::ReadFileBytes(exactPath, &raw) || !PlainOf(raw, &exactBytes);
    }
    varnoke::MemorySource exact(exactBytes);
    check.damaged = varnoke::LoadExactTexts(exact, history, 0, dataFile).damaged || check.damaged;
    const std::optional<varnoke::DataFileIdentity> named = NamedDataFile(exactBytes);
    check.torn = named.has_value() && !(dataFile.has_value() && *named == *dataFile);
    if (history.size() != static_cast<int>(known.copies.size())) {
        check.unknown = true;
        return check;
    }
    for (int pos = 0; pos < history.size(); ++pos) {
        const int id = known.copies[pos];
        if (id < 0) {
            continue;
        }
        Copy& copy = (*made)[id];
        const std::u16string& loaded = history.at(pos).exact;
        if (!loaded.empty() && loaded != copy.exact) {
            ++check.wrong;
            copy.wrong = true;
        } else if (loaded.empty() && !copy.exact.empty()) {
            ++check.lost;
            check.newlyLost += copy.lost ? 0 : 1;
            copy.lost = true;
        }
    }
    return check;
}

}  // namespace

int main(int argc, char** argv) {
    int trials = stress::IntArg(argc, argv, 1, 100);
    std::mt19937 random(static_cast<unsigned>(stress::IntArg(argc, argv, 2, 1)));
    const bool protect = argc > 3 && std::string(argv[3]) == "protect";
    e2e::ResetRegistryWithHistoryWrittenOnEveryChange();
    if (protect) {
        e2e::WriteRegInt("HistoryDataProtect", 1);
    }
    e2e::WriteRegInt("HistoryLen", 65535);
    e2e::WriteRegInt("HistoryNum", 300);
    VarnokeProcess program;
    const std::string dataFile = program.PathInFolder("Varnoke.vnk");
    const std::string exactFile = varnoke::MakeExactTextFileName(dataFile);
    const std::string tempFile = program.PathInFolder("VarnokeTemporaryFile_Varnoke.vnk");
    std::vector<Copy> made;
    // The plain copies' texts are all different: after a data file that held neither
    // history, they still say which copy each entry is.
    std::map<std::string, int> plainCopy;
    auto makePlain = [&](const std::string& text) {
        plainCopy[text] = static_cast<int>(made.size());
        made.push_back(Copy{text, std::u16string()});
        return static_cast<int>(made.size()) - 1;
    };
    Known current;
    for (int i = 0; i < 300; ++i) {
        current.texts.push_back(BigText("old " + std::to_string(i)));
        current.copies.push_back(makePlain(current.texts.back()));
    }
    e2e::WriteFileBytes(dataFile, e2e::EncodeHistory(current.texts));

    int unicodeCopies = 0, unshared = 0;
    std::string sharedAnsi;
    // Puts the next Unicode copy on the clipboard; returns it.
    auto copyUnicode = [&]() {
        const std::wstring wide = UnicodeText(unicodeCopies++);
        e2e::SetClipboardUnicode(wide);
        std::string ansi;
        e2e::GetClipboardText(&ansi);
        if (sharedAnsi.empty()) {
            sharedAnsi = ansi;
        } else if (ansi != sharedAnsi) {
            ++unshared;
            std::printf("  Unicode copy %d: its CF_TEXT differs from the first's\n", unicodeCopies);
        }
        made.push_back(Copy{ansi, std::u16string(wide.begin(), wide.end())});
        return static_cast<int>(made.size()) - 1;
    };

    // How long a save takes here, and when in it the exact-text file takes its place: the
    // kills fall anywhere within the save. A copy with an exact text measures the longer
    // save, which hashes the data file and writes both files.
    if (!program.Start()) {
        std::printf("kill during save: the program did not start\n");
        return 1;
    }
    const uint64_t dataBefore = FileStamp(dataFile);
    const uint64_t exactBefore = FileStamp(exactFile);
    const int calibration = copyUnicode();
    const DWORD began = GetTickCount();
    // The data file is written first, the exact-text file last: the save ends with it.
    DWORD dataMs = 0, saveMs = 0;
    while (saveMs == 0 && GetTickCount() - began < 60000) {
        // A protected file is not read here: unprotecting 19 MB at every look would stretch
        // the measure; the first replacement after the copy is its save.
        if (dataMs == 0 && FileStamp(dataFile) != dataBefore &&
            (protect || StartsWith(NewestOnDisk(program), "unicode "))) {
            dataMs = GetTickCount() - began;
        }
        if (dataMs != 0 && FileStamp(exactFile) != exactBefore) {
            saveMs = GetTickCount() - began;
        }
        Sleep(1);
    }
    saveMs = saveMs != 0 ? saveMs : GetTickCount() - began;
    program.Stop(60000);
    current = current.With(made, calibration);

    int oldKept = 0, newKept = 0, damaged = 0, neither = 0, missing = 0, leftovers = 0;
    int byTerminate = 0, bySignal = 0, notKilled = 0, plainFiles = 0;
    int exactDamaged = 0, exactTorn = 0, exactUnknown = 0, exactWrong = 0, exactLost = 0;
    // Loads the exact texts over the data file `bytes` as the program's start does, and counts.
    auto tally = [&](const std::string& bytes) {
        const ExactCheck exact = CheckExactTexts(bytes, exactFile, current, &made);
        exactDamaged += exact.damaged ? 1 : 0;
        exactTorn += exact.torn ? 1 : 0;
        exactUnknown += exact.unknown ? 1 : 0;
        exactWrong += exact.wrong;
        exactLost += exact.newlyLost;
        return exact;
    };
    int aimed = 0, notReplaced = 0;
    std::uniform_int_distribution<DWORD> delay(0, saveMs + saveMs / 4);
    for (int trial = 1; trial <= trials; ++trial) {
        if (!program.Start()) {
            std::printf("  trial %d: the program did not start\n", trial);
            ++missing;
            break;
        }
        const bool bySigkill = trial % 2 == 0;
        // Only a kill between the two files tears the pair, and few kills spread over the
        // whole save land there: every fourth trial waits until the data file, written
        // first, is replaced and kills at once, by TerminateProcess (a SIGKILL goes through the
        // Linux side, whose search of /proc took longer here than the rest of the save).
        const bool aim = trial % 4 == 3;
        const uint64_t dataBefore = FileStamp(dataFile);
        int copy;
        if (trial % 3 != 1) {
            copy = copyUnicode();
        } else {
            copy = makePlain(BigText("trial " + std::to_string(trial)));
            e2e::SetClipboardText(made[copy].text);
        }
        if (!aim) {
            Sleep(delay(random));
        } else {
            ++aimed;
            if (!WaitForReplacement(dataFile, dataBefore, 10000)) {
                ++notReplaced;
                std::printf("  trial %d: the data file was not replaced\n", trial);
            }
        }
        if (!bySigkill) {
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
        std::string raw, bytes;
        Entries onDisk;
        const Known after = current.With(made, copy);
        bool decoded = false;
        if (!e2e::ReadFileBytes(dataFile, &raw)) {
            ++missing;
            std::printf("  trial %d: no data file\n", trial);
        } else if (!PlainOf(raw, &bytes) || !e2e::DecodeHistory(bytes, &onDisk)) {
            ++damaged;
            std::printf("  trial %d: the data file does not decode (%zu bytes)\n", trial,
                        bytes.size());
        } else if (onDisk == current.texts) {
            ++oldKept;
            decoded = true;
        } else if (onDisk == after.texts) {
            ++newKept;
            current = after;
            decoded = true;
        } else {
            ++neither;
            std::printf("  trial %d: the data file holds neither history (%zu entries)\n", trial,
                        onDisk.size());
            current.texts = onDisk;
            current.copies.clear();
            for (const std::string& text : onDisk) {
                auto plain = plainCopy.find(text);
                current.copies.push_back(plain == plainCopy.end() ? -1 : plain->second);
            }
            decoded = true;
        }
        if (e2e::FileExists(tempFile)) {
            ++leftovers;
        }
        plainFiles += !raw.empty() && !IsProtectedFile(raw) ? 1 : 0;
        if (!decoded) {
            continue;
        }
        const ExactCheck exact = tally(bytes);
        if (exact.damaged || exact.unknown || exact.wrong > 0 || exact.newlyLost > 0) {
            std::printf(
                "  trial %d: exact texts: %s, damaged %d, not loaded as known %d, given another's "
                "%d, lost %d (%d by this kill)\n",
                trial, exact.torn ? "pair torn" : "pair whole", exact.damaged ? 1 : 0,
                exact.unknown ? 1 : 0, exact.wrong, exact.lost, exact.newlyLost);
        }
    }
    // The last start loads what the kills left, and a clean exit writes it back whole.
    bool finalLoad = program.Start() && program.Stop(60000) && OnDisk(dataFile) == current.texts;
    bool tempAtEnd = e2e::FileExists(tempFile);
    std::string bytes;
    if (finalLoad && e2e::ReadPlainFileBytes(dataFile, &bytes)) {
        tally(bytes);
    }
    int lostHeld = 0, wrongCopies = 0;
    for (int id : current.copies) {
        lostHeld += id >= 0 && made[id].lost ? 1 : 0;
    }
    for (const Copy& copy : made) {
        wrongCopies += copy.wrong ? 1 : 0;
    }
    const std::string kind = protect ? " (protected files; plain data files seen after a kill " +
                                           std::to_string(plainFiles) + ")"
                                     : "";
    std::printf(
        "kill during save%s: %d trials (%d TerminateProcess, %d SIGKILL, %d kills failed; %d "
        "after the data file was replaced, %d of them found it not replaced), save "
        "about %lu ms (the data file in place at about %lu ms): old kept %d, new kept %d, "
        "damaged %d, neither %d, no file %d, temporary file left by a kill %d, at the end %d, "
        "next start loads it: %s\n",
        kind.c_str(), byTerminate + bySignal, byTerminate, bySignal, notKilled, aimed, notReplaced,
        static_cast<unsigned long>(saveMs), static_cast<unsigned long>(dataMs), oldKept, newKept,
        damaged, neither, missing, leftovers, tempAtEnd ? 1 : 0, finalLoad ? "yes" : "NO");
    std::printf(
        "kill during save, exact texts (%d Unicode copies, all of the same %zu ANSI bytes, %d "
        "not): files that did not read %d, loads unlike the data file %d, exact-text file "
        "written for another data file (torn pair) %d times, entries given another's exact "
        "text %d (%d copies), exact texts lost %d (%d of them in the final history)\n",
        unicodeCopies, sharedAnsi.size(), unshared, exactDamaged, exactUnknown, exactTorn,
        exactWrong, wrongCopies, exactLost, lostHeld);
    bool ok = damaged == 0 && neither == 0 && missing == 0 && notKilled == 0 && finalLoad &&
              !tempAtEnd && unshared == 0 && exactDamaged == 0 && exactUnknown == 0 &&
              exactWrong == 0;
    e2e::ResetRegistry();
    return ok ? 0 : 1;
}
