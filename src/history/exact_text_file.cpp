#include "history/exact_text_file.h"

#include <cstring>
#include <map>
#include <utility>
#include <vector>

namespace varnoke {

namespace {

constexpr unsigned char kStartMark[2] = {0x13, 0x14};
constexpr unsigned char kEndMark[4] = {0x05, 0x04, 0x0D, 0x0A};
// Start mark, position, size, hash, alike and unit count; the first layout has no alike.
constexpr size_t kRecordHeadSize = 2 + 4 + 4 + 8 + 4 + 4;
constexpr size_t kRecordHeadSizeV1 = kRecordHeadSize - 4;

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

enum class Layout { kDamaged, kFirst, kSecond };

// The header line, CR LF included, and for the second layout the data file it names;
// anything else is damage.
Layout ReadHeader(ByteSource& source, DataFileIdentity* dataFile) {
    char line[kExactTextFileHeader.size() + 2];
    const size_t firstSize = kExactTextFileHeaderV1.size() + 2;
    if (!ReadExactly(source, line, firstSize)) {
        return Layout::kDamaged;
    }
    if (std::string_view(line, firstSize) == std::string(kExactTextFileHeaderV1) + "\r\n") {
        return Layout::kFirst;
    }
    unsigned char identity[16];
    if (!ReadExactly(source, line + firstSize, sizeof line - firstSize) ||
        std::string_view(line, sizeof line) != std::string(kExactTextFileHeader) + "\r\n" ||
        !ReadExactly(source, identity, sizeof identity)) {
        return Layout::kDamaged;
    }
    *dataFile = {Get(identity, 8), Get(identity + 8, 8)};
    return Layout::kSecond;
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

void DataFileHasher::Add(const void* data, size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    uint64_t hash = hash_;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001B3ull;
    }
    hash_ = hash;
    size_ += size;
}

namespace {

// The hash of each entry's bytes, made once and only for entries whose size is asked about:
// a full history is 20 MB, and every record is compared with every entry.
class EntryHashes {
  public:
    explicit EntryHashes(const ClipHistory& history)
        : history_(history), hashes_(static_cast<size_t>(history.size())) {}
    bool Holds(int pos, uint64_t size, uint64_t hash) const {
        const std::string& text = history_.at(pos).ansi;
        if (text.size() != size) {
            return false;
        }
        std::optional<uint64_t>& made = hashes_[static_cast<size_t>(pos)];
        if (!made) {
            made = ExactTextAnsiHash(text);
        }
        return *made == hash;
    }

  private:
    const ClipHistory& history_;
    mutable std::vector<std::optional<uint64_t>> hashes_;
};

}  // namespace

bool HashingSink::Write(const void* data, size_t size) {
    hasher_.Add(data, size);
    return inner_ == nullptr || inner_->Write(data, size);
}

bool HashingSink::Close() {
    return inner_ == nullptr || inner_->Close();
}

DataFileIdentity DataFileIdentityOf(const ClipHistory& history) {
    HashingSink sink(nullptr);
    WriteHistoryFile(history, sink);
    return sink.identity();
}

size_t HashingSource::Read(void* buffer, size_t size) {
    const size_t got = inner_.Read(buffer, size);
    hasher_.Add(buffer, got);
    return got;
}

bool HashingSource::Skip(uint64_t count) {
    char buffer[1 << 14];
    while (count > 0) {
        const size_t want = count < sizeof buffer ? static_cast<size_t>(count) : sizeof buffer;
        if (Read(buffer, want) != want) {
            return false;
        }
        count -= want;
    }
    return true;
}

std::optional<DataFileIdentity> HashingSource::Finish(uint64_t limit) {
    if (hasher_.identity().size + inner_.Remaining() > limit || !Skip(inner_.Remaining())) {
        return std::nullopt;
    }
    return hasher_.identity();
}

bool WriteExactTextFile(const ClipHistory& history, const DataFileIdentity& dataFile,
                        ByteSink& sink) {
    std::string bytes(kExactTextFileHeader);
    bytes += "\r\n";
    Put(&bytes, dataFile.size, 8);
    Put(&bytes, dataFile.hash, 8);
    const EntryHashes hashes(history);
    bool ok = true;
    for (int pos = 0; ok && pos < history.size(); ++pos) {
        const HistoryEntry& entry = history.at(pos);
        if (entry.exact.empty() || entry.exact.size() > kMaxExactTextUnits) {
            continue;
        }
        const uint64_t hash = ExactTextAnsiHash(entry.ansi);
        bytes.append(reinterpret_cast<const char*>(kStartMark), sizeof kStartMark);
        Put(&bytes, static_cast<uint64_t>(pos), 4);
        Put(&bytes, entry.ansi.size(), 4);
        Put(&bytes, hash, 8);
        uint32_t alike = 0;
        for (int other = 0; other < history.size(); ++other) {
            alike += hashes.Holds(other, entry.ansi.size(), hash) ? 1 : 0;
        }
        Put(&bytes, alike, 4);
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
    uint64_t alike;
    std::u16string exact;
};

// Reads the records up to the end or the first damage.
bool ReadRecords(ByteSource& source, Layout layout, std::vector<Record>* records) {
    const size_t headSize = layout == Layout::kFirst ? kRecordHeadSizeV1 : kRecordHeadSize;
    std::string units;
    while (source.Remaining() > 0) {
        unsigned char head[kRecordHeadSize];
        if (!ReadExactly(source, head, headSize) || head[0] != kStartMark[0] ||
            head[1] != kStartMark[1]) {
            return false;
        }
        const uint64_t count = Get(head + headSize - 4, 4);
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
        // The first layout did not count alike entries: its records count as unique there,
        // and the load still asks the data file.
        const uint64_t alike = layout == Layout::kFirst ? 1 : Get(head + 18, 4);
        Record record{Get(head + 2, 4), Get(head + 6, 4), Get(head + 10, 8), alike,
                      std::u16string()};
        record.exact.resize(static_cast<size_t>(count));
        for (size_t i = 0; i < record.exact.size(); ++i) {
            record.exact[i] = static_cast<char16_t>(
                Get(reinterpret_cast<const unsigned char*>(&units[2 * i]), 2));
        }
        records->push_back(std::move(record));
    }
    return true;
}

// The entry from `first` on that the record belongs to, or -1. In the data file it was
// written for, that is the entry at its position. In any other, only an entry that can be
// told apart: the one entry with the record's bytes, where no other record has them and the
// record's own history held no other entry with them either.
int OwnerOf(const Record& record, int sharing, const ClipHistory& history,
            const EntryHashes& hashes, int first, bool sameDataFile) {
    if (sameDataFile) {
        const uint64_t pos = static_cast<uint64_t>(first) + record.position;
        return pos < static_cast<uint64_t>(history.size()) &&
                       hashes.Holds(static_cast<int>(pos), record.ansiSize, record.ansiHash)
                   ? static_cast<int>(pos)
                   : -1;
    }
    if (record.alike != 1 || sharing != 1) {
        return -1;
    }
    int owner = -1;
    for (int pos = first; pos < history.size(); ++pos) {
        if (hashes.Holds(pos, record.ansiSize, record.ansiHash)) {
            if (owner >= 0) {
                return -1;
            }
            owner = pos;
        }
    }
    return owner;
}

}  // namespace

ExactTextLoadResult LoadExactTexts(ByteSource& source, ClipHistory& history, int first,
                                   const std::optional<DataFileIdentity>& dataFile) {
    ExactTextLoadResult result;
    if (source.Remaining() == 0 || first < 0) {
        return result;
    }
    DataFileIdentity writtenFor;
    const Layout layout = ReadHeader(source, &writtenFor);
    std::vector<Record> records;
    result.damaged = layout == Layout::kDamaged || !ReadRecords(source, layout, &records);
    const bool sameDataFile =
        layout == Layout::kSecond && dataFile.has_value() && *dataFile == writtenFor;
    // How many records share each record's bytes.
    std::map<std::pair<uint64_t, uint64_t>, int> sharing;
    for (const Record& record : records) {
        ++sharing[{record.ansiSize, record.ansiHash}];
    }
    const EntryHashes hashes(history);
    for (Record& record : records) {
        const int pos = OwnerOf(record, sharing[{record.ansiSize, record.ansiHash}], history,
                                hashes, first, sameDataFile);
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
