// Test main of the binaries that need a real X server: it starts a private Xvfb and runs the tests on it.
#include <QApplication>
#include <QProcess>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/prctl.h>

#include "Fonts.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A private X server, which writes its free display's number once it is ready and dies with the tests.
    QProcess xvfb;
    xvfb.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    xvfb.waitForReadyRead(30000);
    const QByteArray display = xvfb.readLine().trimmed();
    if (display.isEmpty()) {
        fprintf(stderr, "Xvfb did not start (is the package xvfb installed?)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", ":" + display);
    auto app = std::make_unique<QApplication>(argc, argv);
    LoadDesignFonts();
    const int result = RUN_ALL_TESTS();
    app.reset(); // before its X server goes
    xvfb.terminate();
    xvfb.waitForFinished();
    return result;
}
