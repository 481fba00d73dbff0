// open_repeatedly <file> <stop> <result>: opens and closes <file> as fast as it can, as a
// viewer or a backup tool polling it would, until <stop> exists; then writes to <result>
// how often the file opened and how often it was missing. The end-to-end tests run it
// beside the program while it saves.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    unsigned long opened = 0, missing = 0;
    while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES) {
        HANDLE file = CreateFileA(argv[1], GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            ++opened;
        } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            ++missing;
        }
    }
    FILE* result = std::fopen(argv[3], "w");
    if (result == nullptr) {
        return 1;
    }
    std::fprintf(result, "%lu %lu", opened, missing);
    return std::fclose(result) == 0 ? 0 : 1;
}
