// Reads arbitrary bytes as a short-text file, fed in two chunks split where the first byte
// says, then builds the menus, refreshes their labels and performs every item; then the
// same again with the bytes read as a UTF-8 file (after the byte order mark). Checks what
// must hold for any input: chunking changes nothing, no stored line is empty or holds a
// line feed, the caps hold, every submenu entry opens a later menu exactly once, every
// token ref names an item of its line, and a refresh at the same time changes no label.
// Only the first kMaxInput bytes are used: building and performing the menus costs per
// line, and longer inputs add lines, not new paths; the parser alone takes long inputs in
// short_text_parse_fuzz.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_action.h"
#include "shorttext/short_text_file.h"
#include "short_text_checks.h"
#include "shorttext/short_text_menu_model.h"
#include "support/macro_samples.h"

namespace {

using namespace varnoke;
using short_text_fuzz::Check;
using short_text_fuzz::CheckLines;
using short_text_fuzz::Codec;
using short_text_fuzz::ReadInTwoChunks;

void CheckModel(const ShortTextMenuModel& model, const std::vector<ShortTextString>& lines) {
    Check(!model.menus.empty() && model.menus.size() <= kMaxShortTextMenus);
    std::vector<int> opened(model.menus.size(), 0);
    for (size_t m = 0; m < model.menus.size(); ++m) {
        for (const ShortTextEntry& entry : model.menus[m].entries) {
            Check(entry.lineIndex >= 0 && static_cast<size_t>(entry.lineIndex) < lines.size());
            if (entry.kind == ShortTextEntryKind::kSubmenu) {
                Check(entry.submenu > static_cast<int>(m) &&
                      static_cast<size_t>(entry.submenu) < model.menus.size());
                ++opened[static_cast<size_t>(entry.submenu)];
            } else if (entry.kind != ShortTextEntryKind::kSeparator) {
                Check(entry.commandId ==
                      kShortTextCommandBase + static_cast<unsigned>(entry.lineIndex));
                Check(entry.commandId < kShortTextCommandEnd);
            }
        }
    }
    Check(opened[0] == 0);
    for (size_t m = 1; m < opened.size(); ++m) {
        Check(opened[m] == 1);
    }
    for (const TokenLabelRef& ref : model.tokenLabels) {
        Check(ref.menu < model.menus.size() && ref.position < model.menus[ref.menu].entries.size());
        Check(model.menus[ref.menu].entries[ref.position].lineIndex == ref.line);
    }
}

void CheckFile(std::string_view bytes, size_t split) {
    static const MacroNames names = samples::Names();
    const std::vector<ShortTextString> lines = ParseShortTextLines(bytes, IsCp932LeadByte, Codec());
    Check(ReadInTwoChunks(bytes, split) == lines);
    CheckLines(lines);

    ShortTextMenuModel model =
        BuildShortTextMenus(lines, samples::June5(13, 7), names, IsCp932LeadByte, Codec());
    CheckModel(model, lines);

    const ShortTextMenuModel before = model;
    Check(RefreshShortTextLabels(model, lines, samples::June5(13, 7), names, IsCp932LeadByte,
                                 Codec()));
    for (size_t m = 0; m < model.menus.size(); ++m) {
        for (size_t e = 0; e < model.menus[m].entries.size(); ++e) {
            const ShortTextEntry& entry = model.menus[m].entries[e];
            Check(entry.label == before.menus[m].entries[e].label);
        }
    }
    Check(RefreshShortTextLabels(model, lines, samples::June5(0, 30), names, IsCp932LeadByte,
                                 Codec()));

    for (const ShortTextString& line : lines) {
        const ShortTextAction action = DecideShortTextAction(line, samples::June5(0, 30), true,
                                                             names, IsCp932LeadByte, Codec());
        Check(!action.text.hasExact() ||
              action.text.ansi == Codec().ToClipboardAnsi(action.text.exact));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kMaxInput = 1024;
    size = size > kMaxInput ? kMaxInput : size;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = size == 0 ? 0 : data[0] % (size + 1);
    CheckFile(bytes, split);
    CheckFile(short_text_fuzz::AsUtf8File(bytes), split);
    return 0;
}
