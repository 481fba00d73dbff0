#pragma once
// What choosing a short-text item needs of the system: the local time and the starting
// of programs and documents.

#include <windows.h>

#include <string>

#include "shorttext/macro_expansion.h"
#include "shorttext/short_text_action.h"

namespace varnoke {

// GetLocalTime as the expansion takes it.
MacroTime LocalMacroTime();

// Starts the command of a kRunCommand action as a program (WinExec); when that fails,
// opens it as a document with its default action. The outcome is not reported.
void RunShortTextCommand(const ShortTextAction& action);

// Opens `path` with the program associated with it (the default action).
void OpenWithAssociatedProgram(const std::string& path);

}  // namespace varnoke
