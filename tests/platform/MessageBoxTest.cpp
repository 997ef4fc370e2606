#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "MessageBox.h"
#include "TestSupport.h"

namespace {
// What the real box showed: its text label's format and text, and its buttons.
struct ShownLabel {
    Qt::TextFormat format = Qt::AutoText;
    QString text;
    QStringList buttons;
};

// Shows the real dialog (no hook) and presses its first button.
ShownLabel Show(const QString& text, int flags) {
    const MessageBoxHook previous = SetMessageBoxHook({});
    ShownLabel shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        if (auto* label = box->findChild<QLabel*>("qt_msgbox_label")) {
            shown.format = label->textFormat();
            shown.text = label->text();
        }
        for (QAbstractButton* button : box->buttons())
            shown.buttons << button->text();
        box->buttons().constFirst()->click();
    });
    poll.start(10);
    PlatformMessageBox(text, "Vozopis", flags);
    SetMessageBoxHook(previous);
    return shown;
}
} // namespace

TEST(MessageBox, ShowsItsTextAsPlainTextWithCarriageReturnsAsLineBreaks) {
    ShownLabel shown = Show(QStringLiteral("<b>Auto & Moto</b>"), MB_ICONERROR);
    EXPECT_EQ(shown.format, Qt::PlainText);
    EXPECT_EQ(shown.text, QStringLiteral("<b>Auto & Moto</b>"));

    shown = Show(QStringLiteral("a &lt; b\rdruhý riadok\r\rpo prázdnom\r\nkoniec"), MB_ICONINFORMATION);
    EXPECT_EQ(shown.format, Qt::PlainText);
    EXPECT_EQ(shown.text, QStringLiteral("a &lt; b\ndruhý riadok\n\npo prázdnom\nkoniec"));
    EXPECT_EQ(shown.buttons, QStringList({"OK"}));

    shown = Show(QStringLiteral("Naozaj?"), MB_YESNO_QUESTION);
    EXPECT_EQ(shown.buttons.size(), 2);
    EXPECT_TRUE(shown.buttons.contains(QStringLiteral("Áno")));
}
