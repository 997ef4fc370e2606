#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {
// Whether the process runs; a zombie, ended and waiting to be collected by its parent, does not.
bool Running(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype name = line.lastIndexOf(')'); // the state follows the name in parentheses
    return name >= 0 && line.mid(name + 2, 1) != "Z";
}
} // namespace

// A test killed on its time-out runs no destructor: its python peer goes with it all the same.
TEST(PythonPeer, ThePeerEndsWhenItsTestProcessIsKilled) {
    QProcess test;
    test.start(PYTHON_PEER_CHILD);
    ASSERT_TRUE(test.waitForStarted());
    while (!test.canReadLine() && test.waitForReadyRead(15000)) {
    }
    const qint64 peer = test.readLine().trimmed().toLongLong();
    ASSERT_GT(peer, 0) << "the peer did not start";
    EXPECT_TRUE(Running(peer));

    test.kill(); // SIGKILL
    test.waitForFinished();
    // The kernel ends the peer as the test process dies; the bound only keeps a fault from hanging.
    const QDeadlineTimer deadline(10000);
    while (Running(peer) && !deadline.hasExpired())
        QThread::msleep(10);
    const bool ended = !Running(peer);
    if (!ended)
        ::kill(pid_t(peer), SIGKILL);
    EXPECT_TRUE(ended) << "the peer outlived its test process";
}
