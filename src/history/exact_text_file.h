#pragma once
// The exact-text file: the exact texts of the entries that have one, beside the history
// data file and named after it (MakeExactTextFileName). The data file stays exactly what it
// always was, so an older version still reads it; this file only adds to it.
//
// Layout: the header line "Varnoke Exact Text Data File 2" with CR LF, then the data file it
// was written for (its size, uint64 LE, and DataFileHasher's hash of its bytes, uint64 LE),
// then one record per entry that has an exact text:
//   0x13 0x14                     start mark
//   position      uint32 LE       the entry's place among the data file's records, 0 first
//   ansiSize      uint32 LE       the byte count of the entry's text in the data file
//   ansiHash      uint64 LE       FNV-1a (64-bit) of those bytes
//   alike         uint32 LE       entries of that history with the same bytes, this one too
//   units         uint32 LE       1 to 65535
//   units x uint16 LE             the exact text in UTF-16
//   0x05 0x04 0x0D 0x0A           end mark
//
// Why the data file is named: every emoji is "??" in code page 932, so a record's position
// and bytes cannot tell which of several such entries it was written for. When the data file
// is the one named, byte for byte, records attach by position. When it is not (an older
// version rewrote it, the pair was torn by a crash or a failed save between the two files, a
// file was left behind), a record attaches only to the one entry holding its bytes, and only
// when no other record and no other entry of either history holds them: an exact text that
// cannot be told apart is dropped, never given to another entry. A file of the first layout
// (the header line without " 2", no data file named, no `alike`) is read the second way.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "history/clip_history.h"
#include "history/history_file.h"

namespace varnoke {

inline constexpr std::string_view kExactTextFileHeader = "Varnoke Exact Text Data File 2";
inline constexpr std::string_view kExactTextFileHeaderV1 = "Varnoke Exact Text Data File";
// No exact text is longer: each unit takes at least one byte of a HistoryLen-cut text.
constexpr uint32_t kMaxExactTextUnits = 65535;

// `dataFile` with ".exact" added.
std::string MakeExactTextFileName(const std::string& dataFile);

uint64_t ExactTextAnsiHash(std::string_view ansi);

// What tells one data file's bytes from another's.
struct DataFileIdentity {
    uint64_t size = 0;
    uint64_t hash = 0;
    friend bool operator==(const DataFileIdentity& a, const DataFileIdentity& b) {
        return a.size == b.size && a.hash == b.hash;
    }
};

// FNV-1a (64-bit) of the bytes as they pass.
class DataFileHasher {
  public:
    void Add(const void* data, size_t size);
    DataFileIdentity identity() const { return {size_, hash_}; }

  private:
    uint64_t size_ = 0;
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

// A sink that hashes whatever passes through it on the way to `inner` (none: hashes only).
class HashingSink : public ByteSink {
  public:
    explicit HashingSink(ByteSink* inner) : inner_(inner) {}
    bool Write(const void* data, size_t size) override;
    bool Close() override;
    DataFileIdentity identity() const { return hasher_.identity(); }

  private:
    ByteSink* inner_;
    DataFileHasher hasher_;
};

// The identity of the data file WriteHistoryFile makes of `history`, made without writing it.
DataFileIdentity DataFileIdentityOf(const ClipHistory& history);

// A source that hashes whatever passes through it, skipped bytes too.
class HashingSource : public ByteSource {
  public:
    explicit HashingSource(ByteSource& inner) : inner_(inner) {}
    size_t Read(void* buffer, size_t size) override;
    uint64_t Remaining() const override { return inner_.Remaining(); }
    bool Skip(uint64_t count) override;
    // Reads the rest and gives the identity of the whole data; nothing when the data is
    // larger than `limit` bytes (no data file of ours is) or a read fails.
    std::optional<DataFileIdentity> Finish(uint64_t limit);

  private:
    ByteSource& inner_;
    DataFileHasher hasher_;
};

// The largest data file a history can make: 300 records of 65535 bytes.
constexpr uint64_t kMaxDataFileSize = 37 + 300ull * (65535 + 10);

bool HasExactTexts(const ClipHistory& history);
// The whole file for the entries of `history` that have an exact text, written for the data
// file `dataFile` (DataFileIdentityOf(history)); false on a write error.
bool WriteExactTextFile(const ClipHistory& history, const DataFileIdentity& dataFile,
                        ByteSink& sink);

struct ExactTextLoadResult {
    int attached = 0;
    int ignored = 0;  // well-formed records that were not attached
    // The data was there but did not read completely: a wrong header line or a damaged
    // record. The records before the damage are attached all the same.
    bool damaged = false;
};

// Attaches the records of `source` to the entries of `history` from `first` on, which were
// loaded whole (uncut) from the data file whose identity is `dataFile` (nothing when it is
// not known). Empty data is no damage.
ExactTextLoadResult LoadExactTexts(ByteSource& source, ClipHistory& history, int first,
                                   const std::optional<DataFileIdentity>& dataFile);

}  // namespace varnoke
