// The bug report page of the support window: a plain-text mail to the maker's support mailbox.
#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

#include "AboutPictures.h"
#include "AboutUnit.h"
#include "Encoding.h"
#include "Endpoints.h"
#include "HandlerGuard.h"
#include "LANUnit.h"
#include "MessageBox.h"
#include "Messages.h"
#include "OneLineGuard.h"
#include "ProgramGlobals.h"
#include "Smtp.h"

namespace {
// The memo's lines as typed; an empty memo has none, a final line break adds no line.
QStringList MemoLines(const QString& text) {
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n|\u2028|\u2029"));
    QStringList lines = text.split(lineBreak);
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A caption as the page shows it, without its colon, to name a field.
QString FieldCaption(const QString& caption) {
    QString text = caption.trimmed();
    if (text.endsWith(':'))
        text.chop(1);
    return text.trimmed();
}

// Shows the wait cursor while the mail goes out.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

void TAbout::BuildBugReportPage() {
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName("TabSheet3");
    PgCtrlDorvane->addTab(TabSheet3, "Bug report");

    auto* picture = NewLabel(TabSheet3, "Image3", QString());
    picture->setPixmap(MailPicture());
    auto* group = new QGroupBox("Mail: ", TabSheet3);
    group->setObjectName("GroupBox3");
    eName = new QLineEdit(group);
    eName->setObjectName("eName");
    eEMail = new QLineEdit(group);
    eEMail->setObjectName("eEMail");
    mMessage = new QPlainTextEdit(group);
    mMessage->setObjectName("mMessage");
    mMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BitBtn3 = NewButton(group, "BitBtn3", "Send", AboutGlyph::Send);

    auto* grid = new QGridLayout(group);
    Label4 = NewLabel(group, "Label4", "Your name / nick:");
    Label5 = NewLabel(group, "Label5", "Your e-mail:");
    grid->addWidget(Label4, 0, 0);
    grid->addWidget(eName, 0, 1);
    grid->addWidget(Label5, 1, 0);
    grid->addWidget(eEMail, 1, 1);
    grid->addWidget(mMessage, 2, 0, 1, 2);
    grid->addWidget(BitBtn3, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    auto* layout = new QVBoxLayout(TabSheet3);
    layout->addWidget(picture);
    layout->addWidget(group, 1);

    connect(BitBtn3, &QPushButton::clicked, this, Guarded([this] { BitBtn3Click(); }));
}

void TAbout::BitBtn3Click() {
    if (!IsConnectedToInternet()) {
        ShowError(GetMsg(11), ProgramTitle);
        return;
    }
    const QStringList message = MemoLines(mMessage->toPlainText());
    if (message.isEmpty() || RefuseUnstorableText())
        return;

    QStringList lines;
    lines << "Subject: Report - " + ProgramTitle;
    // Header values stay on one line whatever the fields hold, so no header can be added.
    lines << "From: " + OneLineText(eEMail->text());
    lines << "To: " + SupportEmail;
    lines << "Date: " + QDateTime::currentDateTime().toString("yyyy-MM-dd , hh:mm,ss");
    lines << "Content-Type: text/plain;charset=windows-1250";
    lines << QString(); // the message begins after a blank line
    lines << message;
    lines << "---";
    lines << OneLineText(eName->text());

    TMailRequest request{ReportSender, SupportEmail, SmtpServer(), {}, ReportLogin, ReportPassword};
    for (const QString& line : lines)
        request.lines << ToAnsi(line);
    bool sent = false;
    {
        const WaitCursor wait;
        sent = SmtpSend(request).accepted;
    }
    if (!sent) {
        ShowError(GetMsg(12), ProgramTitle);
        return;
    }
    mMessage->clear();
    eEMail->clear();
    eName->clear();
    ShowMessageBox(GetMsg(13), ProgramTitle, MB_ICONINFORMATION);
}

// The mail goes out in Windows-1250: a character it cannot hold is refused as the data pages refuse
// it, its field named by the caption the page shows for it (the memo has only its group's) and
// focused, and the character selected; nothing is sent and nothing is lost.
bool TAbout::RefuseUnstorableText() {
    const auto* group = qobject_cast<const QGroupBox*>(mMessage->parentWidget());
    const struct {
        QWidget* field;
        QString text;
        QString caption;
    } fields[] = {
        {eName, eName->text(), FieldCaption(Label4->text())},
        {eEMail, eEMail->text(), FieldCaption(Label5->text())},
        // toPlainText counts positions as the memo's cursor does
        {mMessage, mMessage->toPlainText(), FieldCaption(group ? group->title() : QString())},
    };
    for (const auto& f : fields) {
        const TTextSpan refused = RefuseUnstorableChar(f.text, f.caption, QStringLiteral("odoslať"));
        if (!refused)
            continue;
        f.field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(f.field)) {
            edit->setSelection(refused.at, refused.size);
        } else {
            QTextCursor cursor = mMessage->textCursor();
            cursor.setPosition(refused.at);
            cursor.setPosition(refused.at + refused.size, QTextCursor::KeepAnchor);
            mMessage->setTextCursor(cursor);
        }
        return true;
    }
    return false;
}
