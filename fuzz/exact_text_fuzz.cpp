// Loads arbitrary bytes as an exact-text file over a fixed history, then checks that every
// exact text that attached came from a record of the input naming its entry's bytes (their
// size and hash, as written there), and that writing the exact texts and loading them again
// gives the same entries. The first byte also picks a HistoryLen for
// the capture rule over the rest, read as UTF-16.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/clip_history.h"
#include "history/exact_text.h"
#include "history/exact_text_file.h"
#include "support/cp932_codec.h"

namespace {

using namespace varnoke;

ClipHistory FixedHistory() {
    ClipHistory history;
    for (const char* text : {"??", "plain", "caf? ??", "\x93\xFA\x96\x7B", "??"}) {
        history.Append(HistoryEntry(text));
    }
    return history;
}

void CheckCapture(const uint8_t* data, size_t size) {
    if (size < 1) {
        return;
    }
    static const samples::Cp932Codec codec;
    const int historyLen = data[0] % 40;
    std::u16string wide;
    for (size_t i = 1; i + 1 < size && wide.size() < 64; i += 2) {
        wide.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    }
    const std::string ansi = codec.ToClipboardAnsi(wide);
    const HistoryEntry entry = MakeCapturedEntry(ansi, wide, historyLen, IsCp932LeadByte, codec);
    if (entry.ansiSize() > static_cast<size_t>(historyLen) ||
        ansi.compare(0, entry.ansiSize(), entry.ansi) != 0 ||
        wide.compare(0, entry.exact.size(), entry.exact) != 0) {
        std::abort();
    }
    const size_t end = entry.exact.size();
    if (end > 0 && end < wide.size() && wide[end - 1] >= 0xD800 && wide[end - 1] <= 0xDBFF &&
        wide[end] >= 0xDC00 && wide[end] <= 0xDFFF) {
        std::abort();
    }
}

// The records of the input as its layout writes them, read here without the loader: up to
// the end or the first byte that breaks the layout.
struct InputRecord {
    uint64_t ansiSize;
    uint64_t ansiHash;
    std::u16string exact;
};

uint64_t Little(const uint8_t* at, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

std::vector<InputRecord> RecordsOf(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    size_t headSize = 0;
    if (input.substr(0, 32) == "Varnoke Exact Text Data File 2\r\n") {
        at = 32 + 16;
        headSize = 26;
    } else if (input.substr(0, 30) == "Varnoke Exact Text Data File\r\n") {
        at = 30;
        headSize = 22;
    }
    std::vector<InputRecord> records;
    while (headSize > 0 && at + headSize <= size && data[at] == 0x13 && data[at + 1] == 0x14) {
        const uint64_t units = Little(data + at + headSize - 4, 4);
        const size_t end = at + headSize + 2 * static_cast<size_t>(units);
        if (units == 0 || units > 65535 || end + 4 > size ||
            input.substr(end, 4) != std::string_view("\x05\x04\r\n", 4)) {
            break;
        }
        InputRecord record{Little(data + at + 6, 4), Little(data + at + 10, 8), {}};
        for (size_t i = at + headSize; i < end; i += 2) {
            record.exact.push_back(static_cast<char16_t>(Little(data + i, 2)));
        }
        records.push_back(std::move(record));
        at = end + 4;
    }
    return records;
}

uint64_t Fnv1a(const std::string& bytes) {
    uint64_t hash = 0xCBF29CE484222325ull;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 0x100000001B3ull;
    }
    return hash;
}

bool SomeRecordNames(const std::vector<InputRecord>& records, const HistoryEntry& entry) {
    for (const InputRecord& record : records) {
        if (record.exact == entry.exact && record.ansiSize == entry.ansi.size() &&
            record.ansiHash == Fnv1a(entry.ansi)) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckCapture(data, size);
    ClipHistory history = FixedHistory();
    MemorySource source(data, size);
    // The data file the loader is told of comes from the input too, so that both ways of
    // attaching are reached: by position (the data file the input names) and by unambiguous
    // bytes (another one, or none known). The header's own bytes never vary, so the choice
    // is made by the first byte of the named size.
    std::optional<DataFileIdentity> dataFile;
    if (size >= 48 && data[32] % 3 != 1) {
        dataFile = DataFileIdentity{Little(data + 32, 8) + (data[32] % 3 == 2 ? 1 : 0),
                                    Little(data + 40, 8)};
    }
    ExactTextLoadResult result = LoadExactTexts(source, history, 1, dataFile);
    const std::vector<InputRecord> records = RecordsOf(data, size);
    int withExact = 0;
    for (int pos = 0; pos < history.size(); ++pos) {
        const HistoryEntry& entry = history.at(pos);
        if (entry.exact.empty()) {
            continue;
        }
        ++withExact;
        if (pos < 1 || !SomeRecordNames(records, entry)) {
            std::abort();
        }
    }
    if (withExact != result.attached) {
        std::abort();
    }

    std::string encoded;
    StringSink sink(&encoded);
    WriteExactTextFile(history, DataFileIdentityOf(history), sink);
    ClipHistory reloaded = FixedHistory();
    MemorySource again(encoded);
    ExactTextLoadResult second = LoadExactTexts(again, reloaded, 0, DataFileIdentityOf(reloaded));
    if (second.damaged || second.attached != withExact || reloaded.entries() != history.entries()) {
        std::abort();
    }
    return 0;
}
