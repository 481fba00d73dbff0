#include <windows.h>

#include "app/varnoke_app_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    varnoke::VarnokeApp app;
    return app.Run();
}
