#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "MessageBox.h"
#include "TestSupport.h"

namespace {
// Shows the real dialog (no hook), presses its first button and tells its text label's format and
// text, then its buttons: "1|text|OK".
QString Shown(const QString& text, int flags) {
    const MessageBoxHook previous = SetMessageBoxHook({});
    QStringList shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        shown << QString::number(label ? label->textFormat() : -1) << (label ? label->text() : "");
        for (QAbstractButton* button : box->buttons())
            shown << button->text();
        box->buttons().constFirst()->click();
    });
    poll.start(10);
    PlatformMessageBox(text, "Vozopis", flags);
    SetMessageBoxHook(previous);
    return shown.join('|');
}
} // namespace

TEST(MessageBox, ShowsItsTextAsPlainTextWithCarriageReturnsAsLineBreaks) {
    EXPECT_EQ(Shown("<b>Auto & Moto</b>", MB_ICONERROR), "0|<b>Auto & Moto</b>|OK"); // 0: plain text
    EXPECT_EQ(Shown(QStringLiteral("a &lt; b\rdruhý riadok\r\rpo prázdnom\r\nkoniec"), MB_ICONINFORMATION),
              QStringLiteral("0|a &lt; b\ndruhý riadok\n\npo prázdnom\nkoniec|OK"));
    const QStringList question = Shown("Naozaj?", MB_YESNO_QUESTION).split('|');
    EXPECT_EQ(question.size(), 4);
    EXPECT_TRUE(question.contains(QStringLiteral("Áno")));
}
