// wait_window <title> [timeout-ms]: exits 0 once a top-level window with that title
// exists, 1 on timeout. Lets shell scripts wait for the program without sleeping blind.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    DWORD timeout = argc > 2 ? static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)) : 20000;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        if (FindWindowA(nullptr, argv[1]) != nullptr) {
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
