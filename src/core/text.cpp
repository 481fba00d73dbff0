#include "core/text.h"

#include <algorithm>
#include <array>

namespace varnoke {

namespace {

bool StartsDoubleByte(LeadByteTest isLeadByte, char byte) {
    return isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(byte));
}

size_t NonNegative(int width) {
    return width > 0 ? static_cast<size_t>(width) : 0;
}

// Labels are made for every menu item at every showing; a table of the code page's lead
// bytes spares an indirect call per byte. One thread only, like everything that uses it.
const std::array<bool, 256>& LeadTable(LeadByteTest isLeadByte) {
    static LeadByteTest tableFor = nullptr;
    static std::array<bool, 256> table{};
    if (tableFor != isLeadByte || isLeadByte == nullptr) {
        for (int byte = 0; byte < 256; ++byte) {
            table[byte] = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(byte));
        }
        tableFor = isLeadByte;
    }
    return table;
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
    std::string label;
    AppendMenuLabel(&label, text, width, isLeadByte);
    return label;
}

// Expands and cuts in one walk: each piece is placed as the cut would later see it, so
// the last character boundary that fits is known without walking the label again.
void AppendMenuLabel(std::string* out, std::string_view text, int width, LeadByteTest isLeadByte) {
    const size_t limit = NonNegative(width);
    // The plain cut may split the last character; the boundary rule drops that piece.
    const std::string_view head = text.substr(0, limit + 2);
    const std::array<bool, 256>& lead = LeadTable(isLeadByte);
    const size_t start = out->size();
    out->reserve(start + limit + 3);
    size_t length = 0;  // bytes of the label so far
    size_t fits = 0;    // the longest run of whole pieces within the width
    auto place = [&](const char* bytes, size_t size, size_t walk) {
        out->append(bytes, size);
        if (length + walk <= limit && length == fits) {
            fits = length + walk;
        }
        length += size;
    };
    size_t pos = 0;
    while (pos < head.size() && length <= limit) {
        // Plain single-byte characters go over as one run.
        size_t run = pos;
        while (run < head.size() && !lead[static_cast<unsigned char>(head[run])] &&
               head[run] != '\t' && head[run] != '&') {
            ++run;
        }
        if (run > pos) {
            out->append(head.data() + pos, run - pos);
            if (length == fits) {
                fits = std::min(length + (run - pos), limit);
            }
            length += run - pos;
            pos = run;
            continue;
        }
        const char byte = head[pos];
        if (byte == '\t') {
            place(" ", 1, 1);
            place(" ", 1, 1);
            ++pos;
        } else if (byte == '&') {
            place("&", 1, 1);
            place("&", 1, 1);
            ++pos;
        } else {
            // A lead byte without its trail (the head ended) still counts as two.
            const size_t size = pos + 1 < head.size() ? 2 : 1;
            place(&head[pos], size, 2);
            pos += size;
        }
    }
    if (length > limit) {
        out->resize(start + fits);
        out->append("...");
    }
}

std::string MakeTooltipText(std::string_view text, const std::string& versionText,
                            LeadByteTest isLeadByte) {
    if (text.empty()) {
        return versionText;
    }
    return MakeMenuLabel(text, kTooltipLabelWidth, isLeadByte);
}

}  // namespace varnoke
