// The four registry operations behind the preferences, all under HKEY_CURRENT_USER.
#pragma once
#include <cstdint>
#include <string>

#include "core/settings.h"
#include "win/handle.h"

namespace app {

int32_t readDwordSetting(const char* key, const char* name, int32_t fallback);
std::string readStringSetting(const char* key, const char* name, const std::string& fallback);
// Registry failures are never the user's concern: a failed write leaves the registry as it was.
void writeDwordSetting(const char* key, const char* name, int32_t value);
void writeStringSetting(const char* key, const char* name, const std::string& text);

// Reads the program's settings from the registry key, opened once when the source is made.
class RegistrySettingsSource : public core::SettingsSource {
  public:
    explicit RegistrySettingsSource(const char* key);
    int32_t readDword(const char* name, int32_t fallback) override;
    std::string readString(const char* name, const std::string& fallback) override;

  private:
    win::RegKey key_;
};

} // namespace app
