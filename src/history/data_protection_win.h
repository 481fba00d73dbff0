#pragma once
// The system's data protection (CryptProtectData), scoped to the current Windows user.

#include <string>

#include "history/protected_file.h"

namespace varnoke {

// One object serves one save or one load: the data file and the exact-text file of a save
// share one key, sealed with nonces of their own, so the slow data protection runs once.
class Win32DataProtection : public DataProtection {
  public:
    Win32DataProtection() = default;
    ~Win32DataProtection() override;
    Win32DataProtection(const Win32DataProtection&) = delete;
    Win32DataProtection& operator=(const Win32DataProtection&) = delete;

    bool Protect(std::string* bytes) override;
    bool Unprotect(std::string* bytes) override;

  private:
    std::string key_;         // the plain key of this save, or of the last load
    std::string wrappedKey_;  // that key as the data protection made it
};

}  // namespace varnoke
