#include "Settings.h"

#include "IniFile.h"
#include "ProgramFolder.h"

QString SettingsFilePath() {
    return ProgramFolder() + QStringLiteral("Data/settings.mvk");
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return TMemIniFile(SettingsFilePath()).ReadString(section, key, defaultValue);
}

bool ReadSettingBool(const QString& section, const QString& key, bool defaultValue) {
    return TMemIniFile(SettingsFilePath()).ReadBool(section, key, defaultValue);
}

void WriteSetting(const QString& section, const QString& key, const QString& value) {
    TMemIniFile ini(SettingsFilePath());
    ini.WriteString(section, key, value);
    ini.UpdateFile();
}
