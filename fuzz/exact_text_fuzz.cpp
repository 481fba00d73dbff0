// Loads arbitrary bytes as an exact-text file over a fixed history, then checks that what
// attached is bounded and belongs to its entry, and that writing the exact texts and
// loading them again gives the same entries. The first byte also picks a HistoryLen for
// the capture rule over the rest, read as UTF-16.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckCapture(data, size);
    ClipHistory history = FixedHistory();
    MemorySource source(data, size);
    // The data file's identity is taken from the input too, so that both ways of attaching
    // are reached: by position and by unambiguous bytes.
    std::optional<DataFileIdentity> dataFile;
    if (size >= 50 && data[1] % 2 == 0) {
        uint64_t parts[2] = {};
        for (int i = 0; i < 16; ++i) {
            parts[i / 8] |= static_cast<uint64_t>(data[34 + i]) << (8 * (i % 8));
        }
        dataFile = DataFileIdentity{parts[0], parts[1]};
    }
    ExactTextLoadResult result = LoadExactTexts(source, history, 1, dataFile);
    int withExact = 0;
    for (int pos = 0; pos < history.size(); ++pos) {
        const HistoryEntry& entry = history.at(pos);
        if (entry.exact.empty()) {
            continue;
        }
        ++withExact;
        if (pos < 1 || entry.exact.size() > kMaxExactTextUnits ||
            entry.ansi != FixedHistory().at(pos).ansi) {
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
