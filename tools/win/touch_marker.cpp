// touch_marker <path> [text...]: writes the remaining arguments, joined by spaces, to
// <path>. The end-to-end tests start it from a short-text command item and look for the
// file it leaves.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    std::string text;
    for (int i = 2; i < argc; ++i) {
        text += (i > 2 ? " " : "") + std::string(argv[i]);
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
