// End-to-end tests: drive the real Varnoke.exe under Windows or Wine.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Everything the program does with text assumes the Japanese ANSI code page.
    if (GetACP() != 932) {
        std::fprintf(stderr,
                     "varnoke_e2e: the ANSI code page is %u, not 932. Run with "
                     "LANG=ja_JP.UTF-8 and the ja_JP.UTF-8 locale generated.\n",
                     GetACP());
        return 1;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
