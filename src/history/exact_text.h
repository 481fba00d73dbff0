#pragma once
// Texts that the ANSI code page cannot hold. A copy whose Unicode text does not come back
// unchanged from the code page keeps that text beside its ANSI bytes (HistoryEntry::exact);
// every other copy stays ANSI only, byte for byte as ever. The conversions themselves are
// the platform's; these are the rules around them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/dual_text.h"
#include "core/mbcs.h"
#include "core/text_codec.h"
#include "history/clip_history.h"

namespace varnoke {

// The clipboard's text in both forms, read in one opening of the clipboard: CF_TEXT as
// `text.ansi`, and CF_UNICODETEXT as read as `text.exact` (empty when there is none).
// Whether the entry keeps that Unicode text is MakeCapturedEntry's to decide.
struct ClipboardText {
    DualText text;
    // `text.ansi` was made from the Unicode text without loss, so the copy needs no exact
    // text and `text.exact` is left empty.
    bool ansiFromWide = false;

    ClipboardText() = default;
    explicit ClipboardText(std::string ansi) : text(std::move(ansi)) {}
    explicit ClipboardText(std::string ansi, std::u16string wide)
        : text(std::move(ansi), std::move(wide)) {}
};

// Both forms of an entry follow one rule: the ANSI form is what the system's conversion for
// CF_TEXT gives, look-alikes included (TextCodec::ToClipboardAnsi), and every cut measures
// that form. Measured without look-alikes, "¢" would count one byte where CF_TEXT holds two
// ("￠"), and the two forms of a cut entry would end at different characters.

// The longest start of `wide` whose ANSI form takes at most `ansiBytes` bytes, never ending
// between the two halves of a surrogate pair.
std::u16string_view CutExactText(std::u16string_view wide, size_t ansiBytes,
                                 const TextCodec& codec);

// The entry for a copy whose CF_TEXT bytes are `rawAnsi` and whose CF_UNICODETEXT is
// `rawWide` (empty when there is none), each as read from the clipboard, at most
// historyLen + 1 bytes and units of them. The ANSI text is cut to historyLen bytes as
// ever. The exact text is kept only when the ANSI text does not read back as the Unicode
// text; it then ends at the same character as the ANSI text, which may lose a byte for it.
HistoryEntry MakeCapturedEntry(std::string_view rawAnsi, std::u16string_view rawWide,
                               int historyLen, LeadByteTest isLeadByte, const TextCodec& codec);

// The entry a capture keeps of what the clipboard held: MakeCapturedEntry, or the ANSI text
// alone when it was made from the Unicode text without loss or there is no codec.
HistoryEntry MakeCapturedEntry(const ClipboardText& raw, int historyLen, LeadByteTest isLeadByte,
                               const TextCodec* codec);

// A list row shows at most this many bytes of its entry.
constexpr int kHistoryRowPreviewBytes = 500;

// The one-line row of the entry at list `position` in the history editor and the search
// window: "%d\t%s" with position + 1, which stays with its text wherever the row moves, and
// at most kHistoryRowPreviewBytes of the text, never half a character.
std::string HistoryRowText(int position, const HistoryEntry& entry, LeadByteTest isLeadByte);
// The same row from the entry's exact text, cut where its ANSI form would be; empty for an
// entry without one.
std::u16string HistoryRowWideText(int position, const HistoryEntry& entry, const TextCodec& codec);
// The row in both forms, for ListBox::InsertRow.
DualText HistoryRow(int position, const HistoryEntry& entry, LeadByteTest isLeadByte,
                    const TextCodec& codec);

// The text an editor shows of an entry: its exact text, or its ANSI text in UTF-16.
std::u16string EditableText(const HistoryEntry& entry, const TextCodec& codec);

// `entry` cut to historyLen bytes of its ANSI text, its exact text at the same character:
// at a lowered HistoryLen, from the options or at a load. A text within the limit stays as
// it is.
HistoryEntry CutEntry(HistoryEntry entry, int historyLen, LeadByteTest isLeadByte,
                      const TextCodec& codec);

// What an entry becomes when an editor hands back `edited` for it: the entry as it was,
// cut by CutEntry, when the text came back unchanged; nothing (the entry goes) for an empty text;
// otherwise the entry a copy of the edited text would make, its ANSI text as CF_TEXT would hold it
// and both cut to HistoryLen bytes at the same character.
std::optional<HistoryEntry> EntryFromEditedText(const HistoryEntry& before,
                                                std::u16string_view edited, int historyLen,
                                                LeadByteTest isLeadByte, const TextCodec& codec);

}  // namespace varnoke
