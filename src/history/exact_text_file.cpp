#include "history/exact_text_file.h"

#include <cstring>

namespace varnoke {

namespace {

constexpr unsigned char kStartMark[2] = {0x13, 0x14};
constexpr unsigned char kEndMark[4] = {0x05, 0x04, 0x0D, 0x0A};
// Start mark, position, size, hash and unit count.
constexpr size_t kRecordHeadSize = 2 + 4 + 4 + 8 + 4;

void Put(std::string* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<char>(value >> (8 * i)));
    }
}

uint64_t Get(const unsigned char* bytes, int count) {
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

bool ReadExactly(ByteSource& source, void* buffer, size_t size) {
    return source.Remaining() >= size && source.Read(buffer, size) == size;
}

// The header line, CR LF included; anything else is damage.
bool ReadHeader(ByteSource& source) {
    char line[kExactTextFileHeader.size() + 2];
    return ReadExactly(source, line, sizeof line) &&
           std::string_view(line, kExactTextFileHeader.size()) == kExactTextFileHeader &&
           line[sizeof line - 2] == '\r' && line[sizeof line - 1] == '\n';
}

}  // namespace

std::string MakeExactTextFileName(const std::string& dataFile) {
    return dataFile + ".exact";
}

uint64_t ExactTextAnsiHash(std::string_view ansi) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char byte : ansi) {
        hash = (hash ^ byte) * 0x100000001B3ull;
    }
    return hash;
}

bool HasExactTexts(const ClipHistory& history) {
    for (const HistoryEntry& entry : history.entries()) {
        if (!entry.exact.empty()) {
            return true;
        }
    }
    return false;
}

bool WriteExactTextFile(const ClipHistory& history, ByteSink& sink) {
    std::string bytes(kExactTextFileHeader);
    bytes += "\r\n";
    bool ok = true;
    for (int pos = 0; ok && pos < history.size(); ++pos) {
        const HistoryEntry& entry = history.at(pos);
        if (entry.exact.empty() || entry.exact.size() > kMaxExactTextUnits) {
            continue;
        }
        bytes.append(reinterpret_cast<const char*>(kStartMark), sizeof kStartMark);
        Put(&bytes, static_cast<uint64_t>(pos), 4);
        Put(&bytes, entry.text.size(), 4);
        Put(&bytes, ExactTextAnsiHash(entry.text), 8);
        Put(&bytes, entry.exact.size(), 4);
        for (char16_t unit : entry.exact) {
            Put(&bytes, unit, 2);
        }
        bytes.append(reinterpret_cast<const char*>(kEndMark), sizeof kEndMark);
        // One entry at a time, so a full history never doubles in memory.
        ok = sink.Write(bytes.data(), bytes.size());
        bytes.clear();
    }
    return ok && sink.Write(bytes.data(), bytes.size());
}

ExactTextLoadResult LoadExactTexts(ByteSource& source, ClipHistory& history, int first) {
    ExactTextLoadResult result;
    if (source.Remaining() == 0) {
        return result;
    }
    if (!ReadHeader(source)) {
        result.damaged = true;
        return result;
    }
    std::string units;
    while (source.Remaining() > 0) {
        unsigned char head[kRecordHeadSize];
        if (!ReadExactly(source, head, sizeof head) || head[0] != kStartMark[0] ||
            head[1] != kStartMark[1]) {
            result.damaged = true;
            break;
        }
        const uint64_t position = Get(head + 2, 4);
        const uint64_t ansiSize = Get(head + 6, 4);
        const uint64_t ansiHash = Get(head + 10, 8);
        const uint64_t count = Get(head + 18, 4);
        unsigned char tail[sizeof kEndMark];
        if (count == 0 || count > kMaxExactTextUnits) {
            result.damaged = true;
            break;
        }
        units.resize(static_cast<size_t>(count) * 2);
        if (!ReadExactly(source, &units[0], units.size()) ||
            !ReadExactly(source, tail, sizeof tail) ||
            std::memcmp(tail, kEndMark, sizeof tail) != 0) {
            result.damaged = true;
            break;
        }
        const uint64_t target = static_cast<uint64_t>(first) + position;
        if (first < 0 || target >= static_cast<uint64_t>(history.size())) {
            ++result.ignored;
            continue;
        }
        const int pos = static_cast<int>(target);
        const std::string& ansi = history.at(pos).text;
        if (ansi.size() != ansiSize || ExactTextAnsiHash(ansi) != ansiHash ||
            !history.at(pos).exact.empty()) {
            ++result.ignored;
            continue;
        }
        std::u16string exact(static_cast<size_t>(count), u'\0');
        for (size_t i = 0; i < exact.size(); ++i) {
            exact[i] =
                static_cast<char16_t>(Get(reinterpret_cast<unsigned char*>(&units[2 * i]), 2));
        }
        history.SetExact(pos, std::move(exact));
        ++result.attached;
    }
    return result;
}

}  // namespace varnoke
