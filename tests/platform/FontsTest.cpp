#include <gtest/gtest.h>

#include <QFontInfo>

#include "Fonts.h"
#include "TestSupport.h"

TEST(Fonts, MissingOrBrokenFontFilesAreSkippedQuietlyAndBoldSupportTextIsDrawnInTahoma) {
    TempProgramFolder folder;
    EXPECT_EQ(LoadDesignFonts(folder.File("none/")), 0);
    WriteFileBytes(folder.File("tahoma.ttf"), "no font");
    EXPECT_EQ(LoadDesignFonts(folder.Path()), 0);
    if (!QFile::exists(DesignFontFolder + "ms_sans_serif.ttf"))
        GTEST_SKIP() << "fonts-wine is not installed";
    const QFont bold = BoldFont(QFont("MS Sans Serif", 8)); // the support font is a bitmap only
    EXPECT_EQ(bold.family() + BoldFont(QFont("Tahoma", 8)).family(), "TahomaTahoma");
    EXPECT_TRUE(QFontInfo(bold).bold());
}
