// Settings: a few text values in sections of a per-user store (INI file on
// Linux), and the lookups the program makes through them.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // True and the value when section/name exists.
    virtual bool Read(const std::string& section, const std::string& name, std::string* value) = 0;
    // Stores the value; failures are silent.
    virtual void Write(const std::string& section, const std::string& name,
                       const std::string& value) = 0;
};

// The value, or fallback (empty when null) when there is no store, section
// or value. Section and value names are string table entries.
std::string GetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                             const char* fallback);
// Writes the value when there is a store.
void SetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                      const std::string& value);
