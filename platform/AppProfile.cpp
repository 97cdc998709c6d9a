#include "platform/AppProfile.h"

#include <memory>
#include <mutex>

#include <QSettings>

namespace {

std::mutex folderMutex;
QString chosenFolder;

std::unique_ptr<QSettings> OpenSettings()
{
    QString ini = AppProfile::IniFile();
    if (ini.isEmpty())
        return std::make_unique<QSettings>(AppProfile::organization, AppProfile::application);
    return std::make_unique<QSettings>(ini, QSettings::IniFormat);
}

QString KeyPath(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

bool Store(const std::string& section, const std::string& key, const QVariant& value)
{
    auto settings = OpenSettings();
    settings->setValue(KeyPath(section, key), value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace

void AppProfile::SetFolder(const QString& folder)
{
    std::lock_guard lock(folderMutex);
    chosenFolder = folder;
}

QString AppProfile::IniFile()
{
    QString folder;
    {
        std::lock_guard lock(folderMutex);
        folder = chosenFolder;
    }
    if (folder.isEmpty())
        folder = qEnvironmentVariable("QV_SETTINGS_DIR");
    if (folder.isEmpty())
        return {};
    return folder + "/" + application + ".ini";
}

std::string AppProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue)
{
    QVariant value = OpenSettings()->value(KeyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    return value.toString().toStdString();
}

int AppProfile::GetProfileInt(const std::string& section, const std::string& key, int defaultValue)
{
    QVariant value = OpenSettings()->value(KeyPath(section, key));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

bool AppProfile::WriteProfileString(const std::string& section, const std::string& key, const std::string& value)
{
    return Store(section, key, QString::fromStdString(value));
}

bool AppProfile::WriteProfileInt(const std::string& section, const std::string& key, int value)
{
    return Store(section, key, value);
}
