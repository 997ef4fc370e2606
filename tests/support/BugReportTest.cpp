#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "Download.h"
#include "Encoding.h"
#include "Endpoints.h"
#include "LANUnit.h"
#include "Language.h"
#include "PythonPeer.h"
#include "Smtp.h"
#include "SupportFixture.h"

namespace {
enum class StartTls { Offered, NotOffered };

// A local mail server that accepts mail only after a login with the given account, which it offers
// in clear too; it keeps the last mail received and the names of the commands received. With a stall
// it holds its reply to QUIT back that many seconds. It offers STARTTLS with the test certificate
// unless told otherwise.
class MailServer {
public:
    explicit MailServer(const QString& password = ReportPassword, int stallSeconds = 0,
                        StartTls tls = StartTls::Offered)
        : peer_(QStringList{SMTP_SERVER_SCRIPT, ReportLogin, password, folder_.path(),
                            QString::number(stallSeconds)} +
                (tls == StartTls::Offered ? QStringList{"--starttls", TLS_PEER_PEM} : QStringList())),
          port_(peer_.ReadLine()) {
        qputenv("VOZOPIS_SMTP", "127.0.0.1:" + port_);
    }
    ~MailServer() { qunsetenv("VOZOPIS_SMTP"); }
    void Stop() { peer_.Stop(); }
    bool Running() const { return port_.toInt() > 0; }
    QByteArray Message() const { return ReadFileBytes(folder_.filePath("message.bin")); }
    // The names of the commands received so far, "EHLO AUTH ...", but QUIT, which may still be on its
    // way when a failed send returns.
    QByteArray Commands() const {
        QByteArrayList names = ReadFileBytes(folder_.filePath("commands.txt")).split('\n');
        names.removeAll("QUIT");
        names.removeAll("");
        return names.join(' ');
    }
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

// The test certificate is trusted while the object lives.
struct TrustedTestCertificate {
    TrustedTestCertificate() { SetDownloadCaFile(TLS_PEER_PEM); }
    ~TrustedTestCertificate() { SetDownloadCaFile({}); }
    TrustedTestCertificate(const TrustedTestCertificate&) = delete;
    TrustedTestCertificate& operator=(const TrustedTestCertificate&) = delete;
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

    TrustedTestCertificate trusted;
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
        TMailRequest request{ReportSender,         SupportEmail, SmtpServer(),
                             {"Subject: x", text}, ReportLogin,  ReportPassword};
        request.bounds = {5000, 1, 20, 6}; // room for a loaded machine
        return SmtpSend(request).accepted;
    };
    const TrustedTestCertificate trusted;
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
    for (const auto& c : cases) {
        TMailRequest request{ReportSender,   SupportEmail, c.server,
                             {"Subject: x"}, ReportLogin,  ReportPassword};
        request.bounds = {2000, 1, 2, 3};
        EXPECT_EQ(SmtpSend(request).url, c.url);
    }
}

// The login and the mail go only over TLS with a trusted certificate: a server that offers no
// STARTTLS (or whose offer was removed on the way) and one whose certificate is not trusted receive
// neither, and the user is asked to try later.
TEST_F(BugReport, TheLoginAndTheMailGoOnlyOverTlsWithATrustedCertificate) {
    const ShownBox failed{
        QStringLiteral("Prosím skúste to neskôr a ubezpečte sa, že ste pripojený na internet."), "Vozopis",
        16};
    const ShownBox sent{QStringLiteral("Správa bola poslaná úspešne."), "Vozopis", 64};
    const struct {
        const char* name;
        StartTls tls;
        QString caFile;
        QByteArray commands;
    } cases[] = {
        {"no STARTTLS", StartTls::NotOffered, TLS_PEER_PEM, "EHLO"},
        {"an untrusted certificate", StartTls::Offered, "", "EHLO STARTTLS"},
        {"a trusted certificate", StartTls::Offered, TLS_PEER_PEM, "EHLO STARTTLS EHLO AUTH MAIL RCPT DATA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MailServer mail(ReportPassword, 0, c.tls);
        ASSERT_TRUE(mail.Running());
        SetDownloadCaFile(c.caFile);
        const bool accepted = c.commands.endsWith("DATA");
        Send("text");
        EXPECT_EQ(mail.Commands(), c.commands);
        EXPECT_EQ(mail.Message().endsWith("\r\ntext\r\n---\r\n" + ToAnsi(Name) + "\r\n"), accepted);
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_EQ(boxes.Shown().back(), accepted ? sent : failed);
        EXPECT_EQ(Inputs(),
                  accepted ? QStringList({"", "", ""}) : QStringList({Name, "jan@example.sk", "text"}));
    }
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
