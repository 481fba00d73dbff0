#pragma once
// The ANSI code page's conversions to and from UTF-16, for the texts the code page cannot
// hold: the platform makes them (the program passes AnsiCodec(), tests iconv's CP932), and
// the rules around them stay portable.

#include <string>
#include <string_view>

namespace varnoke {

class TextCodec {
  public:
    virtual ~TextCodec() = default;
    virtual std::u16string ToWide(std::string_view ansi) const = 0;
    // Without best-fit look-alikes: a character the code page lacks becomes the default
    // character, so "é" does not pass for "e".
    virtual std::string ToAnsi(std::u16string_view wide) const = 0;
    // ToAnsi, and whether nothing was lost on the way: the ANSI text reads back as `wide`.
    // On a loss `ansi` may be left unmade.
    virtual bool ToAnsiWithoutLoss(std::u16string_view wide, std::string* ansi) const;
    // The bytes the system's CF_TEXT holds for this Unicode text, look-alikes included where
    // the code page lacks a character; ToAnsi unless the platform says otherwise.
    virtual std::string ToClipboardAnsi(std::u16string_view wide) const { return ToAnsi(wide); }
};

// The menu label of an exact text by the rules of MakeMenuLabel (core/text.h): tabs become
// two spaces, "&" becomes "&&", and the label is cut to `width` bytes of the code page with
// "..." after it, each character counted as many bytes as its CF_TEXT form takes, so a label
// is as wide as the label of the entry's ANSI text and ends at the same character.
std::u16string MakeWideMenuLabel(std::u16string_view text, int width, const TextCodec& codec);

}  // namespace varnoke
