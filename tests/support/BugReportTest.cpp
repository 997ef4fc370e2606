#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "Encoding.h"
#include "Endpoints.h"
#include "LANUnit.h"
#include "Language.h"
#include "PythonPeer.h"
#include "Smtp.h"
#include "SupportFixture.h"

namespace {
// A local mail server that accepts mail only after a login with the given account; it keeps the
// last mail received. With a stall it holds its reply to QUIT back that many seconds.
class MailServer {
public:
    explicit MailServer(const QString& password = ReportPassword, int stallSeconds = 0)
        : peer_({SMTP_SERVER_SCRIPT, ReportLogin, password, folder_.path(), QString::number(stallSeconds)}),
          port_(peer_.ReadLine()) {
        qputenv("VOZOPIS_SMTP", "127.0.0.1:" + port_);
    }
    ~MailServer() { qunsetenv("VOZOPIS_SMTP"); }
    void Stop() { peer_.Stop(); }
    bool Running() const { return port_.toInt() > 0; }
    QByteArray Message() const { return ReadFileBytes(folder_.filePath("message.bin")); }
    QJsonObject Envelope() const {
        return QJsonDocument::fromJson(ReadFileBytes(folder_.filePath("envelope.json"))).object();
    }
    // How the last session ended, once the server has noted it: "quit" (QUIT answered) or "left"
    // (the client went away while the reply was held back).
    QByteArray Ending() const {
        const QString file = folder_.filePath("ending.txt");
        (void)QTest::qWaitFor([&] { return QFileInfo::exists(file); }, 10000);
        return ReadFileBytes(file);
    }

private:
    QTemporaryDir folder_;
    TPythonPeer peer_;
    QByteArray port_;
};

const QString Name = QStringLiteral("Ján Šťastný");

// The support window beside a running mail server, online unless told otherwise; boxes are recorded.
struct BugReport : SupportTest {
    BugReport() : previous(SetConnectedHook([this] { return online; })) {}
    ~BugReport() override { SetConnectedHook(previous); }
    void Send(const QString& message, const QString& name = Name, const QString& email = "jan@example.sk") {
        about.eName->setText(name);
        about.eEMail->setText(email);
        about.mMessage->setPlainText(message);
        about.BitBtn3->click();
    }
    QStringList Inputs() const {
        return {about.eName->text(), about.eEMail->text(), about.mMessage->toPlainText()};
    }

    MailServer server;
    bool online = true;
    std::function<bool()> previous;
    MessageBoxRecorder boxes;
};
} // namespace

// Header values stay on one line whatever the fields hold, so no header can be added.
TEST_F(BugReport, DeliversTheMailLinesInWindows1250OnOneLineEachAndEmptiesThePage) {
    Send(QStringLiteral("Žltý kôň ťahá\n.\nDruhý riadok\n"), QStringLiteral("Ján\nŠťastný"),
         "jan@example.sk\r\nBcc: other@example.sk");
    EXPECT_EQ(Inputs(), QStringList({"", "", ""}));
    EXPECT_EQ(server.Envelope(), QJsonObject({{"from", ReportSender}, {"to", QJsonArray({SupportEmail})}}));

    const QByteArray message = server.Message();
    const QByteArray date = message.split('\n').value(3);
    EXPECT_TRUE(
        QRegularExpression("^Date: \\d{4}-\\d\\d-\\d\\d , \\d\\d:\\d\\d,\\d\\d\r$").match(date).hasMatch())
        << date.toStdString();
    EXPECT_EQ(
        message,
        "Subject: Report - Vozopis\r\nFrom: jan@example.sk Bcc: other@example.sk\r\n"
        "To: podpora@molvek.sk\r\n" +
            date +
            "\nContent-Type: text/plain;charset=windows-1250\r\n\r\n"
            "\x8elt\xfd k\xf4\xf2 \235ah\xe1\r\n.\r\nDruh\xfd riadok\r\n---\r\nJ\xe1n \x8a\235astn\xfd\r\n");

    Send("   "); // a memo of blanks is sent
    EXPECT_TRUE(server.Message().contains("windows-1250\r\n\r\n   \r\n---\r\n"))
        << server.Message().toStdString();
    const ShownBox sent{QStringLiteral("Správa bola poslaná úspešne."), "Vozopis", 64};
    EXPECT_EQ(boxes.Shown(), Boxes({sent, sent}));
}

// The mail is accepted before the connection closes: a server that then never answers QUIT holds
// the send no longer than its bound, and the mail counts as accepted.
TEST(MailSend, EndsWithinItsBoundWhenTheServerHoldsBackItsReplyToQuit) {
    const auto Send = [](const QByteArray& text) {
        const TransferBounds bounds{5000, 1, 20, 6}; // room for a loaded machine
        return SmtpSend({ReportSender,
                         SupportEmail,
                         SmtpServer(),
                         {"Subject: x", text},
                         ReportLogin,
                         ReportPassword,
                         bounds})
            .accepted;
    };
    const MailServer server;
    EXPECT_TRUE(Send("first"));
    EXPECT_EQ(server.Ending(), "quit");            // a server that answers is told goodbye
    const MailServer stalling(ReportPassword, 30); // far beyond the bound
    ASSERT_TRUE(stalling.Running());
    EXPECT_TRUE(Send("second"));
    EXPECT_EQ(stalling.Message(), "Subject: x\r\nsecond\r\n");
    EXPECT_EQ(stalling.Ending(), "left");
}

// "host" goes to the SMTP port, 25; "host:port" to its own port.
TEST(MailServerAddress, AHostWithoutAPortIsSentToPort25) {
    const struct {
        QString server;
        QByteArray url;
    } cases[] = {{"127.0.0.1", "smtp://127.0.0.1:25"}, {" 127.0.0.1:2525 ", "smtp://127.0.0.1:2525"}};
    for (const auto& c : cases)
        EXPECT_EQ(SmtpSend({ReportSender,
                            SupportEmail,
                            c.server,
                            {"Subject: x"},
                            ReportLogin,
                            ReportPassword,
                            {2000, 1, 2, 3}})
                      .url,
                  c.url);
}

TEST_F(BugReport, AnEmptyMemoOfflineAStoppedServerOrARefusedLoginSendNothingAndKeepTheInputs) {
    Send(""); // not even a box
    EXPECT_EQ(Inputs(), QStringList({Name, "jan@example.sk", ""}));
    online = false;
    Send("first\nsecond");
    online = true;
    server.Stop();
    about.BitBtn3->click(); // the kept inputs once more
    MailServer refusing("otherPwd");
    ASSERT_TRUE(refusing.Running());
    about.BitBtn3->click();
    EXPECT_TRUE(server.Message().isEmpty() && refusing.Message().isEmpty());
    const ShownBox failed{
        QStringLiteral("Prosím skúste to neskôr a ubezpečte sa, že ste pripojený na internet."), "Vozopis",
        16};
    EXPECT_EQ(boxes.Shown(),
              Boxes({{QStringLiteral("Musíte byť pripojený na internet."), "Vozopis", 16}, failed, failed}));
    EXPECT_EQ(Inputs(), QStringList({Name, "jan@example.sk", "first\nsecond"}));
}

// Each field is named by the caption the page shows, here in Slovak; the memo by its group's.
TEST_F(BugReport, ACharacterTheMailCannotCarryIsRefusedInItsFieldAndNothingIsSent) {
    w.WriteFile("Data/Languages/sk.lng",
                ToAnsi(QStringLiteral("[About]\r\nLabel4=%Vaše meno / prezývka:%\r\n"
                                      "Label5=%Váš e-mail:%\r\nGroupBox3=%Pošta: %\r\n")));
    TranslateForm(w.folder.File("Data/Languages/sk.lng"), &about);
    const struct {
        QWidget* field;
        QString name, email, message, caption, selection;
    } cases[] = {
        {about.eName, QStringLiteral("Ján → Š"), "jan@example.sk", "text",
         QStringLiteral("Vaše meno / prezývka"), "4:→"},
        {about.eEMail, Name, QStringLiteral("ján@пример.sk"), "text", QStringLiteral("Váš e-mail"), "4:п"},
        {about.eEMail, Name, QStringLiteral("ján@😀.sk"), "text", QStringLiteral("Váš e-mail"),
         QStringLiteral("4:😀")},
        {about.mMessage, Name, "jan@example.sk", QStringLiteral("Žltý\nkôň 😀 →"), QStringLiteral("Pošta"),
         QStringLiteral("9:😀")}};
    Boxes shown;
    for (const auto& c : cases) {
        Send(c.message, c.name, c.email);
        shown.push_back(
            {"Pole \"" + c.caption + "\" obsahuje znak \"" + c.selection.mid(2) +
                 QStringLiteral("\", ktorý nie je možné odoslať. Nahraďte ho prosím iným znakom."),
             "Vozopis", 48});
        EXPECT_EQ(Inputs(), QStringList({c.name, c.email, c.message}));
        EXPECT_EQ(about.focusWidget(), c.field) << c.caption.toStdString();
        auto* edit = qobject_cast<QLineEdit*>(c.field);
        const QTextCursor memo = about.mMessage->textCursor();
        EXPECT_EQ(QString("%1:%2")
                      .arg(edit ? edit->selectionStart() : memo.selectionStart())
                      .arg(edit ? edit->selectedText() : memo.selectedText()),
                  c.selection);
    }
    EXPECT_EQ(boxes.Shown(), shown);
    EXPECT_TRUE(server.Message().isEmpty());
}
