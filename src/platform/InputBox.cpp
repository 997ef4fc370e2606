#include "InputBox.h"

#include <QApplication>
#include <QInputDialog>

#include "OneLineGuard.h"

namespace {
InputBoxHook& Hook() {
    static InputBoxHook hook;
    return hook;
}
} // namespace

InputBoxHook SetInputBoxHook(InputBoxHook hook) {
    InputBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

QString PlatformInputBox(const QString& caption, const QString& prompt, const QString& defaultText) {
    if (Hook())
        return OneLineText(Hook()(caption, prompt, defaultText));

    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setInputMode(QInputDialog::TextInput);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Zrušiť"));
    if (box.exec() != QDialog::Accepted)
        return defaultText;
    return OneLineText(box.textValue());
}
