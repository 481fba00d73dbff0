#include "shorttext/short_text_file.h"

#include <algorithm>
#include <utility>

#include "core/utf8.h"

namespace varnoke {

ShortTextString MakeShortTextString(std::u16string wide, const TextCodec& codec) {
    ShortTextString out;
    if (!codec.ToAnsiWithoutLoss(wide, &out.ansi)) {
        // The program's codec stops at the first unit it cannot hold, without the ANSI text.
        // The ANSI form is what CF_TEXT of the same text holds: "cafe" for "café", as a copy
        // of it gives, not "caf?".
        out.ansi = codec.ToClipboardAnsi(wide);
        out.exact = std::move(wide);
    }
    return out;
}

std::string RemoveTabs(std::string_view line, LeadByteTest isLeadByte) {
    std::string out;
    out.reserve(line.size());
    for (size_t pos = 0; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (pos + 1 < line.size() && isLeadByte(static_cast<unsigned char>(c))) {
            out += c;
            out += line[++pos];
        } else if (c != '\t') {
            out += c;
        }
    }
    return out;
}

bool ShortTextLineReader::Feed(std::string_view bytes) {
    while (!bytes.empty() && !Full()) {
        const size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            pending_.append(bytes);
            break;
        }
        pending_.append(bytes.substr(0, lf));
        bytes.remove_prefix(lf + 1);
        if (!pending_.empty() && pending_.back() == '\r') {
            pending_.pop_back();
        }
        EndLine();
    }
    return !Full();
}

void ShortTextLineReader::Finish() {
    if (!pending_.empty() && !Full()) {
        EndLine();
    }
    pending_.clear();
}

std::vector<ShortTextString> ShortTextLineReader::TakeLines() {
    pending_.clear();
    return std::exchange(lines_, {});
}

// The byte order mark is at the start of the first line, so that line decides, however the
// file came in chunks.
void ShortTextLineReader::EndLine() {
    if (std::exchange(firstLine_, false) && StartsWithUtf8ByteOrderMark(pending_)) {
        utf8_ = true;
        pending_.erase(0, kUtf8ByteOrderMark.size());
    }
    if (!utf8_) {
        std::string line = RemoveTabs(pending_, isLeadByte_);
        if (!line.empty()) {
            lines_.emplace_back(std::move(line));
        }
    } else {
        std::u16string wide = DecodeUtf8(pending_);
        wide.erase(std::remove(wide.begin(), wide.end(), u'\t'), wide.end());
        if (!wide.empty()) {
            lines_.push_back(MakeShortTextString(std::move(wide), codec_));
        }
    }
    pending_.clear();
}

std::vector<ShortTextString> ParseShortTextLines(std::string_view bytes, LeadByteTest isLeadByte,
                                                 const TextCodec& codec) {
    ShortTextLineReader reader(isLeadByte, codec);
    reader.Feed(bytes);
    reader.Finish();
    return reader.TakeLines();
}

}  // namespace varnoke
