#include <gtest/gtest.h>

#include <QFontInfo>

#include "Fonts.h"
#include "TestSupport.h"

TEST(Fonts, MissingOrBrokenFontFilesAreSkippedQuietly) {
    TempProgramFolder folder;
    EXPECT_EQ(LoadDesignFonts(folder.File("none/")), 0);
    WriteFileBytes(folder.File("tahoma.ttf"), "no font");
    EXPECT_EQ(LoadDesignFonts(folder.Path()), 0);
    if (QFile::exists(DesignFontFolder + "tahoma.ttf")) {
        EXPECT_EQ(QFontInfo(QFont("Tahoma")).family(), "Tahoma")
            << "loaded by the test main as by the program";
    }
}
