#include "ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstring>

namespace {
struct ToolkitText {
    const char* context;
    const char* source;
    const char* slovak;
};

// What the toolkit's Slovak leaves in English: the print dialog with its options and printer
// properties, its messages, the standard buttons, and the folder dialog's file types.
constexpr ToolkitText kTexts[] = {
    {"QPlatformTheme", "Cancel", "Zrušiť"},
    {"QPlatformTheme", "&Yes", "Án&o"},
    {"QPlatformTheme", "&No", "&Nie"},
    {"QGnomeTheme", "&Cancel", "&Zrušiť"},
    {"QPrintSettingsOutput", "Pages", "Strany"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a "
     "hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Zadajte strany alebo rozsahy oddelené čiarkami. Rozsah tvoria dve čísla oddelené spojovníkom. "
     "Napr.: 3,5-7,9 vytlačí strany 3, 5, 6, 7 a 9."},
    {"QPrintSettingsOutput", "Page Set:", "Sada strán:"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Obojstranná tlač"},
    {"QPrintSettingsOutput", "Off", "Vypnutá"},
    {"QPrintSettingsOutput", "Long side binding", "Väzba na dlhšej strane"},
    {"QPrintSettingsOutput", "Short side binding", "Väzba na kratšej strane"},
    {"QPrintDialog", "All Pages", "Všetky strany"},
    {"QPrintDialog", "Odd Pages", "Nepárne strany"},
    {"QPrintDialog", "Even Pages", "Párne strany"},
    {"QPrintDialog", "Left to Right, Top to Bottom", "Zľava doprava, zhora nadol"},
    {"QPrintDialog", "Left to Right, Bottom to Top", "Zľava doprava, zdola nahor"},
    {"QPrintDialog", "Right to Left, Bottom to Top", "Sprava doľava, zdola nahor"},
    {"QPrintDialog", "Right to Left, Top to Bottom", "Sprava doľava, zhora nadol"},
    {"QPrintDialog", "Bottom to Top, Left to Right", "Zdola nahor, zľava doprava"},
    {"QPrintDialog", "Bottom to Top, Right to Left", "Zdola nahor, sprava doľava"},
    {"QPrintDialog", "Top to Bottom, Left to Right", "Zhora nadol, zľava doprava"},
    {"QPrintDialog", "Top to Bottom, Right to Left", "Zhora nadol, sprava doľava"},
    {"QPrintDialog", "Invalid Pages Definition", "Neplatné zadanie strán"},
    {"QPrintDialog",
     "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define "
     "ranges and make sure ranges do not intersect with each other.",
     "%1 nemá správny tvar. Strany a rozsahy oddeľte znakom ',', rozsah zadajte znakom '-' a dbajte, aby sa "
     "rozsahy neprekrývali."},
    {"QPrintDialog",
     "Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of those options "
     "off.",
     "Možnosti 'Strán na hárok' a 'Sada strán' sa nedajú použiť spolu.\nJednu z nich vypnite."},
    {"QPrintPropertiesDialog", "Printer Properties", "Vlastnosti tlačiarne"},
    {"QPrintPropertiesDialog", "Job Options", "Možnosti úlohy"},
    {"QPrintPropertiesWidget", "Advanced", "Rozšírené"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.",
     "Niektoré možnosti sú v rozpore. Opravte ich."},
    {"QPageSetupWidget", "Page Layout", "Rozloženie strany"},
    {"QPageSetupWidget", "Pages per sheet:", "Strán na hárok:"},
    {"QPageSetupWidget", "Page order:", "Poradie strán:"},
    {"QPageSetupWidget", "Custom", "Vlastná"},
    {"QPageSetupWidget", "Pica (P̸)", "Pika (P̸)"},
    {"QCupsJobWidget", "Job Control", "Riadenie úlohy"},
    {"QCupsJobWidget", "Scheduled printing:", "Plánovaná tlač:"},
    {"QCupsJobWidget", "Print Immediately", "Tlačiť ihneď"},
    {"QCupsJobWidget", "Hold Indefinitely", "Pozdržať na neurčito"},
    {"QCupsJobWidget", "Day (06:00 to 17:59)", "Deň (06:00 až 17:59)"},
    {"QCupsJobWidget", "Night (18:00 to 05:59)", "Noc (18:00 až 05:59)"},
    {"QCupsJobWidget", "Second Shift (16:00 to 23:59)", "Druhá zmena (16:00 až 23:59)"},
    {"QCupsJobWidget", "Third Shift (00:00 to 07:59)", "Tretia zmena (00:00 až 07:59)"},
    {"QCupsJobWidget", "Weekend (Saturday to Sunday)", "Víkend (sobota až nedeľa)"},
    {"QCupsJobWidget", "Specific Time", "V určenom čase"},
    {"QCupsJobWidget", "Billing information:", "Fakturačné údaje:"},
    {"QCupsJobWidget", "Job priority:", "Priorita úlohy:"},
    {"QCupsJobWidget", "Banner Pages", "Úvodné strany"},
    {"QCupsJobWidget", "Start:", "Začiatok:"},
    {"QCupsJobWidget", "End:", "Koniec:"},
    {"QCupsJobWidget", "None", "Žiadne"},
    {"QCupsJobWidget", "Standard", "Štandardné"},
    {"QCupsJobWidget", "Unclassified", "Neklasifikované"},
    {"QCupsJobWidget", "Confidential", "Dôverné"},
    {"QCupsJobWidget", "Classified", "Utajené"},
    {"QCupsJobWidget", "Secret", "Tajné"},
    {"QCupsJobWidget", "Top Secret", "Prísne tajné"},
    {"QAbstractFileIconProvider", "Folder", "Priečinok"},
    {"QAbstractFileIconProvider", "Drive", "Disková jednotka"},
};

// Answers from the table above, whatever the disambiguation; silent (a null text) for anything else.
class TToolkitSupplement : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (!context || !source)
            return {};
        for (const ToolkitText& text : kTexts) {
            if (std::strcmp(text.context, context) == 0 && std::strcmp(text.source, source) == 0)
                return QString::fromUtf8(text.slovak);
        }
        return {};
    }
};
} // namespace

bool LoadToolkitTranslation() {
    static bool loaded = [] {
        // Translators are asked last-installed-first: the supplement goes in first, so the toolkit's
        // own Slovak answers wherever it has a text.
        QCoreApplication::installTranslator(new TToolkitSupplement(QCoreApplication::instance()));
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QStringLiteral("qtbase_sk"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
        return false;
    }();
    return loaded;
}
