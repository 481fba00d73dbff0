// Loads arbitrary bytes as a history data file, then checks that saving what was loaded
// and loading it again gives the same entries.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "history/clip_history.h"
#include "history/history_file.h"
#include "history/mbcs.h"

namespace {

constexpr int kHistoryLen = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace varnoke;
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
        if (entry.empty() || entry.size() > static_cast<size_t>(kHistoryLen)) {
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
