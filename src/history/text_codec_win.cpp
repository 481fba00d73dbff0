#include "history/text_codec_win.h"

#include <windows.h>

#include <climits>

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

const TextCodec& AnsiCodec() {
    static const AnsiCodePageCodec codec;
    return codec;
}

}  // namespace varnoke
