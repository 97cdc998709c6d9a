#pragma once
// The application's settings: strings and integers by section and key, kept
// with QSettings under organisation "Tarnwick" and application "Quorvant".
// Sections are groups and values are keys. Texts are UTF-8.
//
// Tests never touch the user's settings: when the environment variable
// QV_SETTINGS_DIR names a folder (CTest sets it), the settings live in an INI
// file in that folder; a test may also point them at a folder of its own with
// SetFolder (a QTemporaryDir, for example).
#include <string>

#include <QString>

class AppProfile {
public:
    // The value, or defaultValue when the key is missing.
    static std::string GetProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue = {});
    // The value, or defaultValue when the key is missing or not an integer.
    static int GetProfileInt(const std::string& section, const std::string& key, int defaultValue);
    // Store a value; false when it could not be written.
    static bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value);
    static bool WriteProfileInt(const std::string& section, const std::string& key, int value);

    // Keeps the settings in an INI file in the given folder; an empty folder
    // goes back to QV_SETTINGS_DIR or, without it, the user's settings.
    static void SetFolder(const QString& folder);
    // The INI file in use, or an empty string for the user's settings.
    static QString IniFile();

    static constexpr const char* organization = "Tarnwick";
    static constexpr const char* application = "Quorvant";
};
