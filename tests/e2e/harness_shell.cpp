// The shell's file associations, for tests that check which file the program asks the
// shell to open.
#include "harness.h"

namespace e2e {
namespace {

constexpr char kProgId[] = "VarnokeE2E.Recorded";

bool ReadDefault(HKEY root, const std::string& key, std::string* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    char text[1024] = {};
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    if (RegQueryValueExA(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        *value = text;
    }
    RegCloseKey(opened);
    return true;
}

void WriteDefault(HKEY root, const std::string& key, const std::string& value) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExA(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(created);
    }
}

// Copies touch_marker beside the program and returns the command that records into `marker`.
std::string RecordingCommand(const VarnokeProcess& program, const std::string& marker,
                             bool noteMenu) {
    program.CopyBesideProgram("touch_marker.exe");
    return program.PathInFolder("touch_marker.exe") + (noteMenu ? " --note-menu " : " ") + marker +
           " \"%1\"";
}

// Leaf first: RegDeleteKeyA removes only keys without subkeys.
void DeleteProgId(HKEY root, const std::string& classes) {
    for (const char* tail :
         {"\\shell\\open\\ddeexec", "\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
        RegDeleteKeyA(root, (classes + kProgId + tail).c_str());
    }
}

}  // namespace

FileAssociation::FileAssociation(const std::string& extension, const std::string& command,
                                 bool throughDde) {
    const std::pair<HKEY, std::string> places[] = {
        {HKEY_CURRENT_USER, "Software\\Classes\\"},
        {HKEY_CLASSES_ROOT, ""},
    };
    for (const auto& [root, classes] : places) {
        Saved saved{root, classes + extension, false, std::string()};
        saved.existed = ReadDefault(root, saved.key, &saved.value);
        saved_.push_back(saved);
        WriteDefault(root, classes + kProgId + "\\shell\\open\\command", command);
        if (throughDde) {
            WriteDefault(root, classes + kProgId + "\\shell\\open\\ddeexec", "[open(\"%1\")]");
        }
        WriteDefault(root, saved.key, kProgId);
    }
}

FileAssociation::~FileAssociation() {
    for (auto saved = saved_.rbegin(); saved != saved_.rend(); ++saved) {
        if (saved->existed) {
            WriteDefault(saved->root, saved->key, saved->value);
        } else {
            RegDeleteKeyA(saved->root, saved->key.c_str());
        }
        std::string classes = saved->root == HKEY_CURRENT_USER ? "Software\\Classes\\" : "";
        DeleteProgId(saved->root, classes);
    }
}

OpenedFileRecorder::OpenedFileRecorder(const VarnokeProcess& program, const std::string& extension,
                                       bool noteMenuThroughDde)
    : marker_(program.PathInFolder("opened.log")),
      association_(extension, RecordingCommand(program, marker_, noteMenuThroughDde),
                   noteMenuThroughDde) {}

std::string OpenedFileRecorder::TakeOpened() {
    std::string opened;
    WaitUntil([&] { return ReadFileBytes(marker_, &opened) && !opened.empty(); });
    DeleteFileA(marker_.c_str());
    return opened;
}

}  // namespace e2e
