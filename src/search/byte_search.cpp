#include "search/byte_search.h"

#include <cstring>

namespace varnoke {

namespace {

constexpr size_t kNotFound = std::string_view::npos;

// Where the bigram ending at `p` falls in the shift table.
inline unsigned BigramSlot(const unsigned char* p) {
    return (p[-1] * 31u + p[0]) & 0xFFu;
}

// The first occurrence of `needle` in `haystack`, byte for byte. Horspool's search over the
// last two bytes of the window: in kana and kanji text a single byte repeats too often
// (every other byte is a lead byte) to let the window jump far.
size_t FindBytes(const unsigned char* haystack, size_t size, const unsigned char* needle,
                 size_t length) {
    if (length == 0) {
        return 0;
    }
    if (length > size) {
        return kNotFound;
    }
    if (length == 1) {
        const void* at = std::memchr(haystack, needle[0], size);
        return at ? static_cast<size_t>(static_cast<const unsigned char*>(at) - haystack)
                  : kNotFound;
    }
    if (length == 2) {
        const unsigned wanted = needle[0] << 8 | needle[1];
        unsigned window = haystack[0];
        for (size_t i = 1; i < size; ++i) {
            window = (window << 8 | haystack[i]) & 0xFFFFu;
            if (window == wanted) {
                return i - 1;
            }
        }
        return kNotFound;
    }
    if (length > 256) {
        const std::string_view hay(reinterpret_cast<const char*>(haystack), size);
        return hay.find(std::string_view(reinterpret_cast<const char*>(needle), length));
    }
    const size_t last = length - 1;
    unsigned char shift[256] = {};
    for (size_t i = 1; i < last; ++i) {
        shift[BigramSlot(needle + i)] = static_cast<unsigned char>(i);
    }
    const unsigned lastSlot = BigramSlot(needle + last);
    const size_t afterMismatch = last - shift[lastSlot];
    shift[lastSlot] = static_cast<unsigned char>(last);
    // `end` is the last byte of the window. The skip over bigrams the needle lacks moves by
    // a constant, so the processor runs ahead of the table loads.
    for (size_t end = last; end < size;) {
        size_t at;
        while ((at = shift[BigramSlot(haystack + end)]) == 0) {
            end += last;
            if (end >= size) {
                return kNotFound;
            }
        }
        if (at != last) {
            end += last - at;
            continue;
        }
        if (std::memcmp(haystack + end - last, needle, length) == 0) {
            return end - last;
        }
        end += afterMismatch;
    }
    return kNotFound;
}

}  // namespace

size_t FindFoldedAnsi(std::string_view haystack, std::string_view needle, LeadByteTest isLeadByte) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(haystack.data());
    const unsigned char* wanted = reinterpret_cast<const unsigned char*>(needle.data());
    // A candidate is a boundary when an even number of lead-range bytes stands between it and
    // the last byte that cannot be a lead byte, or the last place known to be a boundary:
    // those bytes pair up as lead and trail. Knowing the place after a rejected candidate
    // keeps a long run of lead-range bytes from being walked again for every candidate.
    size_t known = 0;
    for (size_t from = 0; from <= haystack.size();) {
        size_t at = FindBytes(bytes + from, haystack.size() - from, wanted, needle.size());
        if (at == kNotFound) {
            return kNotFound;
        }
        at += from;
        size_t leadRun = 0;
        for (size_t q = at; q > known && isLeadByte(bytes[q - 1]); --q) {
            ++leadRun;
        }
        if (leadRun % 2 == 0) {
            return at;
        }
        known = at + 1;
        from = at + 1;
    }
    return kNotFound;
}

size_t FindFoldedWide(std::u16string_view haystack, std::u16string_view needle) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(haystack.data());
    const unsigned char* wanted = reinterpret_cast<const unsigned char*>(needle.data());
    const size_t size = haystack.size() * 2;
    const bool startsWithLowHalf = !needle.empty() && needle[0] >= 0xDC00 && needle[0] <= 0xDFFF;
    for (size_t from = 0; from <= size;) {
        size_t at = FindBytes(bytes + from, size - from, wanted, needle.size() * 2);
        if (at == kNotFound) {
            return kNotFound;
        }
        at += from;
        const size_t unit = at / 2;
        // A lone low half in the typed text must not match the second half of a pair.
        const bool splitsPair = startsWithLowHalf && unit > 0 && haystack[unit - 1] >= 0xD800 &&
                                haystack[unit - 1] <= 0xDBFF;
        if (at % 2 == 0 && !splitsPair) {
            return unit;
        }
        from = at + 1;
    }
    return kNotFound;
}

}  // namespace varnoke
