#pragma once
// The history data file: the header line, then one record per entry, position 0 first.
// Record: 0x13 0x14, length N (uint32 little-endian), N text bytes, 0x05 0x04 0x0D 0x0A.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "core/setting_limits.h"
#include "history/clip_history.h"

namespace varnoke {

inline constexpr std::string_view kHistoryFileHeader = "Varnoke Clipboard History Data File";
// The header line with its CR LF.
constexpr size_t kHistoryHeaderLineSize = 37;
constexpr size_t kHistoryRecordOverhead = 10;
// No load makes the history longer than the largest HistoryNum.
constexpr int kMaxHistoryEntries = kHistoryNumLimit.maximum;

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; returns how many were read.
    virtual size_t Read(void* buffer, size_t size) = 0;
    // Bytes left from the current position to the end.
    virtual uint64_t Remaining() const = 0;
    // Moves forward by `count` bytes; false when that many could not be passed. The
    // default reads them into a small buffer.
    virtual bool Skip(uint64_t count);
};

class MemorySource : public ByteSource {
  public:
    MemorySource(const void* data, size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    explicit MemorySource(std::string_view bytes) : MemorySource(bytes.data(), bytes.size()) {}
    size_t Read(void* buffer, size_t size) override;
    uint64_t Remaining() const override { return size_ - pos_; }
    bool Skip(uint64_t count) override;

  private:
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // False when not all bytes could be written.
    virtual bool Write(const void* data, size_t size) = 0;
    // Flushes and closes; false when data may not have reached the file.
    virtual bool Close() { return true; }
};

class StringSink : public ByteSink {
  public:
    explicit StringSink(std::string* out) : out_(out) {}
    bool Write(const void* data, size_t size) override;

  private:
    std::string* out_;
};

// Exact size of the encoded file.
uint64_t HistoryFileSize(const ClipHistory& history);
// Appends the whole file to `out`, reserving its exact size first.
void AppendHistoryFile(const ClipHistory& history, std::string* out);
// Streams the whole file to `sink` without building it in memory; false on a write error.
bool WriteHistoryFile(const ClipHistory& history, ByteSink& sink);

// Reads the first line (up to the first LF, without it and a CR just before it) and
// checks that it is the header text exactly. Reads at most the header line's size.
bool ReadHistoryHeader(ByteSource& source);
// Reads one record and cuts its text to historyLen bytes without splitting a double-byte
// character. False on a bad mark or a record cut off by the end; nothing is allocated
// beyond historyLen bytes, whatever length the record declares.
bool ReadHistoryRecord(ByteSource& source, int historyLen, LeadByteTest isLeadByte,
                       std::string* text);

struct HistoryLoadResult {
    bool ok = false;        // the header line matched
    bool cutShort = false;  // reading stopped because the history holds 300 entries
    // The data was there but did not load completely: the first line was not the header,
    // or reading stopped at a damaged record rather than at the end. The 300-entry cap and
    // the HistoryLen cut are not damage.
    bool damaged = false;
    // The exact-text file beside the data file was there but could not be read completely.
    bool exactTextsDamaged = false;
    // The data file was protected (protected_file.h).
    bool protectedFile = false;
    // The data file was protected but could not be unprotected here (another user, another
    // machine, or damage): it counts as damaged, and so does its exact-text file.
    bool unprotectFailed = false;
    int added = 0;
};

// Header, then records appended at the end of `history` in file order until the history
// holds 300 entries, a record fails or the data ends. Empty records are skipped. Empty
// data is not damaged: there is nothing in it to lose.
HistoryLoadResult LoadHistoryRecords(ByteSource& source, ClipHistory& history, int historyLen,
                                     LeadByteTest isLeadByte);

// The message shown when a load raised HistoryNum: fmt503 with oldNum, a line break,
// fmt504 with count, and when cut short a line break and fmt505 with 300. Each format
// takes one "%d"; a format with any other conversion is used as plain text.
std::string FormatRaisedLimitMessage(const std::string& fmt503, int oldNum,
                                     const std::string& fmt504, int count, bool cutShort,
                                     const std::string& fmt505);

}  // namespace varnoke
