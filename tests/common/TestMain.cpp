#include <QApplication>
#include <gtest/gtest.h>

#include "Fonts.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LoadDesignFonts(); // the same fonts and metrics as the program
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
