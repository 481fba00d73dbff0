// The clipboard, written and read as another program would.
#include "harness.h"
#include "harness_internal.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace e2e {

using namespace internal;

bool SetClipboardText(const std::string& text) {
    return SetClipboardTextWithMarker(text, nullptr, {});
}

bool SetClipboardTextWithMarker(const std::string& text, const char* formatName,
                                const std::vector<BYTE>& markerData) {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    bool ok = true;
    if (formatName != nullptr) {
        UINT format = RegisterClipboardFormatA(formatName);
        HGLOBAL marker =
            MakeGlobal(markerData.empty() ? "" : reinterpret_cast<const char*>(markerData.data()),
                       markerData.empty() ? 1 : markerData.size());
        ok = SetClipboardData(format, marker) != nullptr;
    }
    HGLOBAL memory = MakeGlobal(text.c_str(), text.size() + 1);
    ok = ok && SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

bool SetClipboardTextThenHold(const std::string& text, DWORD holdMs) {
    if (!SetClipboardText(text) || !OpenClipboardRetrying()) {
        return false;
    }
    // Holding means not pumping: the notification must not be helped along.
    Sleep(holdMs);
    CloseClipboard();
    return true;
}

bool HoldClipboard() {
    return OpenClipboardRetrying();
}

void ReleaseClipboard() {
    CloseClipboard();
}

bool SetClipboardNonText() {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    UINT format = RegisterClipboardFormatA("Varnoke E2E Picture");
    const char bytes[] = "\x89PNG....";
    bool ok = SetClipboardData(format, MakeGlobal(bytes, sizeof(bytes))) != nullptr;
    CloseClipboard();
    return ok;
}

namespace {

template <typename Char>
bool GetClipboardFormat(UINT format, std::basic_string<Char>* text) {
    text->clear();
    if (!OpenClipboardRetrying()) {
        return false;
    }
    HANDLE data = GetClipboardData(format);
    if (data != nullptr) {
        const Char* p = static_cast<const Char*>(GlobalLock(data));
        if (p != nullptr) {
            *text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return data != nullptr;
}

}  // namespace

bool GetClipboardText(std::string* text) {
    return GetClipboardFormat(CF_TEXT, text);
}

std::string ClipboardNow() {
    std::string text;
    GetClipboardText(&text);
    return text;
}

std::wstring ClipboardUnicodeNow() {
    std::wstring text;
    GetClipboardUnicode(&text);
    return text;
}

bool SetClipboardUnicode(const std::wstring& text) {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    HGLOBAL memory = MakeGlobal(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

bool SetClipboardTextThenUnicode(const std::string& ansi, const std::wstring& wide) {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, MakeGlobal(ansi.c_str(), ansi.size() + 1)) != nullptr;
    HGLOBAL memory = MakeGlobal(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    ok = ok && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

bool GetClipboardUnicode(std::wstring* text) {
    return GetClipboardFormat(CF_UNICODETEXT, text);
}

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

// ---- Keys --------------------------------------------------------------------------

}  // namespace e2e
