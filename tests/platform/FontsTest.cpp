#include <gtest/gtest.h>

#include <QFontInfo>

#include "Fonts.h"
#include "TestSupport.h"

TEST(Fonts, MissingOrBrokenFontFilesAreSkippedQuietly) {
    TempProgramFolder folder;
    EXPECT_EQ(LoadDesignFonts(folder.File("none/")), 0);
    WriteFileBytes(folder.File("tahoma.ttf"), "no font");
    EXPECT_EQ(LoadDesignFonts(folder.Path()), 0);
}

TEST(Fonts, BoldTextOfTheBitmapOnlySupportFontIsDrawnInTahoma) {
    if (!QFile::exists(DesignFontFolder + "ms_sans_serif.ttf"))
        GTEST_SKIP() << "fonts-wine is not installed";
    const QFont bold = BoldFont(QFont("MS Sans Serif", 8));
    EXPECT_EQ(bold.family(), "Tahoma");
    EXPECT_TRUE(QFontInfo(bold).bold());
    EXPECT_EQ(BoldFont(QFont("Tahoma", 8)).family(), "Tahoma");
}
