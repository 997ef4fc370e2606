#include "MaskEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStringList>
#include <algorithm>

namespace {
// Characters that Qt's input mask reads as commands and that are therefore escaped as literals.
constexpr QStringView kQtMaskCommands = u"AaNnXx90DdHhBb#><![]{}\\";

bool IsAsciiDigit(QChar c) {
    return c >= '0' && c <= '9';
}
} // namespace

TMaskEdit::TMaskEdit(const QString& editMask, QWidget* parent) : QLineEdit(parent), editMask_(editMask) {
    const QStringList fields = editMask.split(';');
    mask_ = fields.value(0);
    if (mask_.startsWith('!'))
        mask_.remove(0, 1);
    if (fields.size() > 2 && !fields[2].isEmpty())
        blank_ = fields[2][0];

    // Qt's '0' is an optional digit, which also takes the blank character: that lets SetText
    // place an empty position where it stands.
    QString qtMask;
    for (QChar c : mask_) {
        if (c == '9') {
            qtMask += '0';
        } else {
            if (kQtMaskCommands.contains(c))
                qtMask += '\\';
            qtMask += c;
        }
    }
    setInputMask(qtMask + ';' + blank_);
}

QString TMaskEdit::Text() const {
    QString text = displayText();
    for (int i = 0; i < text.size(); ++i) {
        if (IsDigitPosition(i) && !IsAsciiDigit(text[i]))
            text[i] = ' ';
    }
    return text;
}

void TMaskEdit::SetText(const QString& text) {
    QString full;
    for (int i = 0; i < mask_.size(); ++i) {
        if (!IsDigitPosition(i))
            full += mask_[i];
        else if (i < text.size() && IsAsciiDigit(text[i]))
            full += text[i];
        else
            full += blank_;
    }
    setText(full);
    setCursorPosition(0); // typing starts at the first position
}

int TMaskEdit::SelStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TMaskEdit::SetSelStart(int start) {
    setCursorPosition(start);
}

int TMaskEdit::SelLength() const {
    return selectionLength();
}

void TMaskEdit::SetSelLength(int length) {
    const int start = SelStart();
    if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(start);
}

bool TMaskEdit::IsLiteral(QChar c) const {
    return c != '9' && mask_.contains(c);
}

void TMaskEdit::PasteText(const QString& text) {
    QString typed;
    bool digit = false;
    for (QChar c : text.trimmed()) {
        if (IsAsciiDigit(c))
            digit = true;
        if (IsAsciiDigit(c) || IsLiteral(c))
            typed += c;
    }
    // The toolkit empties the selection before it looks at the text: nothing to insert, nothing
    // to empty.
    if (digit && !isReadOnly())
        insert(typed);
}

void TMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Paste) {
        PasteText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && std::none_of(typed.begin(), typed.end(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
    if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (std::all_of(typed.begin(), typed.end(), IsAsciiDigit)) {
            QLineEdit::keyPressEvent(event);
        } else if (typed.size() == 1 && IsLiteral(typed[0])) {
            // A literal moves the caret past the next one of its kind; the selected digit stays.
            if (hasSelectedText())
                setCursorPosition(selectionStart());
            QLineEdit::keyPressEvent(event);
        } else {
            event->accept(); // a letter or sign: dropped
        }
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TMaskEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction* paste = menu->findChild<QAction*>("edit-paste")) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this,
                [this] { PasteText(QGuiApplication::clipboard()->text()); });
    }
    menu->popup(event->globalPos());
}
