#include "history/clipboard_win.h"

#include <cstring>

#include "framework/handles_win.h"
#include "history/capture.h"

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
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) {
        return std::string();
    }
    GlobalLockGuard lock(data);
    if (lock.data() == nullptr) {
        return std::string();
    }
    // The block may be larger than its text and, from a careless writer, lack the zero.
    size_t size = GlobalSize(data);
    size_t scan = size < limit ? size : limit;
    const char* text = static_cast<const char*>(lock.data());
    const void* zero = std::memchr(text, '\0', scan);
    size_t length =
        zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - text) : scan;
    return std::string(text, length);
}

bool WriteClipboardBytes(HWND owner, const std::string& text, bool* busy) {
    ClipboardLock clipboard(owner);
    if (!clipboard.IsOpen()) {
        if (busy != nullptr) {
            *busy = true;
        }
        return false;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory == nullptr) {
        return false;
    }
    {
        GlobalLockGuard lock(memory);
        if (lock.data() == nullptr) {
            GlobalFree(memory);
            return false;
        }
        std::memcpy(lock.data(), text.c_str(), text.size() + 1);
    }
    // The memory is ready before the old content goes, so only a refusal by
    // SetClipboardData can leave the clipboard empty. The clipboard owns the memory
    // once that call succeeds.
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
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
