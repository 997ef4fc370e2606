#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Exception.h"
#include "PythonPeer.h"

// Runs action in a forked child whose files may not grow past limit bytes. SIGXFSZ is ignored
// there, so a write past the limit fails with EFBIG as it does on a full disk. Answers the text
// the action returned, or a text starting with '<' when the child failed.
inline QString RunUnderFileSizeLimit(rlim_t limit, const std::function<QString()>& action) {
    int fds[2];
    if (::pipe(fds) != 0)
        return "<no pipe>";
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return "<no fork>";
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        QByteArray out;
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0) {
            out = "<no limit>";
        } else {
            try {
                out = action().toUtf8();
            } catch (const Exception& e) {
                out = "<exception> " + e.Message().toUtf8();
            } catch (const std::exception& e) {
                out = QByteArray("<exception> ") + e.what();
            }
        }
        QFile pipe;
        if (pipe.open(fds[1], QIODevice::WriteOnly))
            pipe.write(out);
        pipe.close();
        ::_exit(0); // no test framework or Qt clean-up in the child
    }
    ::close(fds[1]);
    QFile pipe;
    pipe.open(fds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QByteArray out = pipe.readAll();
    pipe.close();
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "<child ended abnormally>";
    return QString::fromUtf8(out);
}

// Another process that holds the write lock of a database (BEGIN IMMEDIATE) for the given time,
// as a second program writing to the same file does. The lock is held when the constructor returns.
class OtherWriter {
public:
    OtherWriter(const QString& databasePath, int milliseconds)
        : peer_({"-c",
                 "import sqlite3, sys, time\n"
                 "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                 "c.execute('BEGIN IMMEDIATE')\n"
                 "print('locked', flush=True)\n"
                 "time.sleep(int(sys.argv[2]) / 1000)\n"
                 "c.execute('COMMIT')\n"
                 "print('released', flush=True)\n",
                 databasePath, QString::number(milliseconds)}) {
        locked_ = peer_.ReadLine(10000) == "locked";
    }
    ~OtherWriter() { Finished(); }
    bool Locked() const { return locked_; }
    // Waits for the process; true when it released its lock and ended normally.
    bool Finished() {
        const bool ended = peer_.WaitForEnd();
        released_ = released_ || peer_.ReadAll().contains("released");
        return released_ && ended;
    }

private:
    TPythonPeer peer_;
    bool locked_ = false;
    bool released_ = false;
};
