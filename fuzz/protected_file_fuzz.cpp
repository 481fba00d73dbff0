// Opens arbitrary bytes as a history file that may be protected: as a whole file, and,
// after the first byte, as the plain content inside a well-formed envelope. A plain file
// must read back byte for byte, a protected one as what was protected; whatever comes out
// then loads as history records, and an envelope parsed must be the one it was made from.
// The same bytes as the system's protected data: its parts must lie within it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/mbcs.h"
#include "history/clip_history.h"
#include "history/history_file.h"
#include "history/protected_file.h"
#include "support/fake_protection.h"

namespace {

using namespace varnoke;
using samples::Open;

std::string ReadAll(ByteSource& source) {
    std::string bytes;
    char buffer[97];  // an odd size, so reads straddle the bytes read to tell the kinds apart
    size_t got;
    while ((got = source.Read(buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, got);
    }
    return bytes;
}

void LoadRecords(const std::string& plain) {
    MemorySource source(plain);
    ClipHistory history;
    LoadHistoryRecords(source, history, 64, IsCp932LeadByte);
    if (history.size() > kMaxHistoryEntries) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    samples::FakeProtection user('A');

    PlainFile opened = Open(file, &user);
    std::string_view envelope;
    const bool parsed = ParseProtectedFile(file, &envelope);
    if (parsed && MakeProtectedFile(envelope) != file) {
        std::abort();
    }
    if (opened.kind == PlainFile::Kind::kPlain) {
        if (parsed || ReadAll(*opened.source) != file) {
            std::abort();
        }
    } else if (opened.kind == PlainFile::Kind::kProtected) {
        std::string plain = ReadAll(*opened.source);
        std::string check(envelope);
        if (!parsed || !user.Unprotect(&check) || check != plain) {
            std::abort();
        }
        LoadRecords(plain);
    } else if (opened.source) {
        std::abort();
    }

    // The rest as plain content, protected by this user and by another.
    if (size > 0) {
        const std::string plain = file.substr(1);
        std::string blob = plain;
        samples::FakeProtection other('B');
        DataProtection& by = data[0] % 2 == 0 ? static_cast<DataProtection&>(user) : other;
        by.Protect(&blob);
        PlainFile inner = Open(MakeProtectedFile(blob), &user);
        const bool mine = data[0] % 2 == 0;
        if (mine != (inner.kind == PlainFile::Kind::kProtected)) {
            std::abort();
        }
        if (mine) {
            if (ReadAll(*inner.source) != plain) {
                std::abort();
            }
            LoadRecords(plain);
        }
    }
    // The parts of the system's forms always lie within the data, before its last byte.
    SealedData parts;
    if (ParseSealedData(file, &parts)) {
        const size_t trailer = parts.tag.size() + parts.nonce.size() + parts.wrappedKey.size();
        if (parts.sealedSize + trailer + (parts.method == kKeySealedMethod ? 5 : 1) != size) {
            std::abort();
        }
        if (parts.method == kKeySealedMethod &&
            file.substr(0, parts.sealedSize) +
                    KeySealedTrailer(parts.tag, parts.nonce, parts.wrappedKey) !=
                file) {
            std::abort();
        }
    }
    return 0;
}
