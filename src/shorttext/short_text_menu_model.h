#pragma once
// The short-text menus as plain data: a flat list of menus, the root first and then every
// submenu in the order its opening line was met, each with its entries in order. The Win32
// side creates one popup menu per list entry and appends the entries as they are.

#include <cstdint>
#include <string>
#include <vector>

#include "core/dual_text.h"
#include "core/mbcs.h"
#include "core/text_codec.h"
#include "shorttext/macro_expansion.h"
#include "shorttext/short_text_file.h"

namespace varnoke {

// Command id of the item made from stored line i is kShortTextCommandBase + i.
constexpr unsigned kShortTextCommandBase = 38000;
constexpr unsigned kShortTextCommandEnd = 48000;
// Menus in all, the root included.
constexpr size_t kMaxShortTextMenus = 500;

enum class ShortTextEntryKind { kPhrase, kCommand, kSeparator, kSubmenu };

// Whether an entry starts a new column: MF_MENUBREAK, MF_MENUBARBREAK.
enum class ShortTextBreak { kNone, kColumn, kColumnWithBar };

struct ShortTextEntry {
    ShortTextEntryKind kind = ShortTextEntryKind::kPhrase;
    DualText label;          // as shown; empty for a separator
    unsigned commandId = 0;  // phrases and commands only
    ShortTextBreak columnBreak = ShortTextBreak::kNone;
    int lineIndex = 0;  // the stored line that made the entry ("[[" line for a submenu)
    int submenu = -1;   // list index of the menu a submenu entry opens
    // A phrase: its stored line, expanded only when chosen. A command: the command.
    std::string text;
};

struct ShortTextMenu {
    std::vector<ShortTextEntry> entries;
};

// An item whose label holds a date or time token and is rewritten whenever the same,
// unchanged file is shown again.
struct TokenLabelRef {
    uint16_t menu = 0;      // index in the menu list
    uint16_t position = 0;  // position in that menu, separators and submenu entries counted
    uint16_t line = 0;      // index of the stored line
};

struct ShortTextMenuModel {
    std::vector<ShortTextMenu> menus;  // root first; empty when nothing is built
    std::vector<TokenLabelRef> tokenLabels;

    void Clear();
};

ShortTextMenuModel BuildShortTextMenus(const std::vector<ShortTextString>& lines,
                                       const MacroTime& labelTime, const MacroNames& names,
                                       LeadByteTest isLeadByte, const TextCodec& codec);

// Re-expands the labels of every TokenLabelRef for `labelTime`, keeping ids and column
// breaks. Every ref is checked first; false, with the model untouched, when one does not
// fit the model or the lines (the caller then builds the menus again).
bool RefreshShortTextLabels(ShortTextMenuModel& model, const std::vector<ShortTextString>& lines,
                            const MacroTime& labelTime, const MacroNames& names,
                            LeadByteTest isLeadByte, const TextCodec& codec);

}  // namespace varnoke
