// Loads arbitrary bytes as a history data file, then checks that saving what was loaded
// and loading it again gives the same entries. The same bytes also go through the text
// cuts, whose walk must never step past the end of a text that ends in a lead byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "core/text.h"
#include "history/clip_history.h"
#include "history/history_file.h"

namespace {

constexpr int kHistoryLen = 64;

void CheckTextCuts(const uint8_t* data, size_t size) {
    using namespace varnoke;
    if (size == 0) {
        return;
    }
    int width = data[0] % 80 - 2;
    size_t limit = width < 0 ? 0 : static_cast<size_t>(width);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string cut = CutText(text, width, false, IsCp932LeadByte);
    bool whole = text.size() <= limit;
    if (text.substr(0, cut.size()) != cut ||
        (whole ? cut.size() != text.size() : cut.size() > limit)) {
        std::abort();
    }
    if (MakeMenuLabel(text, width, IsCp932LeadByte).size() > limit + 3) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace varnoke;
    CheckTextCuts(data, size);
    MemorySource source(data, size);
    ClipHistory history;
    HistoryLoadResult result = LoadHistoryRecords(source, history, kHistoryLen, IsCp932LeadByte);
    if (!result.ok && history.size() != 0) {
        std::abort();
    }
    if (history.size() > kMaxHistoryEntries || result.added != history.size()) {
        std::abort();
    }
    for (const HistoryEntry& entry : history.entries()) {
        if (entry.ansiEmpty() || entry.ansiSize() > static_cast<size_t>(kHistoryLen)) {
            std::abort();
        }
    }

    std::string encoded;
    AppendHistoryFile(history, &encoded);
    if (encoded.size() != HistoryFileSize(history)) {
        std::abort();
    }
    MemorySource again(encoded);
    ClipHistory reloaded;
    HistoryLoadResult second = LoadHistoryRecords(again, reloaded, kHistoryLen, IsCp932LeadByte);
    if (!second.ok || reloaded.entries() != history.entries() || again.Remaining() != 0) {
        std::abort();
    }
    return 0;
}
