#pragma once
// What choosing a short-text item does, decided without touching the clipboard, the
// keyboard or any process: the Win32 side carries the result out.

#include <string>
#include <string_view>

#include "core/dual_text.h"
#include "core/mbcs.h"
#include "core/text_codec.h"
#include "shorttext/macro_expansion.h"
#include "shorttext/short_text_file.h"

namespace varnoke {

enum class ShortTextActionKind {
    kNothing,
    // Write `text` to the clipboard; on success send the paste keystroke (whatever
    // HistoryPasteDirect says), on failure set captureArmed again.
    kPaste,
    // WinExec(commandLine, SW_SHOWNORMAL); when that gives a result below 31,
    // ShellExecuteA(no window, no verb, documentFile, no parameters, no folder, SW_SHOWNORMAL).
    kRunCommand,
};

struct ShortTextAction {
    ShortTextActionKind kind = ShortTextActionKind::kNothing;
    DualText text;             // kPaste: the expanded text in both forms
    std::string commandLine;   // kRunCommand: for WinExec
    std::string documentFile;  // kRunCommand: for the shell when WinExec fails
    // Clear captureArmed before the clipboard write (PasteOnly), so the program's own
    // write is not captured into the history.
    bool disarmCapture = false;
    // Set captureArmed (after a command item).
    bool armCapture = false;
};

// WinExec results below this are failures.
constexpr unsigned kWinExecFailureLimit = 31;
bool WinExecFailed(unsigned winExecResult);

// The action for the stored line `line`, chosen at `now`. A command is used literally; any
// other line is expanded as a whole, and when the expansion starts with "[<" only its text
// part is pasted. An empty command runs nothing. A line with an exact text pastes that
// text expanded by the same rules; a command is run in its ANSI form.
ShortTextAction DecideShortTextAction(const ShortTextString& line, const MacroTime& now,
                                      bool pasteOnly, const MacroNames& names,
                                      LeadByteTest isLeadByte, const TextCodec& codec);

}  // namespace varnoke
