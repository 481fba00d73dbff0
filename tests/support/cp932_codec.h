#pragma once
// Code page 932 conversions for tests, fuzzers and benches, made by glibc's iconv the way
// Windows makes them. ToAnsi has no best fit: a unit that does not come back as itself
// becomes "?" (as Wine was seen to turn one emoji into "??"). ToClipboardAnsi is the
// conversion CF_TEXT gets, look-alikes included: iconv's one-way mappings (U+00A2 to 0x8191,
// U+301C to 0x8160) stand in for the system's best fit, and accented Latin letters lose
// their accent.

#include <iconv.h>

#include <string>
#include <string_view>

#include "history/exact_text.h"

namespace varnoke::samples {

// The two conversion descriptors are opened once: opening them for every call made the
// fuzzers that convert each input twenty times slower.
class Cp932Codec : public TextCodec {
  public:
    Cp932Codec()
        : toWide_(iconv_open("UTF-16LE", "CP932")), toAnsi_(iconv_open("CP932", "UTF-16LE")) {}
    ~Cp932Codec() override {
        iconv_close(toWide_);
        iconv_close(toAnsi_);
    }
    Cp932Codec(const Cp932Codec&) = delete;
    Cp932Codec& operator=(const Cp932Codec&) = delete;

    std::u16string ToWide(std::string_view ansi) const override {
        std::u16string wide;
        iconv_t cd = toWide_;
        size_t at = 0;
        while (at < ansi.size()) {
            const size_t length =
                IsCp932LeadByte(static_cast<unsigned char>(ansi[at])) && at + 1 < ansi.size() ? 2
                                                                                              : 1;
            char16_t out[2] = {};
            if (Convert(cd, ansi.data() + at, length, out, sizeof out) == 2) {
                wide.push_back(out[0]);
            } else {
                wide.push_back(u'\u30FB');
            }
            at += length;
        }
        return wide;
    }

    std::string ToAnsi(std::u16string_view wide) const override {
        std::string ansi;
        for (char16_t unit : wide) {
            const std::string bytes = UnitToAnsi(unit);
            ansi.append(!bytes.empty() && ToWide(bytes) == std::u16string(1, unit) ? bytes : "?");
        }
        return ansi;
    }

    std::string ToClipboardAnsi(std::u16string_view wide) const override {
        std::string ansi;
        for (char16_t unit : wide) {
            const std::string bytes = UnitToAnsi(unit);
            ansi.append(bytes.empty() ? std::string(1, BestFitLatin(unit)) : bytes);
        }
        return ansi;
    }

  private:
    std::string UnitToAnsi(char16_t unit) const {
        char out[4] = {};
        const size_t made =
            unit >= 0xD800 && unit <= 0xDFFF
                ? 0
                : Convert(toAnsi_, reinterpret_cast<const char*>(&unit), 2, out, sizeof out);
        return std::string(out, made);
    }

    // The base letter of an accented Latin-1 letter, "?" for anything else.
    static char BestFitLatin(char16_t unit) {
        static const char kBase[] =
            "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";
        return unit >= 0xC0 && unit <= 0xFF && kBase[unit - 0xC0] != 'x' &&
                       kBase[unit - 0xC0] != '/'
                   ? kBase[unit - 0xC0]
                   : '?';
    }

    // Bytes written, or 0 when iconv refused the input.
    static size_t Convert(iconv_t cd, const char* in, size_t inSize, void* out, size_t outSize) {
        char* input = const_cast<char*>(in);
        char* output = static_cast<char*>(out);
        size_t inLeft = inSize;
        size_t outLeft = outSize;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &input, &inLeft, &output, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0) {
            return 0;
        }
        return outSize - outLeft;
    }

    iconv_t toWide_;
    iconv_t toAnsi_;
};

}  // namespace varnoke::samples
