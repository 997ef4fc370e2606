#include <gtest/gtest.h>

#include "Fonts.h"
#include "TestSupport.h"

TEST(Fonts, MissingOrBrokenFontFilesAreSkippedQuietly) {
    TempProgramFolder folder;
    EXPECT_EQ(LoadDesignFonts(folder.File("none/")), 0);
    WriteFileBytes(folder.File("tahoma.ttf"), "no font");
    EXPECT_EQ(LoadDesignFonts(folder.Path()), 0);
}
