#include <gtest/gtest.h>

#include "Messages.h"
#include "ProgramGlobals.h"
#include "TestSupport.h"

namespace {
QString UntranslatedText(const QString& index) {
    return "Program cannnot translate this message. Please contact us by e-mail (\"podpora@molvek.sk\") "
           "and insert into mail this: \r\r\"msg[" +
           index + "]\"";
}
} // namespace

TEST(Messages, GetMsgInsideAndOutsideTheTableAndAtMostOneMarkIsStrippedAtEachEnd) {
    MessageTable = QStringList{"%x%"}; // a short table is grown, not overrun
    InitDefaultMessages();
    EXPECT_EQ(MessageTable.size(), 21);
    EXPECT_EQ(QStringList({GetMsg(14), GetMsg(7), GetMsg(9), GetMsg(21), GetMsg(-1)}),
              QStringList({"Prosím vyberte jazyk.", "", "\" zo stránky ( ", UntranslatedText("21"),
                           UntranslatedText("-1")}));
    MessageTable[14] = "Please choose a language."; // a language file's value without marks
    MessageTable[15] = "%%";
    EXPECT_EQ(GetMsg(14) + "|" + GetMsg(15), "Please choose a language.|");
    MessageTable.clear();
    EXPECT_EQ(GetMsg(0), UntranslatedText("0"));
    QStringList stripped;
    for (const QString text : {"", "%", "%%", "%%%", "%%text%%", "%text", "text%", "%50% zľava%"})
        stripped << StripPercentMarks(text);
    EXPECT_EQ(stripped, QStringList({"", "", "", "%", "%text%", "text", "text", "50% zľava"}));
}

TEST(Messages, BoxesPassTextCaptionFlagsAndAnswer) {
    ProgramTitle = "Vozopis";
    MessageBoxRecorder boxes;
    boxes.Answer(ID_YES);
    boxes.Answer(ID_NO);
    EXPECT_EQ(ShowMessageBox("Zmazať?", "Vodiči", MB_YESNO_QUESTION), ID_YES);
    EXPECT_EQ(ShowAppMessageBox("Naozaj?", MB_YESNO_WARNING), ID_NO);
    const QString head = "Nastala neočakávaná chyba č. #00002.\rChybu prosím nahláste na e-mail "
                         "(\"podpora@molvek.sk\") . Skontrolujte aktuálnosť verzie vášho programu na "
                         "\"https://www.molvek.sk/\". ";
    ShowErrorCode("#00002", "", "Aktualizácia");
    ShowErrorCode("#00002", "Súbor chýba", "Aktualizácia");
    EXPECT_EQ(boxes.Shown(), Boxes({{"Zmazať?", "Vodiči", 36},
                                    {"Naozaj?", "Vozopis", 52},
                                    {head, "Aktualizácia", 16},
                                    {head + "\r\rSúbor chýba", "Aktualizácia", 16}}));
}

TEST(Messages, ACharacterWindows1250CannotHoldIsRefusedWithTheBoxOfItsRefusalAndFoundWhole) {
    ProgramTitle = "Vozopis";
    MessageBoxRecorder boxes;
    const TTextSpan pair = RefuseUnstorableChar(QStringLiteral("Auto 🚗"), "Poznámka", "odoslať");
    const TTextSpan none = RefuseUnstorableChar(QStringLiteral("Žilina – Nitra"), "Mesto");
    const TTextSpan customer = RefuseUnstorableChar(
        QStringLiteral("Jørgen"), {"Zákazník s ID \"7\" v programe \"Zivena - Tamrik\"", "osoba", "uložiť",
                                   "Zákazníka nie je možné importovať.", 64});
    EXPECT_EQ(QList<int>({pair.at, pair.size, none.at, none.size, customer.at, customer.size}),
              QList<int>({5, 2, -1, 0, 1, 1}));
    EXPECT_EQ(
        boxes.Shown(),
        Boxes({{QStringLiteral("Pole \"Poznámka\" obsahuje znak \"🚗\", ktorý nie je možné odoslať. "
                               "Nahraďte ho prosím iným znakom."),
                "Vozopis", 48},
               {"Zákazník s ID \"7\" v programe \"Zivena - Tamrik\" obsahuje v poli \"osoba\" znak \"ø\", "
                "ktorý nie je možné uložiť. Zákazníka nie je možné importovať.",
                "Vozopis", 64}}));
}
