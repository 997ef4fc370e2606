#include "LabelText.h"

#include <QLabel>

QString WithLineBreaks(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
}

void SetLabelText(QLabel* label, const QString& text) {
    label->setTextFormat(Qt::PlainText);
    label->setText(WithLineBreaks(text));
}
