#pragma once
// A history data file or exact-text file protected for the Windows user who wrote it. The
// plain file, exactly as it would be written unprotected, is handed to the system's data
// protection, and what comes back is kept under a header line of its own, so that no
// reader, an older version included, takes it for a plain file.
//
// Layout: the header line "Varnoke Protected Data File" with CR LF, the size of the
// protected data (uint32 LE), then the protected data itself, which ends the file.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "history/history_file.h"

namespace varnoke {

inline constexpr std::string_view kProtectedFileHeader = "Varnoke Protected Data File";
// The header line with its CR LF, and the size field after it.
constexpr size_t kProtectedHeaderLineSize = kProtectedFileHeader.size() + 2;
constexpr size_t kProtectedPreambleSize = kProtectedHeaderLineSize + 4;
// Neither file of a history comes near this: 300 exact texts of 65535 UTF-16 units make
// about 40 MB, and the protection adds a few hundred bytes.
constexpr uint64_t kMaxProtectedDataSize = 64ull << 20;

// The system's data protection, scoped to the current user. Both work in place: a full
// history is some 20 MB, and every fresh buffer of that size costs as much as the work.
class DataProtection {
  public:
    virtual ~DataProtection() = default;
    // `bytes` holds the plain bytes and becomes the protected data. False when the system
    // refuses.
    virtual bool Protect(std::string* bytes) = 0;
    // `bytes` holds protected data and becomes the plain bytes. False when they cannot be
    // unprotected (protected for another user or on another machine, or changed); `bytes`
    // is then cleared.
    virtual bool Unprotect(std::string* bytes) = 0;
};

// The protected data as the system's data protection is used for it, in one of two forms told
// by its last byte, with what it needs to be opened after the sealed bytes, so that these
// can be sealed and opened where they lie:
//   'K' the plain bytes sealed by AES-256-GCM with a random 256-bit key, the 16-byte tag, the
//       12-byte nonce, the key as CryptProtectData protected it for the user, the size of that
//       wrapped key (uint32 LE). The data protection works at a few megabytes a second on some
//       systems, the processor's AES at a gigabyte, so only the key goes through the slow one;
//       who cannot unprotect the key cannot open the seal.
//   'D' the plain bytes as CryptProtectData protected them, on a system without AES-GCM.
inline constexpr char kKeySealedMethod = 'K';
inline constexpr char kWholeProtectedMethod = 'D';
constexpr size_t kSealNonceSize = 12;
constexpr size_t kSealTagSize = 16;

struct SealedData {
    char method = 0;
    size_t sealedSize = 0;        // the sealed bytes ('K') or the protected blob ('D'), at 0
    std::string_view tag;         // 'K'
    std::string_view nonce;       // 'K'
    std::string_view wrappedKey;  // 'K'
};
// The parts of protected data; false when its form is unknown or its parts do not fit.
bool ParseSealedData(std::string_view data, SealedData* parts);
// What follows the sealed bytes of the 'K' form.
std::string KeySealedTrailer(std::string_view tag, std::string_view nonce,
                             std::string_view wrappedKey);

// What comes before protected data of `dataSize` bytes.
std::string ProtectedFilePreamble(uint32_t dataSize);
// The whole protected file around `data`.
std::string MakeProtectedFile(std::string_view data);

// The protected data of a whole protected file; false when the header line or the size
// does not fit what follows.
bool ParseProtectedFile(std::string_view file, std::string_view* data);

// A file opened for a load, as its plain content.
struct PlainFile {
    enum class Kind {
        kPlain,       // not protected: `source` reads the file as it is
        kProtected,   // `source` reads what was unprotected
        kUnreadable,  // protected, but damaged or not to be unprotected here; no `source`
    };
    Kind kind = Kind::kUnreadable;
    std::unique_ptr<ByteSource> source;
};

// Tells a protected file from a plain one by its first line and gives its plain content.
// Without `protection` no protected file can be read; without `file` nothing can.
PlainFile OpenPlainFile(std::unique_ptr<ByteSource> file, DataProtection* protection);

}  // namespace varnoke
