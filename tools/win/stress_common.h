#pragma once
// What the stress drivers share: arguments, the request link to the Linux side (run by
// scripts/stress.sh), and samples of the program's resources.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness.h"

namespace stress {

inline int IntArg(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

// The folder in which stress.sh answers requests: the environment's VARNOKE_STRESS_LINK
// (a Windows path). Empty when the driver runs alone; Linux-side requests then fail.
inline std::string LinkFolder() {
    char path[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableA("VARNOKE_STRESS_LINK", path, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(path) : std::string();
}

// Asks the Linux side to act on the program whose command line holds `token` (its
// folder): "kill" sends SIGKILL, "fds" counts its open file descriptors. Returns the
// answer, or "" when none came.
inline std::string LinuxRequest(const std::string& verb, const std::string& token) {
    std::string link = LinkFolder();
    if (link.empty()) {
        return std::string();
    }
    std::string request = link + "\\request", answer = link + "\\answer";
    DeleteFileA(answer.c_str());
    std::string temp = request + ".tmp";
    if (!e2e::WriteFileBytes(temp, verb + " " + token + "\n") ||
        !MoveFileExA(temp.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return std::string();
    }
    std::string reply;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        if (e2e::ReadFileBytes(answer, &reply)) {
            DeleteFileA(answer.c_str());
            while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r')) {
                reply.pop_back();
            }
            return reply;
        }
        Sleep(2);
    }
    return std::string();
}

// The program's folder name is unique to this run and appears in its command line.
inline std::string TokenOf(const e2e::VarnokeProcess& program) {
    const std::string& folder = program.folder();
    return folder.substr(folder.find_last_of('\\') + 1);
}

// Wine answers the Win32 questions about another process's memory, handles and GUI objects
// with 0, so each is asked both ways: whatever Win32 reports, and from Linux the process's
// private resident memory (RssAnon) and its file descriptors.
struct Sample {
    SIZE_T privateBytes = 0;
    int rssAnonKb = -1;
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    int fds = -1;
};

inline Sample TakeSample(const e2e::VarnokeProcess& program) {
    Sample s;
    HANDLE process = program.processHandle();
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        s.privateBytes = counters.PrivateUsage;
    }
    GetProcessHandleCount(process, &s.handles);
    s.gdi = GetGuiResources(process, GR_GDIOBJECTS);
    s.user = GetGuiResources(process, GR_USEROBJECTS);
    std::string anon = LinuxRequest("mem", TokenOf(program));
    s.rssAnonKb = anon.empty() ? -1 : std::atoi(anon.c_str());
    std::string fds = LinuxRequest("fds", TokenOf(program));
    s.fds = fds.empty() ? -1 : std::atoi(fds.c_str());
    return s;
}

inline void PrintSample(const char* label, int at, const Sample& s) {
    std::printf(
        "  %s %6d: RssAnon %6d KB, fds %3d; Win32 private %lu KB, handles %lu, GDI %lu, "
        "USER %lu\n",
        label, at, s.rssAnonKb, s.fds, static_cast<unsigned long>(s.privateBytes / 1024),
        static_cast<unsigned long>(s.handles), static_cast<unsigned long>(s.gdi),
        static_cast<unsigned long>(s.user));
    std::fflush(stdout);
}

// Flat: the last sample is within a small margin of the first.
inline bool Flat(const Sample& first, const Sample& last) {
    return last.privateBytes <= first.privateBytes + first.privateBytes / 10 + 1024 * 1024 &&
           last.handles <= first.handles + 10 && last.gdi <= first.gdi + 10 &&
           last.user <= first.user + 10 && last.fds <= first.fds + 10 &&
           last.rssAnonKb <= first.rssAnonKb + first.rssAnonKb / 10 + 1024;
}

// The program's message boxes carry its bare title; its dialogs name themselves first.
constexpr char kMessageBoxCaption[] = "Varnoke";

// Answers every message box the program shows (a bad file may bring one); returns how many.
inline int AnswerBoxes(const e2e::VarnokeProcess& program, DWORD waitMs) {
    int answered = 0;
    for (;;) {
        HWND box = e2e::FindMessageBox(program.processId(), kMessageBoxCaption, waitMs);
        if (box == nullptr) {
            return answered;
        }
        e2e::AnswerMessageBox(box);
        e2e::WaitUntil([box] { return !IsWindow(box); }, 3000);
        if (++answered > 20) {
            return answered;
        }
    }
}

}  // namespace stress
