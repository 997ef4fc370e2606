#pragma once

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sys/prctl.h>

#include "Fonts.h"

// A private X server for what the offscreen platform hides (key bindings, menus, focus, window frames),
// optionally with a window manager that frames the windows; both die with the test binary. Sets DISPLAY
// and the xcb platform for the application object made after it, which must go before this.
class TestXServer {
public:
    explicit TestXServer(bool windowManager = false) {
        xvfb_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // It writes its free display's number once it is ready.
        xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        xvfb_.waitForReadyRead(30000);
        const QByteArray display = xvfb_.readLine().trimmed();
        if (display.isEmpty()) {
            std::fprintf(stderr, "Xvfb did not start (is the package xvfb installed?)\n");
            return;
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", ":" + display);
        if (windowManager && !StartWindowManager())
            return;
        ready_ = true;
    }
    ~TestXServer() {
        for (QProcess* process : {&windowManager_, &xvfb_}) {
            process->terminate();
            process->waitForFinished();
        }
    }
    bool IsReady() const { return ready_; }

private:
    // twm, with the server's own font and no placing of windows by hand.
    bool StartWindowManager() {
        const QString rc = dir_.filePath("twmrc");
        QFile file(rc);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write("RandomPlacement\nTitleFont \"fixed\"\nMenuFont \"fixed\"\nIconFont \"fixed\"\n"
                       "ResizeFont \"fixed\"\nIconManagerFont \"fixed\"\n") < 0)
            return false;
        file.close();
        windowManager_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        windowManager_.setStandardOutputFile(QProcess::nullDevice());
        windowManager_.setStandardErrorFile(QProcess::nullDevice());
        windowManager_.start("twm", {"-f", rc});
        if (!windowManager_.waitForStarted()) {
            std::fprintf(stderr, "twm did not start (is the package twm installed?)\n");
            return false;
        }
        return true;
    }

    QProcess xvfb_;
    QProcess windowManager_;
    QTemporaryDir dir_;
    bool ready_ = false;
};

// The main of a test binary whose tests run on their own X server.
inline int RunTestsOnXServer(int argc, char** argv, bool windowManager = false) {
    ::testing::InitGoogleTest(&argc, argv);
    const TestXServer x(windowManager);
    if (!x.IsReady())
        return 1;
    auto app = std::make_unique<QApplication>(argc, argv);
    LoadDesignFonts();
    const int result = RUN_ALL_TESTS();
    app.reset(); // before its X server goes
    return result;
}
