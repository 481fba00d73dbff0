#include "shorttext/short_text_action.h"

#include <utility>

#include "shorttext/short_text_line.h"

namespace varnoke {

bool WinExecFailed(unsigned winExecResult) {
    return winExecResult < kWinExecFailureLimit;
}

ShortTextAction DecideShortTextAction(std::string_view line, const MacroTime& now, bool pasteOnly,
                                      const MacroNames& names, LeadByteTest isLeadByte) {
    ShortTextAction action;
    if (ClassifyShortTextLine(line) == ShortTextLineKind::kCommand) {
        action.armCapture = true;
        std::string command = SplitBracketItem(line, false, isLeadByte);
        // Neither a program nor a document: the shell would open some folder instead.
        if (!command.empty()) {
            action.kind = ShortTextActionKind::kRunCommand;
            action.commandLine = command;
            action.documentFile = std::move(command);
        }
        return action;
    }
    std::string text = ExpandMacros(line, now, names, isLeadByte).text;
    if (ClassifyShortTextLine(text) == ShortTextLineKind::kLabelledPhrase) {
        text = SplitBracketItem(text, false, isLeadByte);
    }
    action.kind = ShortTextActionKind::kPaste;
    action.text = std::move(text);
    action.disarmCapture = pasteOnly;
    return action;
}

}  // namespace varnoke
