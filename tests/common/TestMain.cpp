#include <QApplication>
#include <csignal>
#include <gtest/gtest.h>

#include "Fonts.h"

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // as the program: a write to a closed connection fails, nothing more
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LoadDesignFonts(); // the same fonts and metrics as the program
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
