#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Endpoints.h"
#include "LANUnit.h"
#include "SupportFixture.h"

namespace {
QString Python() {
    // The system interpreter carries the packaged mail server.
    return QFileInfo::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3")
                                                 : QStringLiteral("python3");
}

// A local mail server that accepts mail only after a login with the given account; it keeps the
// last mail received.
class MailServer {
public:
    explicit MailServer(const QString& login = ReportLogin, const QString& password = ReportPassword) {
        process_.start(Python(), {SMTP_SERVER_SCRIPT, login, password, folder_.path()});
        if (process_.waitForReadyRead(15000))
            port_ = process_.readLine().trimmed().toInt();
        qputenv("VOZOPIS_SMTP", "127.0.0.1:" + QByteArray::number(port_));
    }
    ~MailServer() {
        Stop();
        qunsetenv("VOZOPIS_SMTP");
    }
    void Stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }
    bool Running() const { return port_ > 0; }
    QByteArray Message() const { return ReadFileBytes(folder_.filePath("message.bin")); }
    QJsonObject Envelope() const {
        return QJsonDocument::fromJson(ReadFileBytes(folder_.filePath("envelope.json"))).object();
    }

private:
    QTemporaryDir folder_;
    QProcess process_;
    int port_ = 0;
};

// Answers the connection test while it lives.
struct Connected {
    explicit Connected(bool answer) {
        previous = SetConnectedHook([answer] { return answer; });
    }
    ~Connected() { SetConnectedHook(previous); }
    std::function<bool()> previous;
};

void FillReport(TAbout& about, const QString& message) {
    about.eName->setText(QStringLiteral("Ján Šťastný"));
    about.eEMail->setText("jan@example.sk");
    about.mMessage->setPlainText(message);
}

QStringList Inputs(const TAbout& about) {
    return {about.eName->text(), about.eEMail->text(), about.mMessage->toPlainText()};
}
} // namespace

TEST(BugReport, DeliversTheMailLinesInWindows1250AndEmptiesThePage) {
    MailServer server;
    ASSERT_TRUE(server.Running());
    SupportWindow w;
    TAbout& about = *w.about;
    Connected online(true);
    MessageBoxRecorder boxes;
    FillReport(about, QStringLiteral("Žltý kôň ťahá\n.\nDruhý riadok\n"));
    about.BitBtn3->click();

    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Správa bola poslaná úspešne."));
    EXPECT_EQ(boxes.Shown()[0].caption, "Vozopis");
    EXPECT_EQ(boxes.Shown()[0].flags, 64);
    EXPECT_EQ(Inputs(about), QStringList({"", "", ""}));

    const QJsonObject envelope = server.Envelope();
    EXPECT_EQ(envelope["from"].toString(), ReportSender);
    EXPECT_EQ(envelope["to"].toArray(), QJsonArray({SupportEmail}));

    const QByteArray message = server.Message();
    const QList<QByteArray> lines = message.split('\n');
    ASSERT_GE(lines.size(), 4);
    const QByteArray date = lines.at(3);
    EXPECT_TRUE(
        QRegularExpression("^Date: \\d{4}-\\d\\d-\\d\\d , \\d\\d:\\d\\d,\\d\\d\r$").match(date).hasMatch())
        << date.toStdString();
    EXPECT_EQ(message, "Subject: Report - Vozopis\r\n"
                       "From: jan@example.sk\r\n"
                       "To: podpora@molvek.sk\r\n" +
                           date +
                           "\n"
                           "Content-Type: text/plain;charset=windows-1250\r\n"
                           "\r\n"
                           "\x8elt\xfd k\xf4\xf2 \x9d"
                           "ah\xe1\r\n"
                           ".\r\n"
                           "Druh\xfd riadok\r\n"
                           "---\r\n"
                           "J\xe1n \x8a\x9d"
                           "astn\xfd\r\n");
}

TEST(BugReport, HeaderValuesStayOnOneLine) {
    MailServer server;
    ASSERT_TRUE(server.Running());
    SupportWindow w;
    TAbout& about = *w.about;
    Connected online(true);
    MessageBoxRecorder boxes;
    about.eEMail->setText("jan@example.sk\r\nBcc: other@example.sk");
    about.eName->setText("Jan\nSubject: x");
    about.mMessage->setPlainText("text");
    about.BitBtn3->click();
    const QByteArray message = server.Message();
    EXPECT_TRUE(message.contains("\r\nFrom: jan@example.skBcc: other@example.sk\r\n"))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith("\r\n---\r\nJanSubject: x\r\n")) << message.toStdString();
    EXPECT_EQ(server.Envelope()["to"].toArray(), QJsonArray({SupportEmail}));
}

TEST(BugReport, AMemoOfBlanksIsSentAnEmptyMemoIsNot) {
    MailServer server;
    ASSERT_TRUE(server.Running());
    SupportWindow w;
    TAbout& about = *w.about;
    Connected online(true);
    MessageBoxRecorder boxes;
    FillReport(about, "");
    about.BitBtn3->click();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_TRUE(server.Message().isEmpty());
    EXPECT_EQ(Inputs(about), QStringList({QStringLiteral("Ján Šťastný"), "jan@example.sk", ""}));

    about.mMessage->setPlainText("   ");
    about.BitBtn3->click();
    EXPECT_TRUE(server.Message().contains("windows-1250\r\n\r\n   \r\n---\r\n"))
        << server.Message().toStdString();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].flags, 64);
}

TEST(BugReport, ARefusedLoginOrAStoppedServerKeepsTheInputs) {
    SupportWindow w;
    TAbout& about = *w.about;
    Connected online(true);
    const QString message12 =
        QStringLiteral("Prosím skúste to neskôr a ubezpečte sa, že ste pripojený na internet.");
    {
        MailServer server(ReportLogin, "otherPwd");
        ASSERT_TRUE(server.Running());
        MessageBoxRecorder boxes;
        FillReport(about, "first\nsecond");
        about.BitBtn3->click();
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, message12);
        EXPECT_EQ(boxes.Shown()[0].caption, "Vozopis");
        EXPECT_EQ(boxes.Shown()[0].flags, 16);
        EXPECT_TRUE(server.Message().isEmpty());
        EXPECT_EQ(Inputs(about),
                  QStringList({QStringLiteral("Ján Šťastný"), "jan@example.sk", "first\nsecond"}));
    }
    {
        MailServer server;
        ASSERT_TRUE(server.Running());
        server.Stop();
        MessageBoxRecorder boxes;
        about.BitBtn3->click();
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, message12);
        EXPECT_EQ(boxes.Shown()[0].flags, 16);
        EXPECT_EQ(Inputs(about),
                  QStringList({QStringLiteral("Ján Šťastný"), "jan@example.sk", "first\nsecond"}));
    }
}

TEST(BugReport, WithoutAConnectionNothingIsSent) {
    MailServer server;
    ASSERT_TRUE(server.Running());
    SupportWindow w;
    TAbout& about = *w.about;
    Connected offline(false);
    MessageBoxRecorder boxes;
    FillReport(about, "text");
    about.BitBtn3->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Musíte byť pripojený na internet."));
    EXPECT_EQ(boxes.Shown()[0].caption, "Vozopis");
    EXPECT_EQ(boxes.Shown()[0].flags, 16);
    EXPECT_TRUE(server.Message().isEmpty());
    EXPECT_EQ(Inputs(about), QStringList({QStringLiteral("Ján Šťastný"), "jan@example.sk", "text"}));
}
