#pragma once
// A fixed time and a compact picture of a short-text menu model for the tests.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_file.h"
#include "shorttext/short_text_menu_model.h"
#include "support/cp932_codec.h"
#include "support/macro_samples.h"

namespace varnoke::testing_short_text {

using samples::June5;

// As the program's codec does, a loss leaves the ANSI text unmade.
class ProgramLikeCodec : public samples::Cp932Codec {
  public:
    bool ToAnsiWithoutLoss(std::u16string_view wide, std::string* ansi) const override {
        std::string made;
        if (!Cp932Codec::ToAnsiWithoutLoss(wide, &made)) {
            return false;
        }
        *ansi = std::move(made);
        return true;
    }
};

inline const TextCodec& Codec() {
    static const ProgramLikeCodec codec;
    return codec;
}

inline std::vector<ShortTextString> Lines(const std::string& file) {
    return ParseShortTextLines(file, IsCp932LeadByte, Codec());
}

inline ShortTextMenuModel Build(const std::vector<ShortTextString>& lines,
                                const MacroTime& time = June5()) {
    return BuildShortTextMenus(lines, time, MacroNames(), IsCp932LeadByte, Codec());
}

// Per menu: "label#line" items, "!label#line" commands, "-" separators, ">k:label" submenu
// entries; "|" (column) or "||" (column with bar) in front of an entry starting a column.
inline std::vector<std::string> Describe(const ShortTextMenuModel& model) {
    std::vector<std::string> menus;
    for (const ShortTextMenu& menu : model.menus) {
        std::string out;
        for (const ShortTextEntry& e : menu.entries) {
            out += out.empty() ? "" : ",";
            out += e.columnBreak == ShortTextBreak::kColumn          ? "|"
                   : e.columnBreak == ShortTextBreak::kColumnWithBar ? "||"
                                                                     : "";
            const std::string line = '#' + std::to_string(e.lineIndex);
            if (e.kind == ShortTextEntryKind::kSeparator) {
                out += '-';
            } else if (e.kind == ShortTextEntryKind::kSubmenu) {
                out += '>' + std::to_string(e.submenu) + ':' + e.label.ansi;
            } else {
                out += (e.kind == ShortTextEntryKind::kCommand ? "!" : "") + e.label.ansi + line;
            }
        }
        menus.push_back(out);
    }
    return menus;
}

}  // namespace varnoke::testing_short_text
