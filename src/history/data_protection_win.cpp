#include "history/data_protection_win.h"

#include <windows.h>

#include <bcrypt.h>

#include "framework/system_libraries_win.h"

namespace varnoke {

namespace {

constexpr ULONG kKeySize = 32;

DATA_BLOB BlobOf(std::string_view bytes) {
    DATA_BLOB blob;
    blob.cbData = static_cast<DWORD>(bytes.size());
    blob.pbData = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    return blob;
}

UCHAR* Bytes(std::string_view bytes) {
    return reinterpret_cast<UCHAR*>(const_cast<char*>(bytes.data()));
}

// The system's buffer is freed here; a plain one is cleared first, so a key or the texts do
// not stay behind in freed memory.
void TakeBlob(DATA_BLOB* blob, std::string* out, bool clear) {
    out->assign(reinterpret_cast<const char*>(blob->pbData), blob->cbData);
    if (clear) {
        SecureZeroMemory(blob->pbData, blob->cbData);
    }
    LocalFree(blob->pbData);
}

// No prompt may appear: a save runs at exit and at log-off, when nobody can answer one.
bool ProtectForUser(std::string_view plain, std::string* data) {
    DATA_BLOB in = BlobOf(plain);
    DATA_BLOB out{};
    if (!ProtectData(&in, L"Varnoke", CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        return false;
    }
    TakeBlob(&out, data, false);
    return true;
}

bool UnprotectForUser(std::string_view data, std::string* plain) {
    DATA_BLOB in = BlobOf(data);
    DATA_BLOB out{};
    if (!UnprotectData(&in, CRYPTPROTECT_UI_FORBIDDEN, &out)) {
        return false;
    }
    TakeBlob(&out, plain, true);
    return true;
}

// An AES-256-GCM key of the system's cryptography library; invalid when the library cannot
// make one (a system before Vista, or one without GCM).
class GcmKey {
  public:
    explicit GcmKey(std::string_view key) {
        const CngFunctions& cng = Cng();
        if (!cng.complete() ||
            cng.openAlgorithm(&algorithm_, BCRYPT_AES_ALGORITHM, nullptr, 0) != 0) {
            algorithm_ = nullptr;
            return;
        }
        if (cng.setProperty(algorithm_, BCRYPT_CHAINING_MODE,
                            reinterpret_cast<UCHAR*>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_GCM)),
                            sizeof(BCRYPT_CHAIN_MODE_GCM), 0) != 0 ||
            cng.generateSymmetricKey(algorithm_, &key_, nullptr, 0, Bytes(key),
                                     static_cast<ULONG>(key.size()), 0) != 0) {
            key_ = nullptr;
        }
    }
    ~GcmKey() {
        if (key_ != nullptr) {
            Cng().destroyKey(key_);
        }
        if (algorithm_ != nullptr) {
            Cng().closeAlgorithm(algorithm_, 0);
        }
    }
    GcmKey(const GcmKey&) = delete;
    GcmKey& operator=(const GcmKey&) = delete;
    bool valid() const { return key_ != nullptr; }

    // Seals `size` bytes at `bytes` where they lie and writes the tag; or opens them,
    // checking the tag.
    bool Run(bool seal, std::string_view nonce, char* bytes, size_t size, char* tag) {
        BCRYPT_AUTHENTICATED_CIPHER_MODE_INFO info;
        BCRYPT_INIT_AUTH_MODE_INFO(info);
        info.pbNonce = Bytes(nonce);
        info.cbNonce = static_cast<ULONG>(nonce.size());
        info.pbTag = reinterpret_cast<UCHAR*>(tag);
        info.cbTag = kSealTagSize;
        ULONG done = 0;
        auto run = seal ? Cng().encrypt : Cng().decrypt;
        UCHAR* data = reinterpret_cast<UCHAR*>(bytes);
        return run(key_, data, static_cast<ULONG>(size), &info, nullptr, 0, data,
                   static_cast<ULONG>(size), &done, 0) == 0 &&
               done == size;
    }

  private:
    CngFunctions::Handle algorithm_ = nullptr;
    CngFunctions::Handle key_ = nullptr;
};

bool Random(char* out, size_t size) {
    const CngFunctions& cng = Cng();
    return cng.complete() &&
           cng.genRandom(nullptr, reinterpret_cast<UCHAR*>(out), static_cast<ULONG>(size),
                         BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

void Clear(std::string* bytes) {
    if (!bytes->empty()) {
        SecureZeroMemory(&(*bytes)[0], bytes->size());
    }
    bytes->clear();
}

}  // namespace

Win32DataProtection::~Win32DataProtection() {
    Clear(&key_);
}

// The 'K' form; the whole bytes through the data protection ('D') where AES-GCM is missing.
bool Win32DataProtection::Protect(std::string* bytes) {
    if (key_.empty() || wrappedKey_.empty()) {
        std::string key(kKeySize, '\0');
        if (Random(&key[0], key.size()) && GcmKey(key).valid() &&
            ProtectForUser(key, &wrappedKey_)) {
            key_ = std::move(key);
        } else {
            Clear(&key);
        }
    }
    std::string nonce(kSealNonceSize, '\0'), tag(kSealTagSize, '\0');
    if (!key_.empty() && Random(&nonce[0], nonce.size())) {
        GcmKey gcm(key_);
        const size_t size = bytes->size();
        if (gcm.valid() && gcm.Run(true, nonce, &(*bytes)[0], size, &tag[0])) {
            *bytes += KeySealedTrailer(tag, nonce, wrappedKey_);
            return true;
        }
        // A half-sealed buffer is no plain one any more: the save fails rather than write it.
        return false;
    }
    std::string whole;
    if (!ProtectForUser(*bytes, &whole)) {
        return false;
    }
    Clear(bytes);
    *bytes = std::move(whole);
    *bytes += kWholeProtectedMethod;
    return true;
}

bool Win32DataProtection::Unprotect(std::string* bytes) {
    SealedData parts;
    if (!ParseSealedData(*bytes, &parts)) {
        bytes->clear();
        return false;
    }
    if (parts.method == kWholeProtectedMethod) {
        std::string plain;
        const bool ok =
            UnprotectForUser(std::string_view(*bytes).substr(0, parts.sealedSize), &plain);
        *bytes = std::move(plain);
        return ok;
    }
    // The exact-text file of a save has the data file's key: it is unprotected once.
    if (wrappedKey_ != parts.wrappedKey) {
        Clear(&key_);
        wrappedKey_ = std::string(parts.wrappedKey);
        if (!UnprotectForUser(parts.wrappedKey, &key_) || key_.size() != kKeySize) {
            Clear(&key_);
            wrappedKey_.clear();
            bytes->clear();
            return false;
        }
    }
    const std::string nonce(parts.nonce);
    std::string tag(parts.tag);
    GcmKey gcm(key_);
    bytes->resize(parts.sealedSize);
    if (!gcm.valid() || !gcm.Run(false, nonce, &(*bytes)[0], bytes->size(), &tag[0])) {
        Clear(bytes);
        return false;
    }
    return true;
}

}  // namespace varnoke
