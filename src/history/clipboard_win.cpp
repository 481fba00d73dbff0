#include "history/clipboard_win.h"

#include <cstring>

#include "framework/handles_win.h"
#include "framework/system_libraries_win.h"
#include "framework/text_codec_win.h"
#include "history/capture.h"
#include "history/clipboard_formats.h"

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

static_assert(kFormatText == CF_TEXT && kFormatOemText == CF_OEMTEXT &&
                  kFormatUnicodeText == CF_UNICODETEXT && kFormatLocale == CF_LOCALE,
              "the text formats' numbers");

// Which of its text forms the clipboard holds from the copying program; it must be open.
TextForms ListedTextForms() {
    TextFormsByOrder order;
    UINT format = 0;
    do {
        format = EnumClipboardFormats(format);
    } while (!order.Next(format));
    return order.forms();
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
    // Opened without asking first whether there is text: the list of formats tells that too.
    // Under Wine each question is a call to the server, and this one pays for the format
    // more that an ANSI program's copy now reads of the list (ListedTextForms).
    ClipboardLock clipboard(owner);
    if (busy != nullptr) {
        *busy = !clipboard.IsOpen() && IsClipboardFormatAvailable(CF_TEXT);
    }
    if (!clipboard.IsOpen()) {
        return ClipboardText();
    }
    const TextForms forms = ListedTextForms();
    if (forms == TextForms::kNone || IsMarkedSecret()) {
        return ClipboardText();
    }
    if (forms == TextForms::kAnsi) {
        return ClipboardText(ReadFormat<char>(CF_TEXT, limit));
    }
    std::u16string wide = ReadFormat<char16_t>(CF_UNICODETEXT, limit);
    if (forms == TextForms::kUnicodeFirst) {
        // A Unicode text that the code page holds gives the very bytes CF_TEXT would: made
        // here in one conversion, they spare the system's conversion for CF_TEXT and the
        // check.
        std::string ansi;
        if (!wide.empty() && AnsiCodec().ToAnsiWithoutLoss(wide, &ansi)) {
            ClipboardText text(std::move(ansi));
            text.ansiFromWide = true;
            return text;
        }
    }
    // CF_TEXT byte for byte beside the Unicode text: the program's own bytes when it
    // placed CF_TEXT first.
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
    HGLOBAL ansi = CopyToGlobal(entry.ansi);
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

HGLOBAL EntryFormatData(const HistoryEntry& entry, UINT format) {
    if (format == CF_TEXT) {
        return CopyToGlobal(entry.ansi);
    }
    if (format == CF_UNICODETEXT && !entry.exact.empty()) {
        return CopyToGlobal(std::wstring(entry.exact.begin(), entry.exact.end()));
    }
    return nullptr;
}

std::string ClipboardOwnerProgram() {
    HWND owner = GetClipboardOwner();
    DWORD processId = 0;
    if (owner == nullptr || GetWindowThreadProcessId(owner, &processId) == 0 || processId == 0) {
        return std::string();
    }
    // The limited right (Vista on) is granted even for a program running elevated; XP
    // knows only the full one.
    constexpr DWORD kQueryLimitedInformation = 0x1000;
    KernelHandle process(OpenProcess(kQueryLimitedInformation, FALSE, processId));
    if (!process) {
        process = KernelHandle(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    }
    if (!process) {
        return std::string();
    }
    char path[MAX_PATH * 2];
    const DWORD length = ProcessImageFileName(process.get(), path, sizeof path);
    return std::string(path, length);
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
