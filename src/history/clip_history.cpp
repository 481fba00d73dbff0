#include "history/clip_history.h"

#include <atomic>
#include <cstring>
#include <utility>

namespace varnoke {

namespace {

uint64_t RotateLeft(uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

uint64_t LoadWord(const char* bytes) {
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

uint64_t Round(uint64_t lane, uint64_t word) {
    return RotateLeft(lane + word * kPrime2, 31) * kPrime1;
}

uint64_t Avalanche(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

// Versions are unique across all histories, so a record of one history's version never
// matches another history.
// Histories are also made off the UI thread (the start-up reads the file beside it).
uint64_t NextVersion() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

}  // namespace

uint64_t HashHistoryText(std::string_view text) {
    // Four independent lanes keep a 64 KB entry to a few microseconds.
    const char* bytes = text.data();
    const size_t size = text.size();
    uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    size_t pos = 0;
    for (; pos + 32 <= size; pos += 32) {
        for (int lane = 0; lane < 4; ++lane) {
            lanes[lane] = Round(lanes[lane], LoadWord(bytes + pos + 8 * lane));
        }
    }
    uint64_t h = RotateLeft(lanes[0], 1) + RotateLeft(lanes[1], 7) + RotateLeft(lanes[2], 12) +
                 RotateLeft(lanes[3], 18);
    h ^= static_cast<uint64_t>(size) * kPrime1;
    for (; pos + 8 <= size; pos += 8) {
        h = Round(h, LoadWord(bytes + pos));
    }
    uint64_t tail = 0;
    std::memcpy(&tail, bytes + pos, size - pos);
    // Never 0, which the history keeps for "not hashed yet".
    const uint64_t hash = Avalanche(Round(h, tail ^ (size - pos)));
    return hash != 0 ? hash : 1;
}

uint64_t HashHistoryEntry(const HistoryEntry& entry) {
    const uint64_t hash = HashHistoryText(entry.ansi);
    if (entry.exact.empty()) {
        return hash;
    }
    std::string_view units(reinterpret_cast<const char*>(entry.exact.data()),
                           entry.exact.size() * sizeof(char16_t));
    const uint64_t mixed = Avalanche(hash ^ RotateLeft(HashHistoryText(units), 17));
    return mixed != 0 ? mixed : 1;
}

ClipHistory::ClipHistory() : version_(NextVersion()) {}

uint64_t ClipHistory::TextHash(int pos) const {
    Hash& hash = hashes_.at(static_cast<size_t>(pos));
    if (hash == 0) {
        hash = HashHistoryEntry(entries_[static_cast<size_t>(pos)]);
    }
    return hash;
}

void ClipHistory::Changed() {
    version_ = NextVersion();
}

void ClipHistory::InsertFront(HistoryEntry entry) {
    entries_.insert(entries_.begin(), std::move(entry));
    hashes_.insert(hashes_.begin(), 0);
    Changed();
}

void ClipHistory::Append(HistoryEntry entry) {
    entries_.push_back(std::move(entry));
    hashes_.push_back(0);
    Changed();
}

void ClipHistory::Replace(int pos, HistoryEntry entry) {
    entries_.at(static_cast<size_t>(pos)) = std::move(entry);
    hashes_[static_cast<size_t>(pos)] = 0;
    Changed();
}

void ClipHistory::SetExact(int pos, std::u16string exact) {
    entries_.at(static_cast<size_t>(pos)).exact = std::move(exact);
    hashes_[static_cast<size_t>(pos)] = 0;
    Changed();
}

HistoryEntry ClipHistory::Take(int pos) {
    HistoryEntry text = std::move(entries_.at(static_cast<size_t>(pos)));
    entries_.erase(entries_.begin() + pos);
    hashes_.erase(hashes_.begin() + pos);
    Changed();
    return text;
}

void ClipHistory::RemoveAt(int pos) {
    if (pos >= 0 && pos < size()) {
        Take(pos);
    }
}

void ClipHistory::RemoveFrom(int pos) {
    if (pos < size()) {
        const size_t keep = pos > 0 ? static_cast<size_t>(pos) : 0;
        entries_.resize(keep);
        hashes_.resize(keep);
        Changed();
    }
}

void ClipHistory::Clear() {
    entries_.clear();
    hashes_.clear();
    Changed();
}

}  // namespace varnoke
