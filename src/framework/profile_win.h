#pragma once
// The per-user profile store: values directly under
// HKEY_CURRENT_USER\Software\<company>\<application>.

#include <windows.h>

#include <string>

#include "framework/handles_win.h"

namespace varnoke {

class ProfileStore {
  public:
    ProfileStore() = default;
    ProfileStore(const std::string& company, const std::string& application);

    const std::string& KeyPath() const { return keyPath_; }

    // Missing values and values of another registry type give the default.
    int ReadInt(const char* name, int defaultValue) const;
    std::string ReadString(const char* name, const std::string& defaultValue) const;
    bool WriteInt(const char* name, int value) const;
    bool WriteString(const char* name, const std::string& value) const;

  private:
    // The key is opened once and kept: every value read or written at start and exit
    // would otherwise pay for its own open and close.
    HKEY Key(bool forWriting) const;

    std::string keyPath_;
    mutable RegKey readKey_;
    mutable RegKey writeKey_;
};

}  // namespace varnoke
