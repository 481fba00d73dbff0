#include "history/history_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/text.h"

namespace varnoke {

namespace {

constexpr unsigned char kStartMark[2] = {0x13, 0x14};
constexpr unsigned char kEndMark[4] = {0x05, 0x04, 0x0D, 0x0A};
constexpr size_t kMaxRecordText = std::numeric_limits<uint32_t>::max();

uint32_t RecordTextSize(const HistoryEntry& entry) {
    return static_cast<uint32_t>(std::min<size_t>(entry.ansiSize(), kMaxRecordText));
}

void EncodeRecordHead(uint32_t size, unsigned char head[6]) {
    head[0] = kStartMark[0];
    head[1] = kStartMark[1];
    for (int i = 0; i < 4; ++i) {
        head[2 + i] = static_cast<unsigned char>(size >> (8 * i));
    }
}

uint32_t DecodeLength(const unsigned char bytes[4]) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool ReadExactly(ByteSource& source, void* buffer, size_t size) {
    return source.Remaining() >= size && source.Read(buffer, size) == size;
}

}  // namespace

bool ByteSource::Skip(uint64_t count) {
    char scratch[4096];
    while (count > 0) {
        size_t chunk = static_cast<size_t>(std::min<uint64_t>(count, sizeof scratch));
        if (Read(scratch, chunk) != chunk) {
            return false;
        }
        count -= chunk;
    }
    return true;
}

size_t MemorySource::Read(void* buffer, size_t size) {
    size_t n = std::min(size, size_ - pos_);
    if (n > 0) {
        std::memcpy(buffer, data_ + pos_, n);
    }
    pos_ += n;
    return n;
}

bool MemorySource::Skip(uint64_t count) {
    if (count > Remaining()) {
        pos_ = size_;
        return false;
    }
    pos_ += static_cast<size_t>(count);
    return true;
}

bool StringSink::Write(const void* data, size_t size) {
    out_->append(static_cast<const char*>(data), size);
    return true;
}

uint64_t HistoryFileSize(const ClipHistory& history) {
    uint64_t size = kHistoryHeaderLineSize;
    for (const HistoryEntry& entry : history.entries()) {
        size += kHistoryRecordOverhead + RecordTextSize(entry);
    }
    return size;
}

void AppendHistoryFile(const ClipHistory& history, std::string* out) {
    out->reserve(out->size() + static_cast<size_t>(HistoryFileSize(history)));
    StringSink sink(out);
    WriteHistoryFile(history, sink);
}

bool WriteHistoryFile(const ClipHistory& history, ByteSink& sink) {
    bool ok =
        sink.Write(kHistoryFileHeader.data(), kHistoryFileHeader.size()) && sink.Write("\r\n", 2);
    for (const HistoryEntry& entry : history.entries()) {
        if (!ok) {
            break;
        }
        unsigned char head[6];
        uint32_t size = RecordTextSize(entry);
        EncodeRecordHead(size, head);
        ok = sink.Write(head, sizeof head) && sink.Write(entry.ansi.data(), size) &&
             sink.Write(kEndMark, sizeof kEndMark);
    }
    return ok;
}

bool ReadHistoryHeader(ByteSource& source) {
    // A longer first line cannot match, so a huge file without LF is not scanned through.
    char line[kHistoryHeaderLineSize];
    size_t length = 0;
    char byte = 0;
    while (length < sizeof line && source.Read(&byte, 1) == 1) {
        if (byte == '\n') {
            if (length > 0 && line[length - 1] == '\r') {
                --length;
            }
            return std::string_view(line, length) == kHistoryFileHeader;
        }
        line[length++] = byte;
    }
    // No LF: the whole content is the line.
    return source.Remaining() == 0 && std::string_view(line, length) == kHistoryFileHeader;
}

bool ReadHistoryRecord(ByteSource& source, int historyLen, LeadByteTest isLeadByte,
                       std::string* text) {
    unsigned char head[6];
    if (!ReadExactly(source, head, sizeof head) || head[0] != kStartMark[0] ||
        head[1] != kStartMark[1]) {
        return false;
    }
    uint32_t size = DecodeLength(head + 2);
    if (source.Remaining() < uint64_t{size} + sizeof kEndMark) {
        return false;
    }
    // Only what survives the cut is read; the rest of the text is skipped.
    size_t limit = historyLen > 0 ? static_cast<size_t>(historyLen) : 0;
    size_t kept = std::min<size_t>(size, limit);
    text->resize(kept);
    if (kept > 0 && source.Read(&(*text)[0], kept) != kept) {
        return false;
    }
    unsigned char tail[4];
    if (!source.Skip(size - kept) || !ReadExactly(source, tail, sizeof tail) ||
        std::memcmp(tail, kEndMark, sizeof tail) != 0) {
        return false;
    }
    if (size > kept) {
        text->resize(CharBoundaryAtOrBefore(*text, kept, isLeadByte));
    }
    return true;
}

HistoryLoadResult LoadHistoryRecords(ByteSource& source, ClipHistory& history, int historyLen,
                                     LeadByteTest isLeadByte) {
    HistoryLoadResult result;
    if (source.Remaining() == 0) {
        return result;
    }
    if (!ReadHistoryHeader(source)) {
        result.damaged = true;
        return result;
    }
    result.ok = true;
    std::string text;
    for (;;) {
        if (history.size() >= kMaxHistoryEntries) {
            result.cutShort = true;
            break;
        }
        if (source.Remaining() == 0) {
            break;
        }
        if (!ReadHistoryRecord(source, historyLen, isLeadByte, &text)) {
            result.damaged = true;
            break;
        }
        if (!text.empty()) {
            history.Append(HistoryEntry(std::move(text)));
            text = std::string();
            ++result.added;
        }
    }
    return result;
}

namespace {

// True when the only conversion in `format` is a single "%d" ("%%" aside).
bool TakesOneInt(const std::string& format) {
    int conversions = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
        } else if (i + 1 < format.size() && format[i + 1] == 'd') {
            ++conversions;
            ++i;
        } else {
            return false;
        }
    }
    return conversions == 1;
}

std::string FormatInt(const std::string& format, int value) {
    if (!TakesOneInt(format)) {
        return format;
    }
    int length = std::snprintf(nullptr, 0, format.c_str(), value);
    if (length < 0) {
        return format;
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), format.c_str(), value);
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

std::string FormatRaisedLimitMessage(const std::string& fmt503, int oldNum,
                                     const std::string& fmt504, int count, bool cutShort,
                                     const std::string& fmt505) {
    std::string message = FormatInt(fmt503, oldNum) + "\n" + FormatInt(fmt504, count);
    if (cutShort) {
        message += "\n" + FormatInt(fmt505, kMaxHistoryEntries);
    }
    return message;
}

}  // namespace varnoke
