#pragma once

#include <QEvent>
#include <QString>

class QWidget;

// The tag of the current language ("" when none was stored).
extern QString LanguageTag;

// Applies the language stored in the settings, else the default file, to every window.
void LoadLanguage(const QString& productName, const QString& defaultTag, QWidget* form);
// LanguageTag := Tag, then TranslateForm(FileName, Form).
void SetLanguage(const QString& tag, const QString& fileName, QWidget* form);
// Applies one language file to every window of the application and to the message table, then sends
// each window a LanguageAppliedEvent, so that a window can show again what it fills in itself.
void TranslateForm(const QString& fileName, QWidget* form);
// The event a window receives once a language file's texts are in place.
extern const QEvent::Type LanguageAppliedEvent;

// Writes the current texts of every window and the message table into FileName.
void SaveLanguageTemplate(const QString& fileName, QWidget* form);

// A status-bar key "Name.Panels[i]": the name before the first '.', the index after the last '['
// (0 without '['). False when the index is no number.
bool ParseStatusBarKey(const QString& key, QString* name, int* index);
