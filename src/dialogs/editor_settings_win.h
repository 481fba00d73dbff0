#pragma once
// The entry editor's display settings: font, word wrap and tab width.

#include <windows.h>

#include <string>

namespace varnoke {

struct EditorSettings {
    int wordWrap;
    std::string tabWidth;  // the list entry's text; "" when none is chosen
    LOGFONTA font;
};

// Runs the settings dialog on `settings`; true and the confirmed values after OK.
bool RunEditorSettings(HWND owner, EditorSettings& settings);

}  // namespace varnoke
