#include "OneLineGuard.h"

#include <QLineEdit>

#include "Encoding.h"

bool IsLineBreakOrControl(QChar c) {
    const QChar::Category category = c.category();
    return c != '\t' && (category == QChar::Other_Control || category == QChar::Separator_Line ||
                         category == QChar::Separator_Paragraph);
}

qsizetype UnwritableLineChar(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsLineBreakOrControl(text[i]) || FindNonAnsiChar(CharAt(text, i)) >= 0)
            return i;
    }
    return -1;
}

QString OneLineText(const QString& text) {
    QString line = text;
    int caret = 0;
    RemoveLineBreaks(line, caret);
    return line;
}

void RemoveLineBreaks(QString& text, int& caret) {
    for (int i = int(text.size()) - 1; i >= 0; --i) {
        if (IsLineBreakOrControl(text[i])) {
            text.remove(i, 1);
            if (i < caret)
                --caret;
        }
    }
}

TOneLineGuard::TOneLineGuard(QLineEdit* edit) : QValidator(edit), edit_(edit) {
    edit->setValidator(this);
}

QValidator::State TOneLineGuard::validate(QString& input, int& pos) const {
    RemoveLineBreaks(input, pos);
    return Acceptable;
}

void AttachOneLineGuard(QLineEdit* edit) {
    if (edit && !dynamic_cast<const TOneLineGuard*>(edit->validator()))
        new TOneLineGuard(edit);
}
