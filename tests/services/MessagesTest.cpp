#include <gtest/gtest.h>

#include "Messages.h"
#include "ProgramGlobals.h"
#include "TestSupport.h"

namespace {
class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageTable = QStringList(21, QString());
        InitDefaultMessages();
        ProgramTitle = "Vozopis";
    }
    void TearDown() override { MessageTable.clear(); }
};

QString UntranslatedText(const QString& index) {
    return "Program cannnot translate this message. Please contact us by e-mail (\"podpora@molvek.sk\") "
           "and insert into mail this: \r\r\"msg[" +
           index + "]\"";
}
} // namespace

TEST_F(MessagesTest, ShortTableIsGrownNotOverrun) {
    MessageTable = QStringList{"%x%"};
    InitDefaultMessages();
    EXPECT_EQ(MessageTable.size(), 21);
    EXPECT_EQ(GetMsg(14), "Prosím vyberte jazyk.");
}

TEST(StripPercentMarks, RemovesAtMostOneMarkAtEachEnd) {
    const QStringList texts{"", "%", "%%", "%%%", "%%text%%", "%text", "text%", "%50% zľava%"};
    const QStringList stripped{"", "", "", "%", "%text%", "text", "text", "50% zľava"};
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(StripPercentMarks(texts[i]), stripped[i]) << texts[i].toStdString();
}

TEST_F(MessagesTest, GetMsgInsideAndOutsideTheTable) {
    EXPECT_EQ(GetMsg(14), "Prosím vyberte jazyk.");
    EXPECT_EQ(GetMsg(7), "");
    EXPECT_EQ(GetMsg(9), "\" zo stránky ( ");
    EXPECT_EQ(GetMsg(21), UntranslatedText("21"));
    EXPECT_EQ(GetMsg(-1), UntranslatedText("-1"));

    MessageTable[14] = "Please choose a language."; // a language file's value without marks
    MessageTable[15] = "%%";
    EXPECT_EQ(GetMsg(14), "Please choose a language.");
    EXPECT_EQ(GetMsg(15), "");
    MessageTable.clear();
    EXPECT_EQ(GetMsg(0), UntranslatedText("0"));
}

TEST_F(MessagesTest, BoxesPassTextCaptionFlagsAndAnswer) {
    MessageBoxRecorder boxes;
    boxes.Answer(ID_YES);
    boxes.Answer(ID_NO);
    EXPECT_EQ(ShowMessageBox("Zmazať?", "Vodiči", MB_YESNO_QUESTION), ID_YES);
    EXPECT_EQ(ShowAppMessageBox("Naozaj?", MB_YESNO_WARNING), ID_NO);
    ShowError("Chyba", "Titulok");
    ShowAppError("Zlá hodnota");

    EXPECT_EQ(boxes.Shown(), Boxes({{"Zmazať?", "Vodiči", 36},
                                    {"Naozaj?", "Vozopis", 52},
                                    {"Chyba", "Titulok", 16},
                                    {"Zlá hodnota", "Vozopis", 16}}));
}

TEST_F(MessagesTest, ErrorCodeTextWithAndWithoutDetail) {
    const QString head = "Nastala neočakávaná chyba č. #00002.\r"
                         "Chybu prosím nahláste na e-mail (\"podpora@molvek.sk\") . Skontrolujte aktuálnosť "
                         "verzie vášho programu na \"https://www.molvek.sk/\". ";
    MessageBoxRecorder boxes;
    ShowErrorCode("#00002", "", "Aktualizácia");
    ShowErrorCode("#00002", "Súbor chýba", "Aktualizácia");

    EXPECT_EQ(boxes.Shown(),
              Boxes({{head, "Aktualizácia", 16}, {head + "\r\rSúbor chýba", "Aktualizácia", 16}}));
}
