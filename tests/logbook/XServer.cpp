#include "XServer.h"

#include <QTest>
#include <csignal>
#include <sys/prctl.h>

bool TXServer::Start(QString& error) {
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    xvfb_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); }); // never outlives the tests
    // Xvfb writes its display number to standard output once it accepts connections.
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    while (!xvfb_.canReadLine() && xvfb_.waitForReadyRead(30000)) {
    }
    if (!xvfb_.canReadLine()) {
        error = "Xvfb did not start (is the package xvfb installed?)";
        return false;
    }
    display_ = ":" + QString::fromLatin1(xvfb_.readLine()).trimmed();
    return true;
}

bool TypeKeys(const QString& keys) {
    QProcess xdotool;
    xdotool.start("xdotool", {"key", "--delay", "30", keys});
    if (!xdotool.waitForStarted(10000))
        return false;
    const bool done = QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000);
    // The server has taken the keys; let them arrive.
    QTest::qWait(150);
    return done && xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}
