#pragma once
// The settings record's view of the framework's profile store.

#include "core/settings.h"
#include "framework/profile_win.h"

namespace varnoke {

class RegistrySettingsStore : public SettingsStore {
  public:
    explicit RegistrySettingsStore(const ProfileStore& profile) : profile_(profile) {}

    int ReadInt(const char* name, int defaultValue) override {
        return profile_.ReadInt(name, defaultValue);
    }
    std::string ReadString(const char* name, const std::string& defaultValue) override {
        return profile_.ReadString(name, defaultValue);
    }
    // Failures to write are not reported: nothing could be done about them at exit.
    void WriteInt(const char* name, int value) override { profile_.WriteInt(name, value); }
    void WriteString(const char* name, const std::string& value) override {
        profile_.WriteString(name, value);
    }

  private:
    const ProfileStore& profile_;
};

}  // namespace varnoke
