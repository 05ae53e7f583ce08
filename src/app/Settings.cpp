#include "app/Settings.h"

#include "app/Strings.h"

std::string GetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                             const char* fallback) {
    std::string value = fallback != nullptr ? fallback : "";
    std::string stored;
    if (store != nullptr &&
        store->Read(std::string(ResString(sectionId)), std::string(ResString(nameId)), &stored)) {
        value = stored;
    }
    return value;
}

void SetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                      const std::string& value) {
    if (store != nullptr) {
        store->Write(std::string(ResString(sectionId)), std::string(ResString(nameId)), value);
    }
}
