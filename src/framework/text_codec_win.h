#pragma once
// The ANSI code page's conversions, for the rules in history/exact_text.h.

#include <string>
#include <string_view>

#include "core/text_codec.h"

namespace varnoke {

class AnsiCodePageCodec : public TextCodec {
  public:
    std::u16string ToWide(std::string_view ansi) const override;
    std::string ToAnsi(std::u16string_view wide) const override;
    // A look-up per unit, then the one conversion.
    bool ToAnsiWithoutLoss(std::u16string_view wide, std::string* ansi) const override;
    std::string ToClipboardAnsi(std::u16string_view wide) const override;
};

// The program's one codec.
const TextCodec& AnsiCodec();

}  // namespace varnoke
