#include "XServer.h"

#include <QProcess>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

bool TXServer::Start(QString& error) {
    int fds[2];
    if (pipe(fds) != 0) {
        error = "pipe failed";
        return false;
    }
    // Xvfb writes its display number to this descriptor once it accepts connections.
    const std::string fd = std::to_string(fds[1]);
    pid_ = fork();
    if (pid_ < 0) {
        error = "fork failed";
        return false;
    }
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlives the tests
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);

    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    while (number.empty() || number.back() != '\n') {
        if (poll(&pfd, 1, 30000) <= 0)
            break;
        char c = 0;
        if (read(fds[0], &c, 1) != 1)
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty() || number.back() != '\n') {
        error = "Xvfb did not start (is the package xvfb installed?)";
        Stop();
        return false;
    }
    number.pop_back();
    display_ = ":" + QString::fromStdString(number);
    return true;
}

void TXServer::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
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
