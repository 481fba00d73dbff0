#pragma once
// Code page 1252 (Windows Western) for tests of a single-byte code page: Latin-1 with
// Windows' letters and signs at 0x80-0x9F. ToAnsi turns a character the code page lacks
// into "?", as the system does without best fit.

#include <string>
#include <string_view>

#include "core/text_codec.h"

namespace varnoke::samples {

class Cp1252Codec : public TextCodec {
  public:
    std::u16string ToWide(std::string_view ansi) const override {
        std::u16string wide;
        for (char c : ansi) {
            const auto byte = static_cast<unsigned char>(c);
            wide.push_back(byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : byte);
        }
        return wide;
    }

    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        for (char16_t unit : wide) {
            char byte = '?';
            for (unsigned c = 0; c < 256; ++c) {
                if (ToWide(std::string(1, static_cast<char>(c)))[0] == unit) {
                    byte = static_cast<char>(c);
                }
            }
            ansi.push_back(byte);
        }
        return ansi;
    }

  private:
    // The five codes without a character map to the C1 controls, as Windows maps them.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
};

}  // namespace varnoke::samples
