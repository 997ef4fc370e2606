#include "MessageBox.h"

#include "LabelText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::Icon IconOf(int flags) {
    switch (flags & 0xF0) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

int PlatformMessageBox(const QString& text, const QString& caption, int flags) {
    if (Hook())
        return Hook()(text, caption, flags);

    // The text stands as it is (a name like "<b>A & B</b>" is no markup); CR breaks the line.
    QMessageBox box(IconOf(flags), caption, QString(), QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(WithLineBreaks(text));
    const bool yesNo = (flags & 0x0F) == 4;
    if (yesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Áno"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Nie"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int pressed = box.exec();
    if (!yesNo)
        return ID_OK;
    return pressed == QMessageBox::Yes ? ID_YES : ID_NO;
}
