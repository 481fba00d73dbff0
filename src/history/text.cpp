#include "history/text.h"

namespace varnoke {

namespace {

bool StartsDoubleByte(LeadByteTest isLeadByte, char byte) {
    return isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(byte));
}

size_t NonNegative(int width) {
    return width > 0 ? static_cast<size_t>(width) : 0;
}

}  // namespace

size_t CharBoundaryAtOrBefore(std::string_view text, size_t limit, LeadByteTest isLeadByte) {
    size_t pos = 0;
    while (pos < limit) {
        size_t step = StartsDoubleByte(isLeadByte, text[pos]) ? 2 : 1;
        if (pos + step > limit) {
            break;
        }
        pos += step;
    }
    return pos;
}

std::string CutText(std::string_view text, int width, bool ellipsis, LeadByteTest isLeadByte) {
    size_t limit = NonNegative(width);
    if (text.size() <= limit) {
        return std::string(text);
    }
    std::string result(text.substr(0, CharBoundaryAtOrBefore(text, limit, isLeadByte)));
    if (ellipsis) {
        result += "...";
    }
    return result;
}

std::string MakeMenuLabel(std::string_view text, int width, LeadByteTest isLeadByte) {
    // The plain cut may split the last character; the final CutText drops that piece.
    std::string_view head = text.substr(0, NonNegative(width) + 2);
    std::string label;
    label.reserve(head.size() + 8);
    size_t pos = 0;
    while (pos < head.size()) {
        char byte = head[pos];
        if (StartsDoubleByte(isLeadByte, byte) && pos + 1 < head.size()) {
            label.append(head.substr(pos, 2));
            pos += 2;
            continue;
        }
        if (byte == '\t') {
            label += "  ";
        } else if (byte == '&') {
            label += "&&";
        } else {
            label += byte;
        }
        ++pos;
    }
    // The same cut as CutText, done in place: labels are made for every menu item.
    size_t limit = NonNegative(width);
    if (label.size() > limit) {
        label.resize(CharBoundaryAtOrBefore(label, limit, isLeadByte));
        label += "...";
    }
    return label;
}

std::string MakeTooltipText(std::string_view text, const std::string& versionText,
                            LeadByteTest isLeadByte) {
    if (text.empty()) {
        return versionText;
    }
    return MakeMenuLabel(text, kTooltipLabelWidth, isLeadByte);
}

}  // namespace varnoke
