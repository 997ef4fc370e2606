#include <gtest/gtest.h>

#include <QCoreApplication>

#include "TestSupport.h"
#include "ToolkitTranslation.h"

namespace {
struct Asked {
    const char* context;
    const char* source;
    const char* disambiguation = nullptr;
};

// Context, text and disambiguation as the print dialog, its printer properties and the folder dialog
// ask for them.
const Asked kDialogTexts[] = {
    {"QPrintSettingsOutput", "Pages"},
    {"QPrintSettingsOutput", "Page Set:"},
    {"QPrintDialog", "All Pages"},
    {"QPrintDialog", "Odd Pages"},
    {"QPrintDialog", "Even Pages"},
    {"QPrintSettingsOutput", "Double Sided Printing"},
    {"QPrintSettingsOutput", "Off"},
    {"QPrintSettingsOutput", "Long side binding"},
    {"QPrintSettingsOutput", "Short side binding"},
    {"QPrintPropertiesDialog", "Printer Properties"},
    {"QPlatformTheme", "Cancel"},
    {"QPrintPropertiesDialog", "Job Options"},
    {"QPrintPropertiesWidget", "Advanced"},
    {"QPageSetupWidget", "Page Layout"},
    {"QPageSetupWidget", "Pages per sheet:"},
    {"QPageSetupWidget", "Page order:"},
    {"QPrintDialog", "Left to Right, Top to Bottom"},
    {"QPrintDialog", "Left to Right, Bottom to Top"},
    {"QPrintDialog", "Right to Left, Bottom to Top"},
    {"QPrintDialog", "Right to Left, Top to Bottom"},
    {"QPrintDialog", "Bottom to Top, Left to Right"},
    {"QPrintDialog", "Bottom to Top, Right to Left"},
    {"QPrintDialog", "Top to Bottom, Left to Right"},
    {"QPrintDialog", "Top to Bottom, Right to Left"},
    {"QCupsJobWidget", "Job Control"},
    {"QCupsJobWidget", "Scheduled printing:"},
    {"QCupsJobWidget", "Print Immediately"},
    {"QCupsJobWidget", "Hold Indefinitely"},
    {"QCupsJobWidget", "Day (06:00 to 17:59)"},
    {"QCupsJobWidget", "Night (18:00 to 05:59)"},
    {"QCupsJobWidget", "Second Shift (16:00 to 23:59)"},
    {"QCupsJobWidget", "Third Shift (00:00 to 07:59)"},
    {"QCupsJobWidget", "Weekend (Saturday to Sunday)"},
    {"QCupsJobWidget", "Specific Time"},
    {"QCupsJobWidget", "Billing information:"},
    {"QCupsJobWidget", "Job priority:"},
    {"QCupsJobWidget", "Banner Pages"},
    {"QCupsJobWidget", "Start:", "Banner page at start"},
    {"QCupsJobWidget", "End:", "Banner page at end"},
    {"QCupsJobWidget", "None", "CUPS Banner page"},
    {"QCupsJobWidget", "Standard", "CUPS Banner page"},
    {"QCupsJobWidget", "Unclassified", "CUPS Banner page"},
    {"QCupsJobWidget", "Confidential", "CUPS Banner page"},
    {"QCupsJobWidget", "Classified", "CUPS Banner page"},
    {"QCupsJobWidget", "Secret", "CUPS Banner page"},
    {"QCupsJobWidget", "Top Secret", "CUPS Banner page"},
    {"QAbstractFileIconProvider", "Folder", "All other platforms"},
};

QString Translated(const Asked& asked) {
    return QCoreApplication::translate(asked.context, asked.source, asked.disambiguation);
}
} // namespace

TEST(ToolkitTranslation, EveryTextOfThePrintAndFolderDialogsComesBackSlovak) {
    LoadToolkitTranslation();
    QStringList english;
    for (const Asked& asked : kDialogTexts) {
        const QString text = Translated(asked);
        if (text.isEmpty() || text == QString::fromUtf8(asked.source))
            english << QString("%1/%2").arg(asked.context, asked.source);
    }
    EXPECT_EQ(english, QStringList());
    // A button, a label with its colon, a text asked with a disambiguation and the folder type.
    EXPECT_EQ(QStringList({Translated({"QPlatformTheme", "Cancel"}),
                           Translated({"QPrintSettingsOutput", "Page Set:"}),
                           Translated({"QCupsJobWidget", "Start:", "Banner page at start"}),
                           Translated({"QAbstractFileIconProvider", "Folder", "All other platforms"})}),
              QStringList({QStringLiteral("Zrušiť"), QStringLiteral("Sada strán:"),
                           QStringLiteral("Začiatok:"), QStringLiteral("Priečinok")}));
}

// The toolkit's own text wins where it has one; the program's fills only its gaps, and a text neither
// knows (or known in another context) stays as asked.
TEST(ToolkitTranslation, TheToolkitsOwnSlovakWinsAndOtherTextsStayAsAsked) {
    if (!LoadToolkitTranslation())
        GTEST_SKIP() << "the toolkit's Slovak translation is not installed";
    const std::pair<Asked, QString> cases[] = {
        {{"QPrintDialog", "Print To File ..."}, QStringLiteral("Tlačiť do súboru…")},
        {{"QPrintDialog", "&Print"}, QStringLiteral("&Tlačiť")},
        {{"QFileDialog", "Folder"}, QStringLiteral("Priečinok")},
        {{"QPrintSettingsOutput", "Page Set:"}, QStringLiteral("Sada strán:")},
        {{"QPrintDialog", "Page Set:"}, "Page Set:"},
        {{"QCupsJobWidget", "Pages"}, "Pages"},
        {{"QPrintDialog", "No such text"}, "No such text"},
    };
    for (const auto& [asked, expected] : cases)
        EXPECT_EQ(Translated(asked), expected) << asked.context << "/" << asked.source;
}
