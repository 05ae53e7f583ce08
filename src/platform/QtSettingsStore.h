// QtSettingsStore: the editor's settings in an INI file of the user's config
// folder (QSettings, $XDG_CONFIG_HOME or ~/.config), named after the maker
// (organisation) and the executable's base name (application); each section
// is an INI group. Failures to read or write are silent, as the editor
// expects.
#pragma once

#include <QSettings>
#include <string>

#include "app/Settings.h"

// The maker whose name the settings are filed under.
extern const char kMakerName[];

class QtSettingsStore : public SettingsStore {
  public:
    // An empty application name falls back to "fotakle".
    explicit QtSettingsStore(const std::string& application);

    bool Read(const std::string& section, const std::string& name, std::string* value) override;
    void Write(const std::string& section, const std::string& name,
               const std::string& value) override;

  private:
    QSettings settings_;
};
