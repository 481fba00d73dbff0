#include "history/exact_text.h"

#include <algorithm>

#include "core/text.h"

namespace varnoke {

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// `count` units of `wide`, one fewer when that would end between the halves of a pair.
size_t PairBoundaryAtOrBefore(std::u16string_view wide, size_t count) {
    if (count > 0 && count < wide.size() && IsHighSurrogate(wide[count - 1]) &&
        IsLowSurrogate(wide[count])) {
        return count - 1;
    }
    return count;
}

}  // namespace

std::string HistoryRowText(int position, const HistoryEntry& entry, LeadByteTest isLeadByte) {
    // A plain byte cut could end the row in a lead byte, which the list would draw as
    // garbage or run into the terminator.
    return std::to_string(position + 1) + "\t" +
           CutText(entry.ansi, kHistoryRowPreviewBytes, false, isLeadByte);
}

std::u16string HistoryRowWideText(int position, const HistoryEntry& entry, const TextCodec& codec) {
    if (entry.exact.empty()) {
        return std::u16string();
    }
    const std::string number = std::to_string(position + 1) + "\t";
    return std::u16string(number.begin(), number.end()) +
           std::u16string(CutExactText(entry.exact, kHistoryRowPreviewBytes, codec));
}

DualText HistoryRow(int position, const HistoryEntry& entry, LeadByteTest isLeadByte,
                    const TextCodec& codec) {
    return DualText(HistoryRowText(position, entry, isLeadByte),
                    HistoryRowWideText(position, entry, codec));
}

std::u16string_view CutExactText(std::u16string_view wide, size_t ansiBytes,
                                 const TextCodec& codec) {
    // More units than bytes cannot fit: a row of a 64 K entry is not made of a conversion of
    // the whole text.
    if (wide.size() <= ansiBytes && codec.ToClipboardAnsi(wide).size() <= ansiBytes) {
        return wide;
    }
    // Every unit takes at least one byte, and the ANSI form of a start is the start of the
    // ANSI form, so its length only grows with the count: the longest start that fits is
    // found by halving, a few conversions even for 64 KB.
    size_t fits = 0;
    size_t tooLong = std::min(wide.size(), ansiBytes + 1);
    while (tooLong - fits > 1) {
        const size_t middle = fits + (tooLong - fits) / 2;
        if (codec.ToClipboardAnsi(wide.substr(0, middle)).size() <= ansiBytes) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    return wide.substr(0, PairBoundaryAtOrBefore(wide, fits));
}

HistoryEntry MakeCapturedEntry(std::string_view rawAnsi, std::u16string_view rawWide,
                               int historyLen, LeadByteTest isLeadByte, const TextCodec& codec) {
    std::string ansi = CutText(rawAnsi, historyLen, false, isLeadByte);
    if (rawWide.empty() || ansi.empty()) {
        return HistoryEntry(std::move(ansi));
    }
    // A cut ANSI text is exact when it reads back as the start of the Unicode text; the
    // rest was cut from both.
    const bool cut = ansi.size() < rawAnsi.size();
    const std::u16string readBack = codec.ToWide(ansi);
    const std::u16string_view start = rawWide.substr(0, cut ? readBack.size() : rawWide.size());
    if (start == readBack) {
        return HistoryEntry(std::move(ansi));
    }
    const size_t limit = cut ? ansi.size() : static_cast<size_t>(std::max(historyLen, 0));
    const std::u16string_view exact = CutExactText(rawWide, limit, codec);
    if (exact.empty()) {
        return HistoryEntry(std::move(ansi));
    }
    if (cut) {
        const size_t exactBytes = codec.ToClipboardAnsi(exact).size();
        if (exactBytes < ansi.size()) {
            ansi.resize(CharBoundaryAtOrBefore(ansi, exactBytes, isLeadByte));
        }
    }
    return HistoryEntry(std::move(ansi), std::u16string(exact));
}

HistoryEntry MakeCapturedEntry(const ClipboardText& raw, int historyLen, LeadByteTest isLeadByte,
                               const TextCodec* codec) {
    if (codec == nullptr || raw.ansiFromWide) {
        return HistoryEntry(CutText(raw.text.ansi, historyLen, false, isLeadByte));
    }
    return MakeCapturedEntry(raw.text.ansi, raw.text.exact, historyLen, isLeadByte, *codec);
}

std::u16string EditableText(const HistoryEntry& entry, const TextCodec& codec) {
    return entry.exact.empty() ? codec.ToWide(entry.ansi) : entry.exact;
}

HistoryEntry CutEntry(HistoryEntry entry, int historyLen, LeadByteTest isLeadByte,
                      const TextCodec& codec) {
    const size_t limit = static_cast<size_t>(std::max(historyLen, 0));
    if (entry.exact.empty() || entry.ansi.size() <= limit) {
        if (entry.ansi.size() > limit) {
            entry.ansi = CutText(entry.ansi, historyLen, false, isLeadByte);
        }
        return entry;
    }
    const std::u16string_view exact = CutExactText(entry.exact, limit, codec);
    const size_t exactBytes = codec.ToClipboardAnsi(exact).size();
    std::string ansi =
        CutText(entry.ansi, static_cast<int>(std::min(limit, exactBytes)), false, isLeadByte);
    if (exact.empty() || ansi.empty()) {
        return HistoryEntry(std::move(ansi));
    }
    return HistoryEntry(std::move(ansi), std::u16string(exact));
}

std::optional<HistoryEntry> EntryFromEditedText(const HistoryEntry& before,
                                                std::u16string_view edited, int historyLen,
                                                LeadByteTest isLeadByte, const TextCodec& codec) {
    // Unchanged, the bytes stay as they were, even those the code page has no character for,
    // but OK still cuts a text longer than HistoryLen, as it did before texts were exact.
    if (edited == EditableText(before, codec)) {
        return CutEntry(before, historyLen, isLeadByte, codec);
    }
    if (edited.empty()) {
        return std::nullopt;
    }
    const size_t units = std::min(edited.size(), static_cast<size_t>(std::max(historyLen, 0)) + 1);
    return MakeCapturedEntry(codec.ToClipboardAnsi(edited), edited.substr(0, units), historyLen,
                             isLeadByte, codec);
}

}  // namespace varnoke
