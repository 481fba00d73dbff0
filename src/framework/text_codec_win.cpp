#include "framework/text_codec_win.h"

#include <windows.h>

#include <climits>
#include <string>
#include <vector>

namespace varnoke {

// A byte never makes more than one unit, so one pass into a buffer of that size does: the
// capture converts every copy of a Unicode program, and a second pass for the length would
// cost as much again.
std::u16string AnsiCodePageCodec::ToWide(std::string_view ansi) const {
    if (ansi.empty() || ansi.size() > INT_MAX) {
        return std::u16string();
    }
    const int size = static_cast<int>(ansi.size());
    std::u16string wide(ansi.size(), u'\0');
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size,
                                          reinterpret_cast<wchar_t*>(&wide[0]), size);
    wide.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return wide;
}

// The length first: a unit may take two bytes.
std::string AnsiCodePageCodec::ToAnsi(std::u16string_view wide) const {
    if (wide.empty() || wide.size() > INT_MAX) {
        return std::string();
    }
    const wchar_t* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int count = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0,
                                          nullptr, nullptr);
    std::string ansi(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, &ansi[0], bytes, nullptr,
                            nullptr);
    }
    return ansi;
}

namespace {

// For every UTF-16 unit, whether the code page holds it exactly: it converts without the
// default character or a look-alike and comes back as itself. Made once, from two
// conversions of all units, it turns the check of a copy into a look-up per unit: the
// system's own check (WC_NO_BEST_FIT_CHARS) was six times slower than the conversion.
std::vector<unsigned char> MakeExactUnitTable() {
    std::vector<unsigned char> exact(0x10000, 0);
    std::wstring units;
    for (unsigned unit = 1; unit < 0x10000; ++unit) {
        if (unit < 0xD800 || unit > 0xDFFF) {
            units.push_back(static_cast<wchar_t>(unit));
        }
    }
    const int count = static_cast<int>(units.size());
    std::string bytes(units.size() * 2, '\0');
    const int made = WideCharToMultiByte(CP_ACP, 0, units.c_str(), count, &bytes[0],
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
    std::wstring back(units.size(), L'\0');
    const int returned =
        made > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes.c_str(), made, &back[0], count) : 0;
    // Each unit made one character, so the two line up unit for unit; if not, no unit counts
    // as exact and every copy keeps its Unicode text, which loses nothing.
    if (returned == count) {
        for (int i = 0; i < count; ++i) {
            exact[units[static_cast<size_t>(i)]] =
                back[static_cast<size_t>(i)] == units[static_cast<size_t>(i)];
        }
    }
    exact[0] = 1;
    return exact;
}

}  // namespace

bool AnsiCodePageCodec::ToAnsiWithoutLoss(std::u16string_view wide, std::string* ansi) const {
    static const std::vector<unsigned char> exact = MakeExactUnitTable();
    for (char16_t unit : wide) {
        if (!exact[unit]) {
            return false;
        }
    }
    ansi->clear();
    if (wide.empty() || wide.size() > INT_MAX / 2) {
        return wide.empty();
    }
    // Two bytes a unit at the most, so one pass does.
    ansi->resize(wide.size() * 2);
    const int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide.data()),
                                          static_cast<int>(wide.size()), &(*ansi)[0],
                                          static_cast<int>(ansi->size()), nullptr, nullptr);
    ansi->resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    return bytes > 0;
}

// The conversion the clipboard makes for CF_TEXT: the default flags, best fit included.
std::string AnsiCodePageCodec::ToClipboardAnsi(std::u16string_view wide) const {
    if (wide.empty() || wide.size() > INT_MAX / 2) {
        return std::string();
    }
    std::string ansi(wide.size() * 2, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide.data()),
                                          static_cast<int>(wide.size()), &ansi[0],
                                          static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    return ansi;
}

const TextCodec& AnsiCodec() {
    static const AnsiCodePageCodec codec;
    return codec;
}

}  // namespace varnoke
