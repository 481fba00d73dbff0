#pragma once
// The settings record and its persistent form. Portable: the registry sits behind
// SettingsStore, and the screen facts the defaults need come in as ScreenMetrics.

#include <cstdint>
#include <functional>
#include <string>

namespace varnoke {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const WindowRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Slots 0 to 3 call the program's functions, 4 to 8 the short-text menus, and 9, added
// after them so that every older slot keeps its number and registry names, the history
// search window.
constexpr int kHotKeySlotCount = 10;
constexpr int kFirstShortTextSlot = 4;
constexpr int kShortTextSlotEnd = 9;
constexpr int kSearchSlot = 9;
inline bool IsShortTextHotKeySlot(int slot) {
    return slot >= kFirstShortTextSlot && slot < kShortTextSlotEnd;
}

struct HotKeySlot {
    int enabled = 0;
    uint16_t keyCode = 0;
    uint16_t modifiers = 0;
    int hotKeyId = 0;      // set by RegisterHotKeys; 0 when not registered
    std::string dataPath;  // short-text slots only
};

// Password managers that copy without marking the copy for clipboard histories: the
// Electron-based clients (Bitwarden, 1Password 8, Enpass, NordPass) write plain text, and
// KeePass and KeePassXC, which do mark theirs, let the user turn the marker off.
inline constexpr char kDefaultExcludePrograms[] =
    "KeePass.exe; KeePassXC.exe; Bitwarden.exe; 1Password.exe; Enpass.exe; NordPass.exe";

struct Settings {
    int historyNum = 90;
    int historyStopOverflow = 0;
    int historyLen = 10000;
    int historyMenuLen = 30;
    int historyMenuBreak = 30;
    int historyMenuOrder = 0;
    int historyInsertPos = 0;
    int historyAddNum = 1;
    int historyAccessKey = 1;
    int historyMoveUp = 0;
    int historyAnimation = 1;
    int historyWave = 0;
    std::string historyWavePath;
    int pauseWave = 0;
    std::string pause1WavePath;
    std::string pause2WavePath;
    int historyStarting = 0;
    int historyDataSave = 1;
    std::string historyDataPath = "Varnoke.vnk";
    int historyAutoSave = 0;
    int historySaveInterval = 20;
    // The history data file and its exact-text file are written protected for the user.
    int historyDataProtect = 0;
    int historyCopeWord = 0;
    // Program file names, separated by semicolons, whose copies are never recorded. The
    // default names common password managers whose copies carry no marker format.
    std::string excludePrograms = kDefaultExcludePrograms;
    int popupPos = 0;
    int pasteCommand = 0;
    int pasteDelayTime = 200;
    int historyPasteDirect = 1;
    int pasteOnly = 1;
    int pasteRestoreClipboard = 0;
    int paused = 0;
    std::string editFontName = "System";
    int editFontHeight = -15;
    int editFontWeight = 400;
    int editFontItalic = 0;
    int editWordWrap = 0;
    int editTabStops = 4;
    WindowRect editHistoryPos{0, 0, 400, 300};
    WindowRect editTextPos{0, 0, 500, 400};
    WindowRect searchWindowPos{0, 0, 0, 0};  // none yet: the window opens centred
    HotKeySlot hotKeys[kHotKeySlotCount];
};

// How the program reads two values that the registry may hold outside 0 and 1. Read
// literally, a HistoryInsertPos of 2 would make neither end the newest one, so captures
// would overwrite entries, and a Paused of 2 would take two toggles to resume. So any
// HistoryInsertPos but 1 counts as 0 (new entries at the head), and any Paused but 0
// counts as paused, which one toggle ends.
inline bool NewEntriesAtTail(const Settings& settings) {
    return settings.historyInsertPos == 1;
}
inline bool IsPaused(const Settings& settings) {
    return settings.paused != 0;
}

// The four operations of the profile store, relative to the application key.
// Reads return the default when the value is missing or has the wrong type.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual int ReadInt(const char* name, int defaultValue) = 0;
    virtual std::string ReadString(const char* name, const std::string& defaultValue) = 0;
    virtual void WriteInt(const char* name, int value) = 0;
    virtual void WriteString(const char* name, const std::string& value) = 0;
};

struct ScreenMetrics {
    int dpiY = 96;   // LOGPIXELSY of the main window's device context
    int width = 0;   // SM_CXSCREEN
    int height = 0;  // SM_CYSCREEN
};

// Registry-name suffix of a hot-key slot: "00", "99", "98", "97", then "01".."05", then
// "96" for the search window.
std::string HotKeySuffix(int slot);

// The default record of both tables (slot defaults included), with the font height
// derived from the screen's dpi.
Settings DefaultSettings(const ScreenMetrics& screen);

int DefaultFontHeight(int dpiY);

// "%i,%i,%i,%i" semantics; false when fewer than four numbers are found.
bool ParseWindowRect(const std::string& text, WindowRect* rect);
std::string FormatWindowRect(const WindowRect& rect);
// Moves a rectangle that starts beyond the screen back onto it; false when unusable.
bool ValidateWindowRect(WindowRect* rect, int screenWidth, int screenHeight);

Settings LoadSettings(SettingsStore& store, const ScreenMetrics& screen);

// Writes every value in order. unregisterHotKey(slot) is called for each registered
// slot (id not 0 and enabled) right after its HotKeyMod value is written.
void SaveSettings(const Settings& settings, SettingsStore& store,
                  const std::function<void(int slot)>& unregisterHotKey);

}  // namespace varnoke
