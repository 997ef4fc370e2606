#pragma once

#include <QString>
#include <QValidator>

#include "Encoding.h"

class QLineEdit;

// The text on one line: each line break (CR, LF, CR LF, or a Unicode line or paragraph separator)
// becomes one blank, so the lines stay words; the other control characters go.
QString OneLineText(const QString& text);
// The same on a text being edited: the caret keeps its place in what remains.
void RemoveLineBreaks(QString& text, int& caret);

// The guard of a one-line field: the edit's validator, which sees every change of its text
// (typed, pasted, dropped or set by the program) and takes those characters out.
class TOneLineGuard : public QValidator {
public:
    explicit TOneLineGuard(QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

protected:
    QLineEdit* edit_;
};

// Gives the edit a guard unless it has one already.
void AttachOneLineGuard(QLineEdit* edit);
