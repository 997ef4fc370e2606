#include "OneLineGuard.h"

#include <QLineEdit>

namespace {
bool IsLineBreak(QChar c) {
    return c == '\r' || c == '\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}
} // namespace

QString OneLineText(const QString& text) {
    QString line = text;
    int caret = 0;
    RemoveLineBreaks(line, caret);
    return line;
}

void RemoveLineBreaks(QString& text, int& caret) {
    QString line;
    line.reserve(text.size());
    int lineCaret = -1;
    for (int i = 0; i < int(text.size()); ++i) {
        if (lineCaret < 0 && i >= caret)
            lineCaret = int(line.size());
        const QChar c = text[i];
        if (!IsLineBreakOrControl(c))
            line += c;
        else if (IsLineBreak(c)) {
            line += ' ';
            if (c == '\r' && i + 1 < int(text.size()) && text[i + 1] == '\n')
                ++i; // CR LF is one break
        }
    }
    caret = lineCaret < 0 ? int(line.size()) : lineCaret;
    text = line;
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
