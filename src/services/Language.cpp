#include "Language.h"

QString LanguageTag;

void LoadLanguage(const QString&, const QString&, QWidget*) {}
void SetLanguage(const QString& tag, const QString& fileName, QWidget* form) {
    LanguageTag = tag;
    TranslateForm(fileName, form);
}
void TranslateForm(const QString&, QWidget*) {}
void SaveLanguageTemplate(const QString&, QWidget*) {}
