#include "platform/QtSettingsStore.h"

const char kMakerName[] = "Norvale Systems Inc.";

namespace {

QString ApplicationName(const std::string& application) {
    return application.empty() ? QStringLiteral("fotakle") : QString::fromStdString(application);
}

}  // namespace

QtSettingsStore::QtSettingsStore(const std::string& application)
    : settings_(QSettings::IniFormat, QSettings::UserScope, QString::fromUtf8(kMakerName),
                ApplicationName(application)) {}

bool QtSettingsStore::Read(const std::string& section, const std::string& name,
                           std::string* value) {
    settings_.beginGroup(QString::fromStdString(section));
    const QString key = QString::fromStdString(name);
    const bool found = settings_.contains(key);
    if (found && value != nullptr) {
        *value = settings_.value(key).toString().toStdString();
    }
    settings_.endGroup();
    return found;
}

void QtSettingsStore::Write(const std::string& section, const std::string& name,
                            const std::string& value) {
    settings_.beginGroup(QString::fromStdString(section));
    settings_.setValue(QString::fromStdString(name), QString::fromStdString(value));
    settings_.endGroup();
    settings_.sync();
}
