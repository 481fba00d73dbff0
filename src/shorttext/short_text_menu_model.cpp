#include "shorttext/short_text_menu_model.h"

#include <utility>

#include "shorttext/short_text_line.h"

namespace varnoke {

namespace {

constexpr size_t kSubmenuLabelStart = 2;  // after "[["

// One open menu level. The submenu entry that opens it is appended to the enclosing menu
// only when the level ends, so it carries the break pending there at that moment.
struct Level {
    size_t menu = 0;
    ShortTextBreak pendingBreak = ShortTextBreak::kNone;
    ShortTextString label;  // of the entry in the enclosing menu
    int line = 0;           // the "[[" line
};

// The level procedure, run with an explicit stack of levels so that nesting depth never
// depends on the call stack. All levels share the line cursor.
class MenuBuilder {
  public:
    MenuBuilder(const std::vector<ShortTextString>& lines, const MacroTime& labelTime,
                const MacroNames& names, LeadByteTest isLeadByte, const TextCodec& codec)
        : lines_(lines),
          labelTime_(labelTime),
          names_(names),
          isLeadByte_(isLeadByte),
          codec_(codec) {}

    ShortTextMenuModel Build() {
        model_.menus.emplace_back();
        levels_.push_back(Level{});
        while (!levels_.empty()) {
            if (cursor_ >= lines_.size()) {
                EndLevel();
            } else {
                const size_t index = cursor_++;
                TakeLine(static_cast<int>(index));
            }
        }
        return std::move(model_);
    }

  private:
    void TakeLine(int index) {
        const ShortTextString& line = lines_[static_cast<size_t>(index)];
        switch (ClassifyStoredLine(line)) {
            case ShortTextLineKind::kComment:
                break;
            case ShortTextLineKind::kSeparator: {
                ShortTextEntry entry;
                entry.kind = ShortTextEntryKind::kSeparator;
                entry.lineIndex = index;
                Append(std::move(entry));
                break;
            }
            case ShortTextLineKind::kBreak:
                levels_.back().pendingBreak = ShortTextBreak::kColumn;
                break;
            case ShortTextLineKind::kBarBreak:
                levels_.back().pendingBreak = ShortTextBreak::kColumnWithBar;
                break;
            case ShortTextLineKind::kSubmenuStart:
                OpenSubmenu(line, index);
                break;
            case ShortTextLineKind::kSubmenuEnd:
                EndLevel();
                break;
            default:
                AppendItem(line, index);
                break;
        }
    }

    void OpenSubmenu(const ShortTextString& line, int index) {
        // Out of menus: the opening line ends the current level instead.
        if (model_.menus.size() >= kMaxShortTextMenus) {
            EndLevel();
            return;
        }
        Level level;
        level.menu = model_.menus.size();
        level.label = line.exact.empty()
                          ? ShortTextString(line.ansi.substr(kSubmenuLabelStart))
                          : MakeShortTextString(line.exact.substr(kSubmenuLabelStart), codec_);
        level.line = index;
        model_.menus.emplace_back();
        levels_.push_back(std::move(level));
    }

    void EndLevel() {
        Level done = std::move(levels_.back());
        levels_.pop_back();
        if (levels_.empty()) {
            return;
        }
        ShortTextEntry entry;
        entry.kind = ShortTextEntryKind::kSubmenu;
        entry.label = std::move(done.label);
        entry.lineIndex = done.line;
        entry.submenu = static_cast<int>(done.menu);
        Append(std::move(entry));
    }

    void AppendItem(const ShortTextString& line, int index) {
        const bool command = ClassifyStoredLine(line) == ShortTextLineKind::kCommand;
        ShortTextLabel label = ShortTextItemLabel(line, labelTime_, names_, isLeadByte_, codec_);
        if (label.tokenExpanded) {
            const Level& level = levels_.back();
            TokenLabelRef ref;
            ref.menu = static_cast<uint16_t>(level.menu);
            ref.position = static_cast<uint16_t>(model_.menus[level.menu].entries.size());
            ref.line = static_cast<uint16_t>(index);
            model_.tokenLabels.push_back(ref);
        }
        ShortTextEntry entry;
        entry.kind = command ? ShortTextEntryKind::kCommand : ShortTextEntryKind::kPhrase;
        entry.label = std::move(label.text);
        entry.commandId = kShortTextCommandBase + static_cast<unsigned>(index);
        entry.lineIndex = index;
        entry.text = command ? SplitBracketItem(line.ansi, false, isLeadByte_) : line.ansi;
        Append(std::move(entry));
    }

    // Appends to the menu of the innermost level, which takes its pending break.
    void Append(ShortTextEntry entry) {
        Level& level = levels_.back();
        entry.columnBreak = std::exchange(level.pendingBreak, ShortTextBreak::kNone);
        model_.menus[level.menu].entries.push_back(std::move(entry));
    }

    const std::vector<ShortTextString>& lines_;
    const MacroTime& labelTime_;
    const MacroNames& names_;
    LeadByteTest isLeadByte_;
    const TextCodec& codec_;
    ShortTextMenuModel model_;
    std::vector<Level> levels_;
    size_t cursor_ = 0;
};

bool RefFits(const ShortTextMenuModel& model, const std::vector<ShortTextString>& lines,
             const TokenLabelRef& ref) {
    if (ref.menu >= model.menus.size() || ref.line >= lines.size()) {
        return false;
    }
    const std::vector<ShortTextEntry>& entries = model.menus[ref.menu].entries;
    if (ref.position >= entries.size()) {
        return false;
    }
    const ShortTextEntryKind kind = entries[ref.position].kind;
    return kind == ShortTextEntryKind::kPhrase || kind == ShortTextEntryKind::kCommand;
}

}  // namespace

void ShortTextMenuModel::Clear() {
    menus.clear();
    tokenLabels.clear();
}

ShortTextMenuModel BuildShortTextMenus(const std::vector<ShortTextString>& lines,
                                       const MacroTime& labelTime, const MacroNames& names,
                                       LeadByteTest isLeadByte, const TextCodec& codec) {
    return MenuBuilder(lines, labelTime, names, isLeadByte, codec).Build();
}

bool RefreshShortTextLabels(ShortTextMenuModel& model, const std::vector<ShortTextString>& lines,
                            const MacroTime& labelTime, const MacroNames& names,
                            LeadByteTest isLeadByte, const TextCodec& codec) {
    for (const TokenLabelRef& ref : model.tokenLabels) {
        if (!RefFits(model, lines, ref)) {
            return false;
        }
    }
    for (const TokenLabelRef& ref : model.tokenLabels) {
        ShortTextEntry& entry = model.menus[ref.menu].entries[ref.position];
        ShortTextLabel label =
            ShortTextItemLabel(lines[ref.line], labelTime, names, isLeadByte, codec);
        entry.label = std::move(label.text);
    }
    return true;
}

}  // namespace varnoke
