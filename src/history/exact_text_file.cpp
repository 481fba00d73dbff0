#include "history/exact_text_file.h"

#include <cstring>
#include <utility>
#include <vector>

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

namespace {

struct Record {
    uint64_t position;
    uint64_t ansiSize;
    uint64_t ansiHash;
    std::u16string exact;
};

// Reads the records up to the end or the first damage.
bool ReadRecords(ByteSource& source, std::vector<Record>* records) {
    std::string units;
    while (source.Remaining() > 0) {
        unsigned char head[kRecordHeadSize];
        if (!ReadExactly(source, head, sizeof head) || head[0] != kStartMark[0] ||
            head[1] != kStartMark[1]) {
            return false;
        }
        const uint64_t count = Get(head + 18, 4);
        unsigned char tail[sizeof kEndMark];
        if (count == 0 || count > kMaxExactTextUnits) {
            return false;
        }
        units.resize(static_cast<size_t>(count) * 2);
        if (!ReadExactly(source, &units[0], units.size()) ||
            !ReadExactly(source, tail, sizeof tail) ||
            std::memcmp(tail, kEndMark, sizeof tail) != 0) {
            return false;
        }
        Record record{Get(head + 2, 4), Get(head + 6, 4), Get(head + 10, 8), std::u16string()};
        record.exact.resize(static_cast<size_t>(count));
        for (size_t i = 0; i < record.exact.size(); ++i) {
            record.exact[i] = static_cast<char16_t>(
                Get(reinterpret_cast<const unsigned char*>(&units[2 * i]), 2));
        }
        records->push_back(std::move(record));
    }
    return true;
}

// The entry that `record` names when the data file's entries sit `shift` places from where
// the exact-text file saw them; -1 when that entry does not hold the record's text.
int MatchingEntry(const Record& record, const ClipHistory& history, int first, int shift) {
    const int64_t pos = static_cast<int64_t>(first) + static_cast<int64_t>(record.position) + shift;
    if (pos < first || pos >= history.size()) {
        return -1;
    }
    const std::string& ansi = history.at(static_cast<int>(pos)).text;
    return ansi.size() == record.ansiSize && ExactTextAnsiHash(ansi) == record.ansiHash
               ? static_cast<int>(pos)
               : -1;
}

}  // namespace

ExactTextLoadResult LoadExactTexts(ByteSource& source, ClipHistory& history, int first) {
    ExactTextLoadResult result;
    if (source.Remaining() == 0 || first < 0) {
        return result;
    }
    std::vector<Record> records;
    result.damaged = !ReadHeader(source) || !ReadRecords(source, &records);
    // A save cut short between the two files leaves this file one capture ahead of the data
    // file (or behind it), every entry one place off: the shift most records agree on wins,
    // so that two entries of the same ANSI text ("??" for two emoji) are never swapped.
    int bestShift = 0;
    int bestCount = -1;
    for (int shift : {0, -1, 1}) {
        int count = 0;
        for (const Record& record : records) {
            count += MatchingEntry(record, history, first, shift) >= 0 ? 1 : 0;
        }
        if (count > bestCount) {
            bestShift = shift;
            bestCount = count;
        }
    }
    for (Record& record : records) {
        const int pos = MatchingEntry(record, history, first, bestShift);
        if (pos < 0 || !history.at(pos).exact.empty()) {
            ++result.ignored;
            continue;
        }
        history.SetExact(pos, std::move(record.exact));
        ++result.attached;
    }
    return result;
}

}  // namespace varnoke
