#include "shorttext/short_text_file.h"

#include <utility>

namespace varnoke {

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

std::vector<std::string> ShortTextLineReader::TakeLines() {
    pending_.clear();
    return std::exchange(lines_, {});
}

void ShortTextLineReader::EndLine() {
    std::string line = RemoveTabs(pending_, isLeadByte_);
    pending_.clear();
    if (!line.empty()) {
        lines_.push_back(std::move(line));
    }
}

std::vector<std::string> ParseShortTextLines(std::string_view bytes, LeadByteTest isLeadByte) {
    ShortTextLineReader reader(isLeadByte);
    reader.Feed(bytes);
    reader.Finish();
    return reader.TakeLines();
}

}  // namespace varnoke
