// touch_marker [--note-menu] <path> [text...]: writes the remaining arguments, joined by
// spaces, to <path>. The end-to-end tests start it from a short-text command item and look
// for the file it leaves. With --note-menu it adds " (menu open)" when Varnoke's thread is in
// a menu loop as it starts: what started it did so from inside the menu.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

bool VarnokeInMenu() {
    HWND main = FindWindowA(nullptr, "Varnoke");
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return main != nullptr && GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) &&
           ((info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0 ||
            info.hwndMenuOwner != nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const bool noteMenu = argc > 1 && std::strcmp(argv[1], "--note-menu") == 0;
    if (noteMenu) {
        ++first;
    }
    if (argc < first + 1) {
        return 2;
    }
    std::string text;
    for (int i = first + 1; i < argc; ++i) {
        text += (i > first + 1 ? " " : "") + std::string(argv[i]);
    }
    if (noteMenu && VarnokeInMenu()) {
        text += " (menu open)";
    }
    HANDLE file = CreateFileA(argv[first], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
