#include "InputBox.h"

#include <QApplication>
#include <QInputDialog>

namespace {
InputBoxHook& Hook() {
    static InputBoxHook hook;
    return hook;
}

QString OneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 || c == '\t')
            line += c;
    }
    return line;
}
} // namespace

InputBoxHook SetInputBoxHook(InputBoxHook hook) {
    InputBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

QString PlatformInputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    if (Hook())
        return OneLine(Hook()(caption, prompt, defaultText));

    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Zrušiť"));
    if (box.exec() != QDialog::Accepted)
        return defaultText;
    return OneLine(box.textValue());
}
