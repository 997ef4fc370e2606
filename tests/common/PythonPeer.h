#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

// A helper program in python3 run beside a test (a server, another program holding a lock) and
// ended with it. Debian's interpreter is preferred: it carries the packaged modules.
class TPythonPeer {
public:
    // ErrorFile, when given, receives what the program writes to its error output.
    explicit TPythonPeer(const QStringList& arguments, const QString& errorFile = {}) {
        if (!errorFile.isEmpty())
            process_.setStandardErrorFile(errorFile);
        // The program dies with the test process, also when that is killed on a time-out, so that no
        // server outlives it holding its port. The death signal follows the starting thread, which
        // must therefore outlive the program: the tests start their peers on the main thread.
        const pid_t parent = ::getpid();
        process_.setChildProcessModifier([parent] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) // the test process died before the signal was asked for
                ::_exit(127);
        });
        process_.start(QFileInfo::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3", arguments);
    }
    ~TPythonPeer() { Stop(); }
    TPythonPeer(const TPythonPeer&) = delete;
    TPythonPeer& operator=(const TPythonPeer&) = delete;

    // The next line the program prints, trimmed; empty when none comes in time.
    QByteArray ReadLine(int milliseconds = 15000) {
        if (!process_.canReadLine())
            process_.waitForReadyRead(milliseconds);
        return process_.readLine().trimmed();
    }
    // Waits for the program to end by itself; true when it ended normally with code 0.
    bool WaitForEnd(int milliseconds = 10000) {
        if (process_.state() != QProcess::NotRunning)
            process_.waitForFinished(milliseconds);
        return process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }
    QByteArray ReadAll() { return process_.readAll(); }
    // Ends the program now.
    void Stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel();
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }

private:
    QProcess process_;
};
