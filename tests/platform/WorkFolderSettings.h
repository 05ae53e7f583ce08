// Settings that hold one work folder, for tests that start the editor on a
// folder of their own; everything written is dropped.
#pragma once

#include <string>
#include <utility>

#include "app/Settings.h"

class WorkFolderSettings : public SettingsStore {
  public:
    explicit WorkFolderSettings(std::string folder) : folder_(std::move(folder)) {}

    bool Read(const std::string& /*section*/, const std::string& name,
              std::string* value) override {
        if (name != "WorkFolder") {
            return false;
        }
        *value = folder_;
        return true;
    }
    void Write(const std::string& /*section*/, const std::string& /*name*/,
               const std::string& /*value*/) override {}

  private:
    std::string folder_;
};
