#include "history/clipboard_win.h"

#include <cstring>

#include "framework/handles_win.h"
#include "history/capture.h"
#include "history/text_codec_win.h"

namespace varnoke {

namespace {

bool HasFormat(const char* name) {
    UINT format = RegisterClipboardFormatA(name);
    return format != 0 && IsClipboardFormatAvailable(format);
}

// Reads the DWORD of CanIncludeInClipboardHistory; the clipboard must be open.
bool ReadCanIncludeValue(DWORD* value) {
    UINT format = RegisterClipboardFormatA(kCanIncludeInHistoryFormat);
    HANDLE data = format != 0 ? GetClipboardData(format) : nullptr;
    if (data == nullptr || GlobalSize(data) < sizeof(DWORD)) {
        return false;
    }
    GlobalLockGuard lock(data);
    if (lock.data() == nullptr) {
        return false;
    }
    std::memcpy(value, lock.data(), sizeof(DWORD));
    return true;
}

bool IsMarkedSecret() {
    DWORD canInclude = 1;
    bool hasCanInclude = ReadCanIncludeValue(&canInclude);
    return IsExcludedFromHistory(HasFormat(kExcludeFromMonitorFormat),
                                 HasFormat(kViewerIgnoreFormat), hasCanInclude, canInclude);
}

}  // namespace

namespace {

// A format's text up to its first zero, at most `limit` characters of type Char. The block
// may be larger than its text and, from a careless writer, lack the zero.
template <typename Char>
std::basic_string<Char> ReadFormat(UINT format, size_t limit) {
    HANDLE data = GetClipboardData(format);
    if (data == nullptr) {
        return std::basic_string<Char>();
    }
    GlobalLockGuard lock(data);
    if (lock.data() == nullptr) {
        return std::basic_string<Char>();
    }
    const size_t size = GlobalSize(data) / sizeof(Char);
    const size_t scan = size < limit ? size : limit;
    const Char* text = static_cast<const Char*>(lock.data());
    size_t length = 0;
    while (length < scan && text[length] != 0) {
        ++length;
    }
    return std::basic_string<Char>(text, length);
}

// Whether the copying program placed its Unicode text before any CF_TEXT, as Unicode
// programs do. Formats are listed in the order they were placed, and those the system makes
// from them come after, so a copy from a program that placed CF_TEXT first, an ANSI program,
// has no Unicode text that CF_TEXT could have lost: the capture then reads CF_TEXT alone, as
// it always did. The clipboard must be open.
bool UnicodeTextPlacedFirst() {
    for (UINT format = EnumClipboardFormats(0); format != 0;
         format = EnumClipboardFormats(format)) {
        if (format == CF_TEXT || format == CF_UNICODETEXT) {
            return format == CF_UNICODETEXT;
        }
    }
    return false;
}

// The clipboard owns `memory` once SetClipboardData succeeds; false leaves it ours.
template <typename Char>
HGLOBAL CopyToGlobal(const std::basic_string<Char>& text) {
    const size_t bytes = (text.size() + 1) * sizeof(Char);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return nullptr;
    }
    GlobalLockGuard lock(memory);
    if (lock.data() == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(lock.data(), text.c_str(), bytes);
    return memory;
}

}  // namespace

ClipboardText ReadClipboardTexts(HWND owner, size_t limit, bool* busy) {
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        return ClipboardText();
    }
    ClipboardLock clipboard(owner);
    if (busy != nullptr) {
        *busy = !clipboard.IsOpen();
    }
    if (!clipboard.IsOpen() || IsMarkedSecret()) {
        return ClipboardText();
    }
    if (!UnicodeTextPlacedFirst()) {
        return ClipboardText(ReadFormat<char>(CF_TEXT, limit));
    }
    // A Unicode text that the code page holds gives the very bytes CF_TEXT would: made here
    // in one conversion, they spare the system's conversion for CF_TEXT and the check.
    std::u16string wide = ReadFormat<char16_t>(CF_UNICODETEXT, limit);
    std::string ansi;
    if (!wide.empty() && AnsiCodec().ToAnsiWithoutLoss(wide, &ansi)) {
        ClipboardText text(std::move(ansi));
        text.ansiFromWide = true;
        return text;
    }
    return ClipboardText(ReadFormat<char>(CF_TEXT, limit), std::move(wide));
}

std::string ReadClipboardBytes(HWND owner, size_t limit, bool* busy) {
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        return std::string();
    }
    ClipboardLock clipboard(owner);
    if (busy != nullptr) {
        *busy = !clipboard.IsOpen();
    }
    if (!clipboard.IsOpen() || IsMarkedSecret()) {
        return std::string();
    }
    return ReadFormat<char>(CF_TEXT, limit);
}

bool WriteClipboardEntry(HWND owner, const HistoryEntry& entry, bool* busy) {
    ClipboardLock clipboard(owner);
    if (!clipboard.IsOpen()) {
        if (busy != nullptr) {
            *busy = true;
        }
        return false;
    }
    HGLOBAL ansi = CopyToGlobal(entry.text);
    if (ansi == nullptr) {
        return false;
    }
    HGLOBAL wide = nullptr;
    if (!entry.exact.empty()) {
        wide = CopyToGlobal(std::wstring(entry.exact.begin(), entry.exact.end()));
        if (wide == nullptr) {
            GlobalFree(ansi);
            return false;
        }
    }
    // The memory is ready before the old content goes, so only a refusal by
    // SetClipboardData can leave the clipboard without the text. Both forms are set: a
    // program that reads Unicode gets every character, one that reads CF_TEXT the bytes it
    // always got. The Unicode text goes first, as the richer form does.
    EmptyClipboard();
    if (wide != nullptr && SetClipboardData(CF_UNICODETEXT, wide) == nullptr) {
        GlobalFree(wide);
    }
    if (SetClipboardData(CF_TEXT, ansi) == nullptr) {
        GlobalFree(ansi);
        return false;
    }
    return true;
}

bool WriteClipboardBytes(HWND owner, const std::string& text, bool* busy) {
    return WriteClipboardEntry(owner, HistoryEntry(text), busy);
}

bool EmptyClipboardOf(HWND owner) {
    ClipboardLock clipboard(owner);
    if (!clipboard.IsOpen()) {
        return false;
    }
    EmptyClipboard();
    return true;
}

}  // namespace varnoke
