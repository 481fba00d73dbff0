#include "core/text_codec.h"

namespace varnoke {

bool TextCodec::ToAnsiWithoutLoss(std::u16string_view wide, std::string* ansi) const {
    *ansi = ToAnsi(wide);
    return ToWide(*ansi) == wide;
}

std::u16string MakeWideMenuLabel(std::u16string_view text, int width, const TextCodec& codec) {
    const size_t limit = width > 0 ? static_cast<size_t>(width) : 0;
    std::u16string label;
    size_t length = 0;  // bytes of the label so far
    size_t fits = 0;    // units of the label made of whole pieces within the width
    auto place = [&](std::u16string_view piece, size_t bytes) {
        label.append(piece);
        length += bytes;
        if (length <= limit) {
            fits = label.size();
        }
    };
    for (size_t pos = 0; pos < text.size() && length <= limit;) {
        const char16_t unit = text[pos];
        if (unit == u'\t' || unit == u'&') {
            const std::u16string_view half = unit == u'\t' ? u" " : u"&";
            place(half, 1);
            place(half, 1);
            ++pos;
            continue;
        }
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && pos + 1 < text.size() &&
                          text[pos + 1] >= 0xDC00 && text[pos + 1] <= 0xDFFF;
        const std::u16string_view piece = text.substr(pos, pair ? 2 : 1);
        place(piece, codec.ToClipboardAnsi(piece).size());
        pos += piece.size();
    }
    if (length > limit) {
        label.resize(fits);
        label += u"...";
    }
    return label;
}

}  // namespace varnoke
