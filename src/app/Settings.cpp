#include "app/Settings.h"

#include "app/Strings.h"

std::string GetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                             const char* fallback) {
    std::string value = fallback != nullptr ? fallback : "";
    if (store == nullptr) {
        return value;
    }
    std::string section;
    std::string name;
    LoadResString(sectionId, &section);
    LoadResString(nameId, &name);
    std::string stored;
    if (store->Read(section, name, &stored)) {
        value = stored;
    }
    return value;
}

void SetSettingString(SettingsStore* store, uint32_t sectionId, uint32_t nameId,
                      const std::string& value) {
    if (store == nullptr) {
        return;
    }
    std::string section;
    std::string name;
    LoadResString(sectionId, &section);
    LoadResString(nameId, &name);
    store->Write(section, name, value);
}
