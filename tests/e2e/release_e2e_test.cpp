// The release as a user receives it: the shipped exe's version and manifest, the portable
// zip unpacked, and the installer with its uninstaller, run silently as a deployment tool
// runs them. scripts/package.sh builds the packages into build/dist, beside the folder of
// this program, and scripts/test.sh unpacks the zip into build/dist/unzipped. The tests use
// the packages of this program's own architecture, the one the machine runs. Without
// packages the tests that need them are skipped, unless scripts/test.sh built them (it sets
// VARNOKE_PACKAGES_BUILT=1): there a missing or renamed package fails.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "harness.h"
#include "harness_internal.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnoke";

std::string TestProgramFolder() {
    return internal::ThisProgramFolder();
}

std::string DistFolder() {
    return TestProgramFolder() + "\\..\\dist";
}

const char* const kArch = sizeof(void*) == 8 ? "win64" : "win32";

bool PackagesBuilt() {
    char value[8] = {};
    return GetEnvironmentVariableA("VARNOKE_PACKAGES_BUILT", value, sizeof(value)) > 0 &&
           std::strcmp(value, "1") == 0;
}

#define REQUIRE_PACKAGE(present, what)                                                      \
    do {                                                                                    \
        if (!(present)) {                                                                   \
            if (PackagesBuilt()) {                                                          \
                FAIL() << "scripts/test.sh built the packages, but " << (what)              \
                       << " is missing from build/dist";                                    \
            }                                                                               \
            GTEST_SKIP() << "no " << (what) << " in build/dist (scripts/test.sh makes it)"; \
        }                                                                                   \
    } while (false)

// The one file of this architecture matching a pattern such as "Varnoke-*-%s-setup.exe",
// or an empty text.
std::string FindInDist(const char* pattern) {
    char name[64];
    std::snprintf(name, sizeof(name), pattern, kArch);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((DistFolder() + "\\" + name).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    FindClose(find);
    return DistFolder() + "\\" + data.cFileName;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? path : "";
}

bool ReadString(HKEY root, const char* key, const char* name, std::string* value) {
    char text[1024] = {};
    DWORD size = sizeof(text) - 1;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    LONG rc = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(opened);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    *value = text;
    return true;
}

bool KeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

// Runs a command line and returns its exit code (STILL_ACTIVE when it did not end).
DWORD RunAndWait(std::string commandLine, DWORD timeoutMs = 60000) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return static_cast<DWORD>(-1);
    }
    WaitUntil([&info] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; },
              timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code;
}

std::string ResourceText(HMODULE module, LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    if (loaded == nullptr) {
        return std::string();
    }
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module, found));
}

// The attribute value `name="..."` inside the first element that starts with `element`.
std::string Attribute(const std::string& xml, const std::string& element, const std::string& name) {
    size_t start = xml.find("<" + element);
    size_t end = xml.find('>', start);
    if (start == std::string::npos || end == std::string::npos) {
        return std::string();
    }
    std::string tag = xml.substr(start, end - start);
    size_t at = tag.find(" " + name + "=\"");
    if (at == std::string::npos) {
        return std::string();
    }
    at += name.size() + 3;
    return tag.substr(at, tag.find('"', at) - at);
}

TEST(ReleaseE2E, VersionResourceManifestAndVersionTextAgree) {
    HMODULE exe = LoadLibraryExA((TestProgramFolder() + "\\Varnoke.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    std::string version = ResourceText(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    const DWORD signature = 0xFEEF04BD;
    size_t at = version.find(std::string(reinterpret_cast<const char*>(&signature), 4));
    ASSERT_NE(at, std::string::npos) << "no fixed version information";
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, version.data() + at, sizeof(fixed));
    EXPECT_EQ(fixed.dwFileVersionMS, fixed.dwProductVersionMS);
    EXPECT_EQ(fixed.dwFileVersionLS, fixed.dwProductVersionLS);
    char dotted[64];
    std::snprintf(dotted, sizeof(dotted), "%lu.%lu.%lu.%lu", fixed.dwFileVersionMS >> 16,
                  fixed.dwFileVersionMS & 0xFFFF, fixed.dwFileVersionLS >> 16,
                  fixed.dwFileVersionLS & 0xFFFF);
    char shown[64];
    std::snprintf(shown, sizeof(shown), "Varnoke ver. %lu.%lu", fixed.dwFileVersionMS >> 16,
                  fixed.dwFileVersionMS & 0xFFFF);

    std::string manifest = ResourceText(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    EXPECT_EQ(Attribute(manifest, "assemblyIdentity", "version"), dotted);
    EXPECT_EQ(Attribute(manifest, "requestedExecutionLevel", "level"), "asInvoker");
    char text[256] = {};
    LoadStringA(exe, IDS_APP_VERSION, text, sizeof(text));
    EXPECT_STREQ(text, shown);
    FreeLibrary(exe);
}

TEST(PortableZipE2E, TheUnpackedFolderRunsTheProgramWithItsHelpAndPictures) {
    const std::string folder = DistFolder() + "\\unzipped\\Varnoke";
    REQUIRE_PACKAGE(FileExists(folder + "\\Varnoke.exe"), "the unpacked zip (unzipped)");
    for (const char* name : {"Varnoke.html", "Symbol.txt", "ReadMe.txt"}) {
        EXPECT_TRUE(FileExists(folder + "\\" + name)) << name;
    }
    std::string help;
    ASSERT_TRUE(ReadFileBytes(folder + "\\Varnoke.html", &help));
    int pictures = 0;
    for (size_t at = help.find("src=\"images/"); at != std::string::npos;
         at = help.find("src=\"images/", at + 1)) {
        size_t start = at + 5;
        std::string picture = help.substr(start, help.find('"', start) - start);
        picture.replace(picture.find('/'), 1, "\\");
        EXPECT_TRUE(FileExists(folder + "\\" + picture)) << picture;
        ++pictures;
    }
    EXPECT_GT(pictures, 0) << "the help page shows no picture";

    ResetRegistryWithHistoryWrittenOnEveryChange();
    DeleteFileA((folder + "\\Varnoke.vnk").c_str());
    {
        VarnokeProcess program(folder);
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(SetClipboardText("from the zip"));
        EXPECT_TRUE(WaitForHistory(program, {"from the zip"}));
        EXPECT_TRUE(program.Stop());
    }
    DeleteFileA((folder + "\\Varnoke.vnk").c_str());
    ResetRegistry();
}

// A visible dialog of any process whose caption starts with `prefix` and that has (or has
// not) a Yes button: the uninstaller copies itself away, so its windows belong to a process
// the test did not start.
HWND FindDialog(const std::string& prefix, bool withYesButton) {
    HWND found = nullptr;
    WaitUntil([&] {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
            char caption[256] = {};
            GetWindowTextA(window, caption, sizeof(caption));
            if (IsWindowVisible(window) && std::string(caption).rfind(prefix, 0) == 0 &&
                (GetDlgItem(window, IDYES) != nullptr) == withYesButton) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

// Clicks a button once it is enabled (the wizard's Next button is disabled while it works).
bool ClickWhenEnabled(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr || !WaitUntil([&] { return IsWindowEnabled(button) != FALSE; })) {
        return false;
    }
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

class InstallerE2E : public testing::Test {
  protected:
    void SetUp() override {
        setup_ = FindInDist("Varnoke-*-%s-setup.exe");
        REQUIRE_PACKAGE(!setup_.empty(), std::string("the installer of ") + kArch);
        folder_ = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Varnoke";
        shortcut_ = ShellFolder(CSIDL_PROGRAMS) + "\\Varnoke.lnk";
        ResetRegistry();
        RemoveInstallation();
    }
    void TearDown() override {
        if (!setup_.empty()) {
            RemoveInstallation();
            ResetRegistry();
        }
    }

    void RemoveInstallation() {
        // A Varnoke left running by a failed test would keep its files.
        HWND window = FindWindowA(nullptr, "Varnoke");
        if (window != nullptr && !IsWindowVisible(window)) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            WaitUntil([] { return FindWindowA(nullptr, "Varnoke") == nullptr; });
        }
        std::string folder = folder_;
        WaitUntil([&] {
            DeleteFileA((folder + "\\Varnoke.exe").c_str());
            return !FileExists(folder + "\\Varnoke.exe");
        });
        RemoveFolder(folder_);
        DeleteFileA(shortcut_.c_str());
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Varnoke");
            RegCloseKey(run);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
    }

    static void RemoveFolder(const std::string& folder) { internal::DeleteFolderTree(folder); }

    DWORD Install() { return RunAndWait("\"" + setup_ + "\" /S"); }

    std::string InFolder(const std::string& name) const { return folder_ + "\\" + name; }

    // Runs the silent uninstall as "Apps & features" names it. The uninstaller copies itself
    // away and ends at once; the copy has finished when it has removed itself and its key.
    void UninstallSilently() {
        std::string command;
        ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, "QuietUninstallString", &command));
        ASSERT_EQ(RunAndWait(command), 0u);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return !FileExists(InFolder("Uninstall.exe")) &&
                       !KeyExists(HKEY_CURRENT_USER, kUninstallKey);
            },
            30000));
    }

    // Runs `act` while the installed program runs with `copy` captured and the file on disk
    // emptied behind its back: the file holds the copy again only if the program was asked
    // to close and saved its history at exit. The history is written after every change.
    void WhileRunningWithUnsavedCopy(const std::string& copy, const std::function<void()>& act) {
        VarnokeProcess program(folder_);
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(SetClipboardText(copy));
        ASSERT_TRUE(WaitForHistory(program, {copy}));
        // A save of the program may hold the file for a moment (its probe and rename), which
        // refuses any other writer meanwhile: the write is tried again until it lets go.
        ASSERT_TRUE(WaitUntil(
            [&] { return WriteFileBytes(InFolder("Varnoke.vnk"), EncodeHistory({})); }, 5000));
        act();
        EXPECT_TRUE(WaitUntil([&] { return !program.IsRunning(); }, 30000))
            << "the program was not ended";
        EXPECT_EQ(HistoryOnDisk(program), (Entries{copy}));
    }

    std::string setup_;
    std::string folder_;
    std::string shortcut_;
};

TEST_F(InstallerE2E, SilentInstallPutsTheProgramItsShortcutAndTheLogonStart) {
    ASSERT_EQ(Install(), 0u);
    for (const char* name : {"Varnoke.exe", "Varnoke.html", "Symbol.txt", "Uninstall.exe",
                             "images\\history_menu.png"}) {
        EXPECT_TRUE(FileExists(InFolder(name))) << name;
    }
    std::string installed, built;
    ASSERT_TRUE(ReadFileBytes(InFolder("Varnoke.exe"), &installed));
    ASSERT_TRUE(ReadFileBytes(TestProgramFolder() + "\\Varnoke.exe", &built));
    EXPECT_TRUE(installed == built) << "the installed program is not the one built";
    EXPECT_TRUE(FileExists(shortcut_)) << shortcut_;

    std::string value;
    ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kRunKey, "Varnoke", &value));
    EXPECT_EQ(value, "\"" + InFolder("Varnoke.exe") + "\"");
    ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, "DisplayName", &value));
    EXPECT_EQ(value, "Varnoke");
    ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", &value));
    EXPECT_EQ(value, "\"" + InFolder("Uninstall.exe") + "\"");
}

TEST_F(InstallerE2E, TheInstalledProgramStartsAndCapturesACopy) {
    ASSERT_EQ(Install(), 0u);
    ResetRegistryWithHistoryWrittenOnEveryChange();
    VarnokeProcess program(folder_);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(SetClipboardText("captured after installing"));
    EXPECT_TRUE(WaitForHistory(program, {"captured after installing"}));
    EXPECT_TRUE(program.Stop());
}

TEST_F(InstallerE2E, ASecondInstallOverARunningProgramKeepsHistorySettingsAndAnEditedSymbolTxt) {
    ASSERT_EQ(Install(), 0u);
    const std::string edited = "[#mine\r\nmy own phrase\r\n";
    ASSERT_TRUE(WriteFileBytes(InFolder("Symbol.txt"), edited));
    ResetRegistryWithHistoryWrittenOnEveryChange();
    WriteRegInt("HistoryNum", 42);
    WhileRunningWithUnsavedCopy("before the upgrade", [&] { EXPECT_EQ(Install(), 0u); });
    EXPECT_TRUE(FileExists(InFolder("Varnoke.exe")));
    std::string symbols;
    ASSERT_TRUE(ReadFileBytes(InFolder("Symbol.txt"), &symbols));
    EXPECT_EQ(symbols, edited);
    DWORD historyNum = 0;
    EXPECT_TRUE(ReadRegInt("HistoryNum", &historyNum));
    EXPECT_EQ(historyNum, 42u);
}

// The file an earlier version shipped differs from this one's but carries the write time that
// version's installer recorded: it was never edited, so the new one takes its place.
TEST_F(InstallerE2E, AnUneditedSymbolTxtIsReplacedByTheShippedOne) {
    ASSERT_EQ(Install(), 0u);
    const std::string symbols = InFolder("Symbol.txt");
    FILETIME recorded{};
    HANDLE file = CreateFileA(symbols.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &recorded));
    CloseHandle(file);
    ASSERT_TRUE(WriteFileBytes(symbols, "[#older\r\nan older phrase\r\n"));
    file =
        CreateFileA(symbols.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &recorded));
    CloseHandle(file);
    ASSERT_EQ(Install(), 0u);
    std::string installed, shipped;
    ASSERT_TRUE(ReadFileBytes(symbols, &installed));
    ASSERT_TRUE(ReadFileBytes(TestProgramFolder() + "\\Symbol.txt", &shipped));
    EXPECT_TRUE(installed == shipped);
}

TEST_F(InstallerE2E, SilentUninstallEndsTheProgramSavingItsHistoryAndKeepsTheHistory) {
    ASSERT_EQ(Install(), 0u);
    ResetRegistryWithHistoryWrittenOnEveryChange();
    WhileRunningWithUnsavedCopy("kept after uninstalling", [&] { UninstallSilently(); });
    for (const char* name : {"Varnoke.exe", "Varnoke.html", "Symbol.txt", "Uninstall.exe",
                             "images\\history_menu.png"}) {
        EXPECT_FALSE(FileExists(InFolder(name))) << name;
    }
    EXPECT_FALSE(FileExists(shortcut_));
    std::string value;
    EXPECT_FALSE(ReadString(HKEY_CURRENT_USER, kRunKey, "Varnoke", &value));
    EXPECT_TRUE(FileExists(InFolder("Varnoke.vnk")));
    DWORD historyLen = 0;
    EXPECT_TRUE(ReadRegInt("HistoryLen", &historyLen)) << "the settings are gone";
}

// The uninstaller as "Apps & features" starts it: it asks about the history file and the
// settings, and Yes deletes both.
TEST_F(InstallerE2E, UninstallAsksAboutHistoryAndSettingsAndYesDeletesThem) {
    ASSERT_EQ(Install(), 0u);
    ASSERT_TRUE(WriteFileBytes(InFolder("Varnoke.vnk"), EncodeHistory({"private note"})));
    ASSERT_TRUE(WriteFileBytes(InFolder("Varnoke.vnk.exact"), "Varnoke Exact Text Data File\r\n"));
    WriteRegInt("HistoryNum", 42);
    std::string command;
    ASSERT_TRUE(ReadString(HKEY_CURRENT_USER, kUninstallKey, "UninstallString", &command));
    ASSERT_EQ(RunAndWait(command), 0u);

    HWND wizard = FindDialog("Varnoke ", false);
    ASSERT_NE(wizard, nullptr) << "no uninstaller window";
    ASSERT_TRUE(ClickWhenEnabled(wizard, IDOK));
    HWND question = FindDialog("Varnoke ", true);
    ASSERT_NE(question, nullptr) << "the uninstaller asked nothing";
    EXPECT_NE(MessageBoxText(question).find(InFolder("Varnoke.vnk")), std::string::npos)
        << MessageBoxText(question);
    AnswerMessageBox(question, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return !KeyExists(HKEY_CURRENT_USER, kUninstallKey); }, 30000));
    EXPECT_TRUE(ClickWhenEnabled(wizard, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wizard); }));

    EXPECT_FALSE(FileExists(InFolder("Varnoke.vnk")));
    EXPECT_FALSE(FileExists(InFolder("Varnoke.vnk.exact")));
    EXPECT_FALSE(FileExists(InFolder("Varnoke.exe")));
    DWORD historyNum = 0;
    EXPECT_FALSE(ReadRegInt("HistoryNum", &historyNum)) << "the settings are still there";
}

}  // namespace
}  // namespace e2e
