#pragma once

#include <QString>

// The settings file: the program folder + "Data/settings.mvk". Each call reads the file anew;
// a write writes it whole at once.
QString SettingsFilePath();

// The value of key in section, or the default when the file, section or key is missing.
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue);
// The value as a whole number, true when not 0; a missing key or any other text gives the default.
bool ReadSettingBool(const QString& section, const QString& key, bool defaultValue);
// Sets the value and writes the file; throws EFileError when the file cannot be written
// (no folder is created), and Exception for what TMemIniFile::WriteString refuses.
void WriteSetting(const QString& section, const QString& key, const QString& value);
